#pragma once

// The button-debounce chooser of the button page: a frame holding one combo
// of 31 times (0..30 ms). Set from device data with setIndex(); a choice of
// the user's is written to the mouse, and put back when the mouse refuses it.
// Both announce the chosen text (SigDebunce) for the summary panel.

#include <QFrame>

#include <memory>

class QComboBox;
namespace Ui {
class DebounceTime;
}

class DebounceTime : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kItemCount = 31;

    explicit DebounceTime(QWidget *parent = nullptr);
    ~DebounceTime() override;

    // Shows v as the mouse's value. When the shown value changes, the change
    // handler runs as for the user's choice (it sends only while the page may
    // send); the new text is announced in every case. A value the box does
    // not offer is shown as the nearest one it does, and never sent back.
    void setIndex(int v);
    // Item i reads i followed by `suffix`; nothing is sent or announced.
    void setItemText(int i, const QString &suffix);

    QComboBox *comboBox() const;
    // The value the mouse holds as far as the box knows: put back when a
    // write is refused. The first item until the mouse says otherwise.
    int lastIndex() const { return remembered; }

private slots:
    void on_Debunce_currentIndexChanged(int index);

private:
    std::unique_ptr<Ui::DebounceTime> ui;
    int remembered = 0;
};
