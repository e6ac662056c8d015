#pragma once

// Second layouts of the button debounce time (record byte 6, milliseconds):
// DebouncetimeB with a slider, DebouncetimeC with plus and minus buttons,
// each beside a read-only number box. They write what they show through the
// same setter as the button page's debounce box and, unlike it, open no
// notice and announce nothing. A host shows the mouse's value with
// setDebounceValue() and gives the unit.

#include <QFrame>

#include <memory>

class QSpinBox;

namespace Ui {
class DebouncetimeB;
class DebouncetimeC;
} // namespace Ui

// What both faces share: the value the mouse holds, the write and the way
// back when the mouse refuses.
class DebounceChoice : public QFrame
{
    Q_OBJECT

public:
    // The shortest debounce a face writes: 0 ms would let every bounce of a
    // switch through as a click.
    static constexpr int kLowestMs = 1;
    static constexpr int kHighestMs = 20;

    // Shows `milliseconds` as the mouse's value (outside the face's range as
    // the nearer end); nothing is sent.
    void setDebounceValue(int milliseconds);
    void setUnitSuffix(const QString &suffix);

    // The value the mouse holds as far as the face knows.
    int debounceValue() const { return m_value; }

protected:
    // `lowestShown`: the least value the face's number box shows.
    DebounceChoice(QWidget *parent, int lowestShown);
    // The face's number box.
    void setUp(QSpinBox *box);
    // Puts `milliseconds` on the face's controls without sending it.
    virtual void showValue(int milliseconds) = 0;
    // The user chose `milliseconds` (already on screen): written when the
    // program is ready; a refused write shows the mouse's value again.
    void write(int milliseconds);

    QSpinBox *m_box = nullptr;

private:
    int m_lowestShown;
    int m_value;
};

class DebouncetimeB : public DebounceChoice
{
    Q_OBJECT

public:
    explicit DebouncetimeB(QWidget *parent = nullptr);
    ~DebouncetimeB() override;

private slots:
    void on_Debunce_sliderMoved(int position);
    void on_Debunce_valueChanged(int value);

private:
    void showValue(int milliseconds) override;

    std::unique_ptr<Ui::DebouncetimeB> ui;
    QString pictureDir;
};

class DebouncetimeC : public DebounceChoice
{
    Q_OBJECT

public:
    explicit DebouncetimeC(QWidget *parent = nullptr);
    ~DebouncetimeC() override;

private slots:
    void on_AddLevelA_clicked();
    void on_ReduceLevelA_clicked();

private:
    void showValue(int milliseconds) override;

    std::unique_ptr<Ui::DebouncetimeC> ui;
    QString pictureDir;
};
