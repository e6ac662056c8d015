#pragma once

// The button-debounce chooser of the button page: a frame holding one combo
// of 31 times (0..30 ms). Set from device data with setIndex(); a choice of
// the user's is written to the mouse, and put back when the mouse refuses it.
// Both announce the chosen text (SigDebunce) for the summary panel.

#include <QFrame>

class QComboBox;

class DebounceTime : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kItemCount = 31;

    explicit DebounceTime(QWidget *parent = nullptr);
    ~DebounceTime() override;

    // Shows v as the mouse's value. When the shown value changes, the change
    // handler runs as for the user's choice (it sends only while the page may
    // send); the new text is announced in every case.
    void setIndex(int v);
    // Item i reads i followed by `suffix`; nothing is sent or announced.
    void setItemText(int i, const QString &suffix);

    QComboBox *comboBox() const { return combo; }
    int lastIndex() const { return remembered; }

private slots:
    void onIndexChanged(int v);

private:
    QComboBox *combo;
    int remembered = 0;
};
