#pragma once

// The key-combination dialog: up to three keys, modifiers included. The
// ordinary keys come from the keyboard capture and are joined by "+" in the
// field; the modifiers are ticked as check boxes. The opener runs it with
// exec() and reads `accepted` and `keyText` ("Ctrl+Alt+Del") afterwards.
//
// Capture rules: a key counts on its first press (a held key's repeats and a
// second press of the same key are ignored); a combination must be entered
// within 2000 ms of its first key, a later key starts a new one; a key after
// three names starts a new one too. The modifier keys themselves add nothing
// (they are the check boxes).
//
// OK takes a combination only: at least one key (a ticked modifier counts),
// with the field as the capture left it or, when it was changed by hand
// (pasted), naming whole keys of the key table. Anything else keeps the
// dialog open with a notice.

#include "platform/keyhook/keyboardhook.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QString>

#include <memory>

namespace Ui {
class GroupKey;
}

class GroupKey : public QDialog
{
    Q_OBJECT

public:
    explicit GroupKey(QWidget *parent = nullptr);
    ~GroupKey() override;

    bool accepted = false;
    QString keyText;

    // Whether `name` is one key's name as the combination capture gives it.
    static bool isCombinationKeyName(const QString &name);

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_2_clicked();
    void on_NewHong_clicked();
    // One key message of the capture: the virtual key, whether it is a press
    // and whether it repeats the message before.
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);
    void on_lineEdit_textEdited(const QString &text);
    void SlotAllLanguage(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void removeHook();
    void captureKey(int keyCode, bool downOrUp, bool aotu);
    bool fieldIsAnswer(const QString &field) const;

    KeyboardHook hook{KeyboardHook::User::KeyCombination};
    int plusCount = 0;
    int lastKey = -1;
    bool firstKey = true;
    QElapsedTimer keyTimer;
    // The field's text as the capture last left it.
    QString capturedText;
    std::unique_ptr<Ui::GroupKey> ui;
    QString picturePath;
};
