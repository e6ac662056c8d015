#pragma once

#include "platform/keyhook/keyboardhook.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class addKey;
}

// Asks for one key of the macro event list: the user presses it. The
// dialog captures keys through its own keyboard hook from construction
// until it ends, so Escape, F12, Enter, Tab and the modifiers can be taken
// too; the field shows the key of the latest key message. The opener reads
// `accepted` and `keyName` after exec() (which returns Accepted exactly when
// `accepted` is true).
//
// OK takes a key only: the captured key's name, or a key name put into the
// field by hand (pasted) when it names one key of the key table whole.
// Anything else keeps the dialog open with a notice.
class addKey : public QDialog
{
    Q_OBJECT

public:
    explicit addKey(QWidget *parent = nullptr);
    ~addKey() override;

    bool accepted = false;
    QString keyName;

    // Whether `name` is the name of one key the capture can give.
    static bool isCaptureName(const QString &name);

protected:
    void keyPressEvent(QKeyEvent *event) override;

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);
    void SlotAllLanguage(int index);

private:
    std::unique_ptr<KeyboardHook> m_hook;
    std::unique_ptr<Ui::addKey> ui;
    QString picturePath;
    // The latest key message named a key of the table.
    bool m_captured = false;
};
