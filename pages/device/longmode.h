#pragma once

#include <QFrame>

#include <memory>

namespace Ui {
class LongMode;
}

// The receiver's long-range mode: one check box. It is not part of the
// mouse's record; a change goes straight to the receiver.
class LongMode : public QFrame
{
    Q_OBJECT

public:
    explicit LongMode(QWidget *parent = nullptr);
    ~LongMode() override;

    // Shows the state the receiver reported. Nothing is written back: the
    // state came from the receiver, and the report that carried it waits for
    // this page meanwhile.
    void setBoxChecked(bool on);
    bool boxChecked() const;

public slots:
    void SlotAllLanguage(int index);
    void on_checkBox_toggled(bool checked);

private:
    std::unique_ptr<Ui::LongMode> ui;
    QString pictureDir;
};
