#include "app/look.h"

#include "app/configini.h"
#include "platform/dialogflags.h"
#include "platform/screen.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QToolButton>
#include <QToolTip>
#include <QVector>
#include <QWidget>

namespace look {

namespace {

struct RoleEntry
{
    Role role;
    const char *key;
    QRgb fallback; // the shipped theme
};

const RoleEntry kRoles[] = {
    {Role::Label, "LabelColor", qRgb(214, 222, 235)},
    {Role::Button, "ButtonColor", qRgb(236, 250, 255)},
    {Role::ComboText, "ComboxTextColor", qRgb(214, 222, 235)},
    {Role::ComboSelect, "ComboxSelectColor", qRgb(0, 122, 158)},
    {Role::ComboBackground, "ComboxBackGroundColor", qRgb(38, 43, 52)},
    {Role::Slider, "SliderColor", qRgb(0, 200, 255)},
    {Role::LineEdit, "LinEditColor", qRgb(214, 222, 235)},
    {Role::LineEditSecond, "LinEditColorSecond", qRgb(0, 200, 255)},
};

const RoleEntry &entry(Role role)
{
    for (const RoleEntry &e : kRoles)
        if (e.role == role)
            return e;
    return kRoles[0];
}

QString url(const QString &dir, const QString &image)
{
    return QStringLiteral("url(") + dir + image + QLatin1Char(')');
}

} // namespace

// ---------------------------------------------------------------------------

QString roleKey(Role role)
{
    return QLatin1String(entry(role).key);
}

QColor fallbackColor(Role role)
{
    return QColor(entry(role).fallback);
}

QColor colorFromList(const QStringList &items, Role role)
{
    if (items.size() < 3)
        return fallbackColor(role);
    int rgbValues[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int value = items.at(i).trimmed().toInt(&ok);
        if (!ok)
            return fallbackColor(role);
        rgbValues[i] = qBound(0, value, 255);
    }
    return QColor(rgbValues[0], rgbValues[1], rgbValues[2]);
}

QColor color(Role role)
{
    return colorFromList(ConfigIni::instance()->valueList(QStringLiteral("Option"), roleKey(role)), role);
}

QString rgb(const QColor &c)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

QString rgb(Role role)
{
    return rgb(color(role));
}

QString rgbNumbers(Role role)
{
    const QColor c = color(role);
    return QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
}

QColor color(Ink ink)
{
    switch (ink) {
    case Ink::White:
        return QColor(255, 255, 255);
    case Ink::Unavailable:
        return QColor(120, 126, 136);
    case Ink::UnreadStage:
        return QColor(255, 0, 0);
    }
    return QColor(255, 255, 255);
}

QString rgb(Ink ink)
{
    return rgb(color(ink));
}

// ---------------------------------------------------------------------------

QString pictureDir(const QString &page)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Picture/") + page + QLatin1Char('/');
}

// ---------------------------------------------------------------------------

QString colorSheet(const QString &selector, Role role, const QString &extra)
{
    return selector + QStringLiteral("{color: ") + rgb(role) + QLatin1Char(';') + extra + QLatin1Char('}');
}

QString disabledColorSheet(const QString &selector)
{
    return selector + QStringLiteral("{color: ") + rgb(QColor(115, 115, 115)) + QStringLiteral(";}");
}

QString fieldSheet(const QString &selector, Role role)
{
    return colorSheet(selector, role, QStringLiteral("background-color: rgb(63, 63, 63);border: none;"));
}

Images buttonImages(const QString &base, int states)
{
    Images images;
    images.normal = base + QStringLiteral(".png");
    if (states & Hover)
        images.hover = base + QStringLiteral("Hover.png");
    if (states & Click)
        images.pressed = base + QStringLiteral("Click.png");
    if (states & Checked)
        images.checked = base + QStringLiteral("Checked.png");
    return images;
}

QString imageSheet(const QString &selector, const QString &dir, const Images &images, Fit fit, const QString &textColor,
                   const QString &extra)
{
    const QString property =
        fit == Fit::Centre ? QStringLiteral("background-image: ") : QStringLiteral("border-image: ");
    QString sheet = selector + QStringLiteral("{border:0px;");
    if (fit == Fit::Centre)
        sheet += QStringLiteral("background-position:center;background-repeat:no-repeat;");
    if (!images.normal.isEmpty())
        sheet += property + url(dir, images.normal) + QLatin1Char(';');
    if (!textColor.isEmpty())
        sheet += QStringLiteral("color: ") + textColor + QLatin1Char(';');
    sheet += extra + QLatin1Char('}');
    const std::pair<const char *, const QString *> states[] = {
        {":hover", &images.hover}, {":pressed", &images.pressed}, {":checked", &images.checked}};
    for (const auto &state : states) {
        if (!state.second->isEmpty())
            sheet += selector + QLatin1String(state.first) + QLatin1Char('{') + property + url(dir, *state.second)
                     + QStringLiteral(";}");
    }
    return sheet;
}

