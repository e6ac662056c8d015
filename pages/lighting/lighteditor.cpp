#include "pages/lighting/lighteditor.h"

#include "app/look.h"
#include "platform/screen.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPoint>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>

namespace lighting {

bool modeLayout(int mode, ModeLayout *layout)
{
    switch (mode) {
    case 0:
        *layout = {false, false, false};
        return true;
    case 1:
    case 4:
    case 5:
        *layout = {true, true, false};
        return true;
    case 2:
        *layout = {true, true, true};
        return true;
    case 3:
        *layout = {true, false, true};
        return true;
    case 6:
        *layout = {true, false, false};
        return true;
    default:
        return false;
    }
}

bool showModeLayout(int mode, const LayoutWidgets &widgets)
{
    ModeLayout layout;
    if (!modeLayout(mode, &layout))
        return false;
    for (QWidget *w : widgets.brightness)
        w->setVisible(layout.brightness);
    widgets.brightnessLine->setVisible(!layout.brightness);
    for (QWidget *w : widgets.speed)
        w->setVisible(layout.speed);
    widgets.speedLine->setVisible(!layout.speed);
    for (QWidget *w : widgets.colour)
        w->setVisible(layout.colour);
    return true;
}

QColor presetColour(int preset)
{
    static const int kPresets[kPresetCount][3] = {
        {255, 0, 0},   {0, 255, 255},  {0, 255, 0},   {255, 0, 255},   {255, 255, 0},  {255, 80, 0},   {0, 0, 255},
        {227, 0, 127}, {46, 166, 223}, {96, 25, 133}, {255, 255, 255}, {139, 178, 36}, {255, 155, 51}, {208, 113, 173},
    };
    if (preset < 0 || preset >= kPresetCount)
        return QColor(0, 0, 0);
    return QColor(kPresets[preset][0], kPresets[preset][1], kPresets[preset][2]);
}

void styleModeList(QComboBox *list, const QString &pictureDir)
{
    auto *view = new QListView(list);
    list->setView(view);
    look::setSheet(list, look::comboSheet(pictureDir));
    look::setSheet(view, look::comboListSheet());
}

void styleSlider(QSlider *slider, const QString &pictureDir, const QString &handleImage, int handleOverhang)
{
    look::setSheet(slider, look::sliderSheet(pictureDir, handleImage, look::Role::Slider, handleOverhang));
}

void styleValueBox(QSpinBox *box)
{
    look::setSheet(box, look::colorSheet(QStringLiteral("QSpinBox"), look::Role::Label,
                                         QStringLiteral("background-color: transparent;border: 0px;")));
}

QString swatchSheet(const QColor &colour)
{
    return QStringLiteral("QLabel{background-color: %1;border: 2px solid %2;}")
        .arg(look::rgb(colour), look::rgb(QColor(220, 220, 220)));
}

namespace {

template <typename T>
T *named(QWidget *form, const QString &name)
{
    T *found = form->findChild<T *>(name);
    // A form without one of the editor's widgets is a build mistake, not a
    // state to carry on in.
    if (!found)
        qFatal("light editor: no widget %s", qPrintable(name));
    return found;
}

} // namespace

ColourEditor::Widgets ColourEditor::widgetsOf(QWidget *form, const QString &suffix, const char *board,
                                              const char *preview)
{
    Widgets w;
    w.red = named<QSpinBox>(form, QStringLiteral("RSpinBox") + suffix);
    w.green = named<QSpinBox>(form, QStringLiteral("GSpinBox") + suffix);
    w.blue = named<QSpinBox>(form, QStringLiteral("BSpinBox") + suffix);
    w.addRed = named<QToolButton>(form, QStringLiteral("AddR") + suffix);
    w.addGreen = named<QToolButton>(form, QStringLiteral("AddG") + suffix);
    w.addBlue = named<QToolButton>(form, QStringLiteral("AddB") + suffix);
    w.reduceRed = named<QToolButton>(form, QStringLiteral("ReduceR") + suffix);
    w.reduceGreen = named<QToolButton>(form, QStringLiteral("ReduceG") + suffix);
    w.reduceBlue = named<QToolButton>(form, QStringLiteral("ReduceB") + suffix);
    w.board = named<QLabel>(form, QLatin1String(board));
    w.preview = named<QLabel>(form, QLatin1String(preview));
    for (int preset = 0; preset < kPresetCount; ++preset)
        w.presets << named<QToolButton>(form, QStringLiteral("toolButtonColor") + QChar('A' + preset) + suffix);
    return w;
}

ColourEditor::ColourEditor(QWidget *panel, const Widgets &widgets, Send send, Guard guard, Held held)
    : QObject(panel), m_panel(panel), m_w(widgets), m_send(std::move(send)), m_guard(std::move(guard)),
      m_held(std::move(held))
{
    m_shown = colour();
    for (int channel = 0; channel < 3; ++channel) {
        // A typed number counts once it is committed, not per digit.
        box(channel)->setKeyboardTracking(false);
        connect(box(channel), QOverload<int>::of(&QSpinBox::valueChanged), this, &ColourEditor::boxCommitted);
    }
    const QToolButton *adds[3] = {m_w.addRed, m_w.addGreen, m_w.addBlue};
    const QToolButton *reduces[3] = {m_w.reduceRed, m_w.reduceGreen, m_w.reduceBlue};
    for (int channel = 0; channel < 3; ++channel) {
        connect(adds[channel], &QToolButton::clicked, this, [this, channel] { step(channel, +1); });
        connect(reduces[channel], &QToolButton::clicked, this, [this, channel] { step(channel, -1); });
    }
    for (int preset = 0; preset < m_w.presets.size(); ++preset)
        connect(m_w.presets[preset], &QToolButton::clicked, this, [this, preset] { choosePreset(preset); });
}

void ColourEditor::style(const QString &pictureDir)
{
    const QString boxSheet = look::colorSheet(QStringLiteral("QSpinBox"), look::Role::LineEditSecond,
                                              QStringLiteral("background-color: black;border: 1px solid gray;"))
                             + QStringLiteral("QSpinBox:hover{background-color: transparent;}");
    for (int channel = 0; channel < 3; ++channel)
        look::setSheet(box(channel), boxSheet);
    for (QToolButton *b : {m_w.addRed, m_w.addGreen, m_w.addBlue})
        look::setSheet(b, look::imageSheet(QLatin1Char('#') + b->objectName(), pictureDir,
                                           look::Images(QStringLiteral("Add.png"))));
    for (QToolButton *b : {m_w.reduceRed, m_w.reduceGreen, m_w.reduceBlue})
        look::setSheet(b, look::imageSheet(QLatin1Char('#') + b->objectName(), pictureDir,
                                           look::Images(QStringLiteral("Reduce.png"))));
    for (int preset = 0; preset < m_w.presets.size(); ++preset) {
        QToolButton *b = m_w.presets[preset];
        const QString image = QStringLiteral("Color%1.png").arg(QChar('A' + preset));
        look::setSheet(b, look::imageSheet(QLatin1Char('#') + b->objectName(), pictureDir, look::Images(image),
                                           look::Fit::Stretch));
    }
    look::setSheet(m_w.board, look::imageSheet(QLatin1Char('#') + m_w.board->objectName(), pictureDir,
                                               look::Images(QStringLiteral("ColorBoard.png")), look::Fit::Stretch));
    look::setSheet(m_w.preview, look::imageSheet(QLatin1Char('#') + m_w.preview->objectName(), pictureDir,
                                                 look::Images(QStringLiteral("PreviewColor.png")), look::Fit::Stretch));
}

QSpinBox *ColourEditor::box(int channel) const
{
    return channel == 0 ? m_w.red : channel == 1 ? m_w.green : m_w.blue;
}

QColor ColourEditor::colour() const
{
    return QColor(m_w.red->value(), m_w.green->value(), m_w.blue->value());
}

void ColourEditor::setBoxSignalsBlocked(bool blocked)
{
    for (int channel = 0; channel < 3; ++channel)
        box(channel)->blockSignals(blocked);
}

void ColourEditor::showColour(const QColor &shown)
{
    const QColor c = shown.isValid() ? shown : QColor(0, 0, 0);
    const bool wasBlocked[3] = {m_w.red->blockSignals(true), m_w.green->blockSignals(true),
                                m_w.blue->blockSignals(true)};
    m_w.red->setValue(c.red());
    m_w.green->setValue(c.green());
    m_w.blue->setValue(c.blue());
    for (int channel = 0; channel < 3; ++channel)
        box(channel)->blockSignals(wasBlocked[channel]);
    m_shown = colour();
    look::setSheet(m_w.preview, swatchSheet(m_shown));
}

void ColourEditor::choose(const QColor &chosen)
{
    if (!chosen.isValid() || chosen.rgb() == m_shown.rgb())
        return;
    const QColor previous = m_shown;
    showColour(chosen);
    send(previous);
}

void ColourEditor::send(const QColor &)
{
    if (!m_send(m_shown))
        showColour(m_held());
}

void ColourEditor::boxCommitted()
{
    const QColor now = colour();
    if (now.rgb() == m_shown.rgb())
        return;
    const QColor previous = m_shown;
    m_shown = now;
    look::setSheet(m_w.preview, swatchSheet(now));
    send(previous);
}

void ColourEditor::step(int channel, int delta)
{
    if (m_guard && !m_guard())
        return;
    QSpinBox *b = box(channel);
    const int next = qBound(b->minimum(), b->value() + delta, b->maximum());
    if (next == b->value())
        return;
    QColor c = colour();
    if (channel == 0)
        c.setRed(next);
    else if (channel == 1)
        c.setGreen(next);
    else
        c.setBlue(next);
    choose(c);
}

void ColourEditor::choosePreset(int preset)
{
    if (m_guard && !m_guard())
        return;
    choose(presetColour(preset));
}

void ColourEditor::pickFromScreen()
{
    if (m_guard && !m_guard())
        return;
    const QColor under = screen::colorAt(screen::cursorPos());
    // No pixel under the cursor (no screen there, a failed grab): the colour
    // stays as it is.
    if (!under.isValid())
        return;
    choose(QColor(under.red(), under.green(), under.blue()));
}

void ColourEditor::press(const QPoint &pos, const QList<QWidget *> &otherBoxes)
{
    QList<QWidget *> boxes = {m_w.red, m_w.green, m_w.blue};
    boxes += otherBoxes;
    bool onBox = false;
    for (QWidget *w : boxes) {
        if (w && w->isVisible() && w->geometry().contains(w->parentWidget()->mapFrom(m_panel, pos)))
            onBox = true;
    }
    if (!onBox) {
        for (QWidget *w : boxes) {
            if (w)
                w->clearFocus();
        }
        m_panel->setFocus(Qt::OtherFocusReason);
    }
    QWidget *board = m_w.board;
    if (board->isVisible() && board->geometry().contains(board->parentWidget()->mapFrom(m_panel, pos)))
        pickFromScreen();
}

QList<QWidget *> ColourEditor::controls() const
{
    QList<QWidget *> list = {m_w.red,       m_w.green,       m_w.blue,       m_w.addRed, m_w.addGreen, m_w.addBlue,
                             m_w.reduceRed, m_w.reduceGreen, m_w.reduceBlue, m_w.board,  m_w.preview};
    for (QToolButton *b : m_w.presets)
        list << b;
    return list;
}

} // namespace lighting
