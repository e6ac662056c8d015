#pragma once

// The button page's notices: the one left click a mouse must keep, the
// macro option with no macro to bind, and a key combination of more than
// three keys. Each is opened on the stack, placed with look::centreOn and
// run with exec(); none hands a result back.

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class LeftButtonOnly;
class MakeMacro;
class GroupMaxThree;
} // namespace Ui

// The selected button is the only one holding the left click. No OK button:
// the close button or Escape closes it.
class LeftButtonOnly : public QDialog
{
    Q_OBJECT

public:
    explicit LeftButtonOnly(QWidget *parent = nullptr);
    ~LeftButtonOnly() override;

    // Runs the notice over the button page `opener`, placed as the page's
    // dialogs are, and returns when it was closed.
    static void showOver(QWidget *opener);

public slots:
    void on_CloseButton_clicked();
    void SlotAllLanguage(int index);

private:
    std::unique_ptr<Ui::LeftButtonOnly> ui;
    QString picturePath;
};

// The macro option was chosen while the page's macro list is empty.
class MakeMacro : public QDialog
{
    Q_OBJECT

public:
    explicit MakeMacro(QWidget *parent = nullptr);
    ~MakeMacro() override;

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    void SlotAllLanguage(int index);

private:
    std::unique_ptr<Ui::MakeMacro> ui;
    QString picturePath;
};

// A key combination of more than three keys, modifiers included, was
// confirmed.
class GroupMaxThree : public QDialog
{
    Q_OBJECT

public:
    explicit GroupMaxThree(QWidget *parent = nullptr);
    ~GroupMaxThree() override;

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    void SlotAllLanguage(int index);

private:
    std::unique_ptr<Ui::GroupMaxThree> ui;
    QString picturePath;
};
