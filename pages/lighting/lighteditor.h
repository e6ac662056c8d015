#pragma once

// The pieces the three light editors share (the mouse light panel, the
// receiver light bar panel and the lighting-mode dialog): the mode layouts,
// the preset colours, the look of their controls, and the colour editor
// itself.

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QComboBox;
class QLabel;
class QPoint;
class QSlider;
class QSpinBox;
class QToolButton;
class QWidget;

namespace lighting {

// Light modes in the order of the mode lists: 0 off, 1 colour flow,
// 2 single-colour breathing, 3 steady colour, 4 neon, 5 mixed-colour
// breathing, 6 the extra effect.
constexpr int kLightModeCount = 7;
constexpr int kPresetCount = 14;

// What a mode lets the user set. Off sets nothing (grey lines stand in for
// the sliders).
struct ModeLayout
{
    bool brightness = false;
    bool speed = false;
    bool colour = false;
};
// False for an index outside 0..6: the layout then stays as it is.
bool modeLayout(int mode, ModeLayout *layout);

// Shows what `mode` lets the user set: the brightness and speed controls, or
// the grey line standing in for each, and the colour area. False, and nothing
// changed, for an index outside 0..6.
struct LayoutWidgets
{
    QList<QWidget *> brightness;
    QWidget *brightnessLine = nullptr;
    QList<QWidget *> speed;
    QWidget *speedLine = nullptr;
    QList<QWidget *> colour;
};
bool showModeLayout(int mode, const LayoutWidgets &widgets);

// Preset colour A..N (0..13); black outside.
QColor presetColour(int preset);

// The theme's mode list: field, drop-down button, popup list and item height.
void styleModeList(QComboBox *list, const QString &pictureDir);
// A light slider: white groove, the part left of the handle in the slider
// colour, `handleImage` from `pictureDir`.
void styleSlider(QSlider *slider, const QString &pictureDir, const QString &handleImage = QStringLiteral("HuaKuai.png"),
                 int handleOverhang = 0);
// A read-only number box beside a slider.
void styleValueBox(QSpinBox *box);
// The swatch's style for a colour (always valid style-sheet text).
QString swatchSheet(const QColor &colour);

// The colour part of a light editor: three boxes 0..255 with a step button
// on each side, a colour board to pick from, fourteen presets and a preview
// swatch.
//
// Each settled choice goes to `send` once with the whole colour: one step, one
// preset, one pick, or a typed number once it is committed (Return or leaving
// the box), never one record per digit or per channel. A choice equal to the
// colour shown sends nothing. When `send` answers false the write was
// refused: the boxes and the swatch go back to `held()`, the colour the
// device holds.
//
// `guard` runs before a step, a preset or a pick; false stops it (the device
// is silent and the notice was raised).
class ColourEditor : public QObject
{
    Q_OBJECT

public:
    struct Widgets
    {
        QSpinBox *red = nullptr;
        QSpinBox *green = nullptr;
        QSpinBox *blue = nullptr;
        QToolButton *addRed = nullptr;
        QToolButton *addGreen = nullptr;
        QToolButton *addBlue = nullptr;
        QToolButton *reduceRed = nullptr;
        QToolButton *reduceGreen = nullptr;
        QToolButton *reduceBlue = nullptr;
        QLabel *board = nullptr;
        QLabel *preview = nullptr;
        QList<QToolButton *> presets; // A..N
    };
    using Send = std::function<bool(const QColor &)>;
    using Guard = std::function<bool()>;
    using Held = std::function<QColor()>;

    ColourEditor(QWidget *panel, const Widgets &widgets, Send send, Guard guard, Held held);

    // The colour area of a light editor's form, by object name: the boxes,
    // step buttons and presets are "RSpinBox", "AddR", "ReduceR",
    // "toolButtonColorA".."toolButtonColorN" followed by `suffix`; the board
    // and the swatch are named as given.
    static Widgets widgetsOf(QWidget *form, const QString &suffix, const char *board, const char *preview);

    // Pictures of the board, swatch, step and preset buttons, and the look of
    // the three boxes.
    void style(const QString &pictureDir);

    // Shows a colour without sending: boxes (signals blocked) and swatch.
    void showColour(const QColor &colour);
    QColor colour() const;
    void setBoxSignalsBlocked(bool blocked);

    // A user's choice, after the guard: shown, then sent once.
    void choose(const QColor &colour);
    // Channel 0 red, 1 green, 2 blue; one step up (+1) or down (-1).
    void step(int channel, int delta);
    void choosePreset(int preset);
    // The colour under the cursor, from the screen it is on.
    void pickFromScreen();

    // A mouse press on the panel at `pos` (panel coordinates): a press
    // outside every box takes the focus from them (`otherBoxes` too), and a
    // press on the board picks.
    void press(const QPoint &pos, const QList<QWidget *> &otherBoxes = {});

    // Every widget of the colour area but the headings.
    QList<QWidget *> controls() const;

private:
    void boxCommitted();
    void send(const QColor &previous);
    QSpinBox *box(int channel) const;

    QWidget *m_panel;
    Widgets m_w;
    Send m_send;
    Guard m_guard;
    Held m_held;
    QColor m_shown;
};

} // namespace lighting