QString checkBoxSheet(const QString &dir, const QString &checkedImage, const QString &uncheckedImage,
                      const QString &selector)
{
    return colorSheet(selector) + selector + QStringLiteral("::indicator:checked{image: ") + url(dir, checkedImage)
           + QStringLiteral(";}") + selector + QStringLiteral("::indicator:unchecked{image: ")
           + url(dir, uncheckedImage) + QStringLiteral(";}");
}

QString comboSheet(const QString &dir)
{
    const QString text = rgb(Role::ComboText);
    return QStringLiteral("QComboBox{border: 1px solid gray; color: %1; border-image: %2;}"
                          "QComboBox::drop-down:button{border-radius:5px; background:%3;}"
                          " QComboBox::down-arrow{image: %4; right: 8px; }"
                          "QComboBox::down-arrow:on{ image: %5;}"
                          "QComboBox QAbstractItemView::item{height:25px;}"
                          "QComboBox QAbstractItemView {outline: 0px solid gray; border: 1px  solid gray;color: %1;"
                          " border-image: %6;selection-background-color: %7; }")
        .arg(text, url(dir, QStringLiteral("ComboboxBack.png")), rgb(Role::ComboBackground),
             url(dir, QStringLiteral("Menu.png")), url(dir, QStringLiteral("MenuClicked.png")),
             url(dir, QStringLiteral("ComboboxTextBack.png")), rgb(Role::ComboSelect));
}

QString comboListSheet()
{
    const QString select = rgb(Role::ComboSelect);
    return QStringLiteral("QListView::item:selected{background-color: %1;}QListView::item:hover{background-color: %1;}")
        .arg(select);
}

QString menuSheet()
{
    return QStringLiteral("QMenu{background-color: %1;color: %2;border: 1px solid %3;padding: 2px;}"
                          "QMenu::item{padding: 4px 18px;}QMenu::item:selected{background-color: %3;}")
        .arg(rgb(Role::ComboBackground), rgb(Role::ComboText), rgb(Role::ComboSelect));
}

QString sliderSheet(const QString &dir, const QString &handleImage, Role fill, int handleOverhang)
{
    return QStringLiteral("QSlider::groove:horizontal{border-radius: 2px;height: 5px;background:#ffffff;}"
                          "QSlider::handle:horizontal{border-radius: 2px;width: 6px;height: 18px;"
                          "margin-top: -9px;margin-left: %1px;margin-bottom: -9px;margin-right: %1px;border-image: %2;}"
                          "QSlider::sub-page:horizontal{border-radius: 2px;background-color: %3;}"
                          "QSlider::add-page:horizontal{border-radius: 2px;background-color: rgb(255,255,255);}")
        .arg(-handleOverhang)
        .arg(url(dir, handleImage), rgb(fill));
}

QString transparentTabSheet()
{
    return QStringLiteral("QTabWidget::pane{border: 0px;background-color: transparent;}");
}

QString selectorScrollBarSheet(bool shown)
{
    return shown ? QStringLiteral("QScrollBar {width:10px;}") : QStringLiteral("QScrollBar {width:0px;}");
}

QString framedNumberSheet()
{
    return colorSheet(QStringLiteral("QSpinBox"), Role::LineEditSecond,
                      QStringLiteral("background-color: transparent;border: 1px solid gray;"))
           + QStringLiteral("QSpinBox:hover{border: 1px solid gray;}");
}

