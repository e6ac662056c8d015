#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class QuestiondialogB;
class MouseOffLine;
class ContainReset;
class UpDateWarning;
class LessThree;
} // namespace Ui

// Two identical devices are attached.
class QuestiondialogB : public QDialog
{
    Q_OBJECT

public:
    explicit QuestiondialogB(QWidget *parent = nullptr);
    ~QuestiondialogB() override;

public slots:
    void SlotAllLanguage(int index);
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::QuestiondialogB> ui;
    QString pictureDir;
};

// The mouse does not answer (offlineNoticeKind 0) or the pages were not
// refilled in time (1). Closed from outside by SigCloseOffOnline().
class MouseOffLine : public QDialog
{
    Q_OBJECT

public:
    explicit MouseOffLine(QWidget *parent = nullptr);
    ~MouseOffLine() override;

public slots:
    void SlotAllLanguage(int index);
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::MouseOffLine> ui;
    QString pictureDir;
};

// A question with OK and Cancel; `accepted` tells the answer.
class ContainReset : public QDialog
{
    Q_OBJECT

public:
    explicit ContainReset(QWidget *parent = nullptr);
    ~ContainReset() override;

    void setText(const QString &text);

    bool accepted = false;

public slots:
    void SlotAllLanguage(int index);
    void on_OK_clicked();
    void on_Cancel_clicked();
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::ContainReset> ui;
    QString pictureDir;
};

// A message whose text the opener supplies.
class UpDateWarning : public QDialog
{
    Q_OBJECT

public:
    explicit UpDateWarning(QWidget *parent = nullptr);
    ~UpDateWarning() override;

    void setText(const QString &text);

public slots:
    void SlotAllLanguage(int index);
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::UpDateWarning> ui;
    QString pictureDir;
};

// Says that what the user just did could not be saved because the folder
// that keeps it is full or read-only; waits to be closed. One notice per
// action, wherever the action's file is written.
void showNotSavedNotice(QWidget *over, int dx = 0, int dy = 0);

// A short debounce time was set.
class LessThree : public QDialog
{
    Q_OBJECT

public:
    explicit LessThree(QWidget *parent = nullptr);
    ~LessThree() override;

public slots:
    void SlotAllLanguage(int index);
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::LessThree> ui;
    QString pictureDir;
};
