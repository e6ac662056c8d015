#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class SameMacro;
class KeyNumberLimit;
class DeleteConfirm;
} // namespace Ui

// A new, renamed or imported macro would take a name the list already has.
class SameMacro : public QDialog
{
    Q_OBJECT

public:
    explicit SameMacro(QWidget *parent = nullptr);
    ~SameMacro() override;

public slots:
    void SlotAllLanguage(int index);
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::SameMacro> ui;
    QString picturePath;
};

// A recording reached the most events a macro can hold and was stopped.
class KeyNumberLimit : public QDialog
{
    Q_OBJECT

public:
    explicit KeyNumberLimit(QWidget *parent = nullptr);
    ~KeyNumberLimit() override;

public slots:
    void SlotAllLanguage(int index);
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::KeyNumberLimit> ui;
    QString picturePath;
};

// Asks before the selected macro is deleted; `confirmed` is true only after
// OK. The close button and Escape decline.
class DeleteConfirm : public QDialog
{
    Q_OBJECT

public:
    explicit DeleteConfirm(QWidget *parent = nullptr);
    ~DeleteConfirm() override;

    bool confirmed = false;

public slots:
    void SlotAllLanguage(int index);
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::DeleteConfirm> ui;
    QString picturePath;
};