QString darkListSheet(const QString &objectName, const QString &dir)
{
    return QStringLiteral(
               "#%1{background:transparent;color:rgb(255,255,255);outline:0px;border:0px;}"
               "#%1::item:selected,#%1::item:selected:!active{"
               "background:qlineargradient(x1:0,y1:0,x2:1,y2:0,stop:0 #ff6a00,stop:1 #ff6a00);color:rgb(255,255,255);}"
               "#%1::item:hover{background:transparent;}"
               "#%1 QScrollBar:vertical{width:20px;margin:22px 0px 22px 0px;background:rgb(30,30,30);}"
               "#%1 QScrollBar::handle:vertical{background:rgb(117,117,117);border-radius:3px;min-height:30px;"
               "margin:2px 4px 2px 6px;}"
               "#%1 QScrollBar::add-page:vertical,#%1 QScrollBar::sub-page:vertical{background:rgb(30,30,30);}"
               "#%1 QScrollBar::sub-line:vertical{height:25px;background:rgb(30,30,30);subcontrol-position:top;"
               "subcontrol-origin:margin;}"
               "#%1 QScrollBar::add-line:vertical{height:25px;background:rgb(30,30,30);subcontrol-position:bottom;"
               "subcontrol-origin:margin;}"
               "#%1 QScrollBar::up-arrow:vertical{image:url(%2Up.png);width:15px;height:15px;margin:1px 2px 1px 4px;}"
               "#%1 QScrollBar::down-arrow:vertical{image:url(%2Down.png);width:15px;height:15px;"
               "margin:1px 2px 1px 4px;}")
        .arg(objectName, dir);
}

QString disabledButtonTextColor()
{
    return QStringLiteral("rgb(127,127,127)");
}

QString stageButtonSheet(const QString &dir, const QString &image)
{
    return imageSheet(QStringLiteral("QToolButton"), dir, Images(image), Fit::Centre, rgb(Role::Button),
                      QStringLiteral("border-radius:3px;"));
}

QString stageSwatchSheet(const QString &selector, const QString &dir, const QString &image, const QString &rgbNumbers)
{
    const QString colour =
        rgbNumbers.isEmpty() ? rgb(Ink::UnreadStage) : QStringLiteral("rgb(") + rgbNumbers + QLatin1Char(')');
    return imageSheet(selector, dir, Images(image), Fit::Centre, QString(),
                      QStringLiteral("border-radius:3px;background-color:") + colour + QLatin1Char(';'));
}

// ---------------------------------------------------------------------------

namespace {

const char kPendingSheet[] = "velmoraxPendingSheet";

// Applies a widget's kept-aside sheet on its first show. One filter serves
// every widget; it lives as long as the application object.
class SheetOnShow : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            auto *widget = static_cast<QWidget *>(watched);
            widget->removeEventFilter(this);
            const QVariant pending = widget->property(kPendingSheet);
            widget->setProperty(kPendingSheet, QVariant());
            if (pending.isValid())
                widget->setStyleSheet(pending.toString());
        }
        return false;
    }
};

SheetOnShow *sheetFilter()
{
    // Parented to the application object so it goes with it; a test that
    // builds a second application gets a fresh filter.
    static QPointer<SheetOnShow> filter;
    if (!filter)
        filter = new SheetOnShow(QCoreApplication::instance());
    return filter;
}

} // namespace

void setSheet(QWidget *widget, const QString &sheet)
{
    if (!widget)
        return;
    // Setting a sheet re-polishes the widget and all it holds (on the device
    // page about 60 ms); the same text again changes nothing.
    if (sheetOf(widget) == sheet)
        return;
    if (widget->isVisible() || !QCoreApplication::instance()) {
        widget->setProperty(kPendingSheet, QVariant());
        widget->setStyleSheet(sheet);
        return;
    }
    // Installing the same filter again moves it to the front; it stays one.
    widget->installEventFilter(sheetFilter());
    widget->setProperty(kPendingSheet, sheet);
}

QString sheetOf(const QWidget *widget)
{
    if (!widget)
        return QString();
    const QVariant pending = widget->property(kPendingSheet);
    return pending.isValid() ? pending.toString() : widget->styleSheet();
}

// ---------------------------------------------------------------------------

namespace {

void collectFonts(QWidget *widget, QVector<QPair<QWidget *, QFont>> &out)
{
    out.append(qMakePair(widget, widget->font()));
    for (QObject *child : widget->children()) {
        if (child->isWidgetType())
            collectFonts(static_cast<QWidget *>(child), out);
    }
}

void scaleTree(QWidget *widget, float factor, bool namedRules)
{
    if (!widget)
        return;
    // Read every font first: a child that inherits its parent's font must
    // end at its own old size times the factor, not at the parent's new
    // size times the factor again.
    QVector<QPair<QWidget *, QFont>> fonts;
    collectFonts(widget, fonts);
    // At factor 1 every font stays as it is; setting it again would only
    // send each widget's subtree a font change (a costly relayout at start).
    const bool unchanged = factor == 1.0f;
    for (auto &item : fonts) {
        QFont font = item.second;
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * factor);
        else if (font.pixelSize() > 0)
            font.setPixelSize(qMax(1, qRound(font.pixelSize() * factor)));
        const QString name = item.first->objectName();
        if (!unchanged && (!namedRules || name != QLatin1String("Receive_2")))
            item.first->setFont(font);
        if (namedRules && name == QLatin1String("NoApear"))
            QToolTip::setFont(font);
    }
}

} // namespace

