#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class QuestionDialog;
}

// Asks for the name of a new macro or the new name of the selected one.
// The name is shaped while it is typed (no punctuation that would make an
// odd file name, no Shift-characters, spaces dropped when one is typed at
// the end, at most 30 bytes of UTF-8) and checked once more on OK, so a
// pasted name is held to the same rule. The opener reads `macroName`
// afterwards: empty when the user gave up.
class QuestionDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QuestionDialog(QWidget *parent = nullptr);
    ~QuestionDialog() override;

    // The prompt for a rename (true) or for a new macro (false).
    void setPrompt(bool rename);

    QString macroName;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

public slots:
    void WindowClosedLan();
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    void SlotAllLanguage(int index);
    void on_lineEdit_textEdited(const QString &text);

private:
    std::unique_ptr<Ui::QuestionDialog> ui;
    QString picturePath;
    QString selectFirstText;
    QString inputNameText;
};