void scaleChildren(QWidget *widget, float factor)
{
    scaleTree(widget, factor, false);
}

void scaleFonts(QWidget *widget, float factor)
{
    scaleTree(widget, factor, true);
}

QFont screenFont(const QString &family, qreal points)
{
    QFont font(family);
    font.setPointSizeF(points * screen::fontFactor());
    return font;
}

void scaleToScreen(QWidget *widget)
{
    const float factor = screen::fontFactor();
    if (factor != 1.0f)
        scaleChildren(widget, factor);
}

void fitText(QLabel *label)
{
    if (!label)
        return;
    // The size before fitting is kept with the font fitting gave, so a later
    // call starts from it again; a font someone else set since is the new
    // starting size.
    static const char *const kBase = "lookFitBaseFont";
    static const char *const kFitted = "lookFitFont";
    QFont font = label->font();
    const QVariant base = label->property(kBase);
    if (base.isValid() && label->property(kFitted).value<QFont>() == font)
        font = base.value<QFont>();
    label->setProperty(kBase, font);
    const int room = label->contentsRect().width();
    const bool points = font.pointSizeF() > 0;
    const qreal size = points ? font.pointSizeF() : font.pixelSize();
    for (qreal step = size; step >= size * 2 / 3; step -= 1) {
        if (points)
            font.setPointSizeF(step);
        else
            font.setPixelSize(qRound(step));
        if (QFontMetrics(font).horizontalAdvance(label->text()) <= room)
            break;
    }
    label->setProperty(kFitted, font);
    if (label->font() != font)
        label->setFont(font);
}

// ---------------------------------------------------------------------------

QPoint centredPosition(const QPoint &openerPos, const QSize &opener, const QSize &dialog, int dx, int dy)
{
    // C++ integer division truncates toward zero, as the placement wants.
    return QPoint(openerPos.x() + (opener.width() - dialog.width()) / 2 + dx,
                  openerPos.y() + (opener.height() - dialog.height()) / 2 + dy);
}

void centreOn(QWidget *dialog, const QWidget *opener, int dx, int dy)
{
    if (!dialog || !opener)
        return;
    dialog->move(centredPosition(opener->mapToGlobal(QPoint(0, 0)), opener->size(), dialog->size(), dx, dy));
}

// ---------------------------------------------------------------------------

QString noticePictureDir()
{
    return pictureDir(QStringLiteral("WarningDialog"));
}

void styleNotice(QDialog *dialog, const NoticeParts &parts)
{
    dialog->setWindowFlags(dialogWindowFlags());
    const QString dir = noticePictureDir();

    if (parts.label) {
        setSheet(parts.label,
                 colorSheet(QStringLiteral("QLabel"), Role::Label, QStringLiteral("background:transparent;")));
        // Long translations wrap before they reach the panel's edges.
        parts.label->setContentsMargins(10, 0, 10, 0);
    }
    // The picture is fitted to the frame: notices differ in height and a
    // centred picture would lose its top and bottom edges on the lower ones.
    if (parts.frame)
        setSheet(parts.frame, QStringLiteral("QFrame#%1{border:0px;border-image:%2 0 0 0 0 stretch stretch;}")
                                  .arg(parts.frame->objectName(), url(dir, QStringLiteral("BackGround.png"))));
    if (parts.closeButton)
        setSheet(parts.closeButton,
                 imageSheet(QStringLiteral("QToolButton"), dir, buttonImages(QStringLiteral("Close"), Hover | Click)));
    const QString confirmSheet = imageSheet(QStringLiteral("QToolButton"), dir,
                                            {parts.confirmImage, QString(), parts.confirmClickImage, QString()},
                                            Fit::Stretch, rgb(Role::Button));
    for (QToolButton *button : parts.confirmButtons)
        setSheet(button, confirmSheet);
}

void finishNotice(QDialog *dialog, const NoticeParts &parts)
{
    // Connected after the notice's language slot, so it runs after the
    // slot's new button texts have replaced the shortcut with a mnemonic.
    if (QToolButton *button = parts.returnButton) {
        button->setShortcut(QKeySequence(Qt::Key_Return));
        QObject::connect(PostMsg::instance(), &PostMsg::SigAllLanguage, button,
                         [button] { button->setShortcut(QKeySequence(Qt::Key_Return)); });
    }
    scaleToScreen(dialog);
}

} // namespace look
