#pragma once

// The look module: everything that decides how a page or dialog looks, in
// one place. Pages and dialogs never write a colour, an image path, a style
// rule, a font factor or a dialog position of their own; they ask here.
//
// Quick reference (all functions live in namespace look):
//
//   Theme colours     color(Role), rgb(Role) -> "rgb(r,g,b)", rgbNumbers(Role) -> "r,g,b"
//   Pictures          pictureDir("Dialog") -> "<app dir>/Picture/Dialog/"
//   Style sheets      colorSheet, fieldSheet, imageSheet (+ Images, Fit), checkBoxSheet,
//                     comboSheet, comboListSheet, menuSheet, sliderSheet, transparentTabSheet,
//                     framedNumberSheet
//   Applying sheets   setSheet(widget, sheet), sheetOf(widget)
//   Fonts             scaleToScreen(widget), scaleChildren, scaleFonts, fitText(label)
//   Placement         centredPosition(...), centreOn(dialog, opener, dx, dy)
//   Notices           NoticeParts, setUpNotice(dialog, parts), styleNotice(...)
//
// Example, a page constructor:
//
//   const QString dir = look::pictureDir(QStringLiteral("Sensor"));
//   look::setSheet(ui->label, look::colorSheet(QStringLiteral("QLabel")));
//   look::setSheet(ui->Close, look::imageSheet(QStringLiteral("QToolButton"), dir,
//                      look::buttonImages(QStringLiteral("Close"), look::Hover | look::Click)));
//   look::setSheet(ui->TitleButton, look::imageSheet(QStringLiteral("#TitleButton"), dir,
//                      {QStringLiteral("Title.png")}, look::Fit::Stretch));
//
// Example, a notice with an OK button confirmed by Return:
//
//   ui->setupUi(this);
//   look::setUpNotice(this, {ui->Frame, ui->label, ui->CloseButton, {ui->NewHong}});
//   // the opener: look::centreOn(&notice, page, -50, -70); notice.exec();

#include "app/postmsg.h"
#include "app/textcatalogue.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

class QDialog;
class QFrame;
class QLabel;
class QToolButton;
class QWidget;

namespace look {

// ---------------------------------------------------------------------------
// Theme colours

// The theme's colour roles. Each is a key of Config.ini group "Option"
// holding three decimal numbers "r,g,b".
enum class Role {
    Label,           // "LabelColor": text on the dark page backgrounds
    Button,          // "ButtonColor": text on image buttons
    ComboText,       // "ComboxTextColor"
    ComboSelect,     // "ComboxSelectColor": highlighted item of a list
    ComboBackground, // "ComboxBackGroundColor"
    Slider,          // "SliderColor": the filled part of a slider
    LineEdit,        // "LinEditColor"
    LineEditSecond,  // "LinEditColorSecond"
};

// The Config.ini key of a role.
QString roleKey(Role role);

// The colour a role has when Config.ini does not give one: the shipped
// theme's colour. This is the only fallback; every accessor below uses it.
QColor fallbackColor(Role role);

// The role's colour from Config.ini. A missing key, a list of fewer than
// three items, or an item that is not a whole number gives fallbackColor();
// items beyond the third are ignored and numbers are clamped to 0..255, so
// the result is always a valid colour.
QColor color(Role role);
// The same rule applied to a list of items (tests, tools).
QColor colorFromList(const QStringList &items, Role role);

// "rgb(r,g,b)" of a colour or role: always valid style-sheet text.
QString rgb(const QColor &color);
QString rgb(Role role);
// "r,g,b" of a role, for code that keeps the three numbers as text.
QString rgbNumbers(Role role);

// Fixed colours that the theme does not configure.
enum class Ink {
    White,       // captions on the pairing and device-list pictures
    Unavailable, // a caption that says "not available here", still readable on a dark button
    UnreadStage, // a DPI stage swatch before the mouse has said the stage's colour
};
QColor color(Ink ink);
QString rgb(Ink ink);

// ---------------------------------------------------------------------------
// Pictures

// "<application dir>/Picture/<page>/", the folder of a page's images
// (ending in a slash, so a file name can be appended).
QString pictureDir(const QString &page);

// ---------------------------------------------------------------------------
// Style sheets
//
// Every builder returns complete style-sheet text; apply it with setSheet().

// "<selector>{color: rgb(r,g,b);<extra>}", e.g. colorSheet("QLabel") or
// colorSheet("QSpinBox", Role::Label, "background-color: transparent;border: 0px;").
QString colorSheet(const QString &selector, Role role = Role::Label, const QString &extra = QString());
// "<selector>{color: rgb(115,115,115);}": the grey of a label whose controls
// are switched off.
QString disabledColorSheet(const QString &selector);
// A text or number field on a dark page or dialog: the role's text on the
// theme's dark field, without a frame. Fusion's own white field would leave
// the light field text unreadable.
QString fieldSheet(const QString &selector, Role role = Role::LineEdit);

// How an image fills its widget.
enum class Fit {
    Centre,  // drawn at its own size, centred, not repeated (background-image)
    Stretch, // stretched over the whole widget (border-image)
};

// The image files of a widget's states, names relative to the picture
// folder. Empty names mean "no rule for this state".
struct Images
{
    Images() = default;
    Images(const QString &normalImage, const QString &hoverImage = QString(), const QString &pressedImage = QString(),
           const QString &checkedImage = QString())
        : normal(normalImage), hover(hoverImage), pressed(pressedImage), checked(checkedImage)
    {}

    QString normal;
    QString hover;   // mouse over the widget (":hover")
    QString pressed; // held down (":pressed")
    QString checked; // checked button (":checked")
};

// States named by buttonImages(); combine with "|".
enum State { Hover = 1, Click = 2, Checked = 4 };

// The images of a button drawn by the image generator: "<base>.png" and,
// for each state asked for, "<base>Hover.png", "<base>Click.png" (shown
// while pressed) and "<base>Checked.png".
Images buttonImages(const QString &base, int states);

// The image-widget rule: "<selector>{border:0px;...image: url(<dir><normal>);
// [color: <textColor>;]<extra>}" followed by one rule per state image, in the
// order hover, pressed, checked (a later rule wins when both apply). An empty
// `textColor` leaves the text colour alone; pass rgb(Role::Button) for image
// buttons with a caption.
QString imageSheet(const QString &selector, const QString &dir, const Images &images, Fit fit = Fit::Centre,
                   const QString &textColor = QString(), const QString &extra = QString());

// A check box with the theme's label colour and two indicator images.
QString checkBoxSheet(const QString &dir, const QString &checkedImage, const QString &uncheckedImage,
                      const QString &selector = QStringLiteral("QCheckBox"));

// The theme's combo box on a picture folder holding "ComboboxBack.png",
// "ComboboxTextBack.png", "Menu.png" and "MenuClicked.png".
QString comboSheet(const QString &dir);
// The rule for a combo box's popup list view (selected and hovered items).
QString comboListSheet();
// A context menu in the colours of the combo boxes' popup lists.
QString menuSheet();

// A horizontal slider: white groove, the filled part in `fill`, the handle
// drawn from `dir` + `handleImage`. `handleOverhang` widens the handle past
// the groove's ends by that many pixels on each side.
QString sliderSheet(const QString &dir, const QString &handleImage, Role fill = Role::Slider, int handleOverhang = 0);

// A tab widget whose pane is invisible (the page's own background shows).
QString transparentTabSheet();

// The button page's selector-list scroll bar: its usual narrow width, or no
// width at all while the function list lies over the selectors.
QString selectorScrollBarSheet(bool shown);

// A read-only number box beside a slider or step buttons, framed in grey
// (also while hovered), its text in the second line-edit colour.
QString framedNumberSheet();

// A list on the dark page background (the macro page's two lists): white
// text, the selected item in the theme's orange, a dark scroll bar whose
// arrows are "<dir>Up.png" and "<dir>Down.png". Each rule names the list
// by `objectName`, so two lists of one page can share the look.
QString darkListSheet(const QString &objectName, const QString &dir);

// The caption colour of an image button that is switched off.
QString disabledButtonTextColor();
// A DPI stage's value button: `image` from `dir`, the button caption colour,
// rounded corners.
QString stageButtonSheet(const QString &dir, const QString &image);
// A DPI stage's colour swatch: `image` from `dir` over the stage's colour,
// given as its numbers "r,g,b"; empty numbers give Ink::UnreadStage.
QString stageSwatchSheet(const QString &selector, const QString &dir, const QString &image,
                         const QString &rgbNumbers = QString());

// Gives `widget` a style sheet. The images it names are decoded when the
// widget is first shown, not before: a widget that is not visible yet keeps
// the sheet aside until its first show (pages that are never opened cost
// nothing). A visible widget gets the sheet at once. The sheet it already has
// changes nothing (no re-polish).
void setSheet(QWidget *widget, const QString &sheet);
// The sheet `widget` has or will get on its first show.
QString sheetOf(const QWidget *widget);

// ---------------------------------------------------------------------------
// Fonts
//
// Forms ask for fonts in points at 96 dpi. Every font is multiplied by the
// screen's factor (96 / logical dpi) once: fonts are read for the whole tree
// before any is changed, so a child that inherits its parent's font is not
// scaled a second time.

// Scales `widget` and all its descendants by `factor`. A null widget does
// nothing.
void scaleChildren(QWidget *widget, float factor);
// The main window's variant: the widget named "Receive_2" keeps its own
// font (its children are scaled) and the font of the widget named "NoApear"
// also becomes the tool-tip font.
void scaleFonts(QWidget *widget, float factor);
// scaleChildren(widget, the screen's factor); what every dialog calls once
// in its constructor.
void scaleToScreen(QWidget *widget);

// A font of `family` at `points` (at 96 dpi) brought to the screen's size,
// for a widget that keeps a font of its own when its page is scaled.
QFont screenFont(const QString &family, qreal points);

// Shrinks a one-line label's font, a point at a time and to no less than
// two thirds of its size, until the label's text fits its width; a shorter
// text later gets the size back. For values whose length depends on the
// language, shown in a box of fixed width.
void fitText(QLabel *label);

// ---------------------------------------------------------------------------
// Placement

// Where a dialog of size `dialog` goes over an opener whose global top-left
// is `openerPos` and whose size is `opener`: centred (each half truncated
// toward zero), then shifted by (dx, dy).
QPoint centredPosition(const QPoint &openerPos, const QSize &opener, const QSize &dialog, int dx = 0, int dy = 0);
// Moves `dialog` there over `opener` (its on-screen position). Either one
// null does nothing.
void centreOn(QWidget *dialog, const QWidget *opener, int dx = 0, int dy = 0);

// ---------------------------------------------------------------------------
// Notices and input dialogs
//
// Every notice is a small frameless modal window: a background frame, a
// text label, a close button in the top-right corner and zero or more
// confirmation buttons (OK, Cancel). The set-up gives them all the same
// look and behaviour.

struct NoticeParts
{
    NoticeParts(QFrame *frameWidget, QLabel *labelWidget, QToolButton *close, const QList<QToolButton *> &confirm = {},
                const QString &image = QStringLiteral("Confirm.png"),
                const QString &clickImage = QStringLiteral("ConfirmClick.png"), QToolButton *onReturn = nullptr)
        : frame(frameWidget), label(labelWidget), closeButton(close), confirmButtons(confirm), confirmImage(image),
          confirmClickImage(clickImage), returnButton(onReturn)
    {}

    QFrame *frame = nullptr; // background, drawn from "BackGround.png"
    QLabel *label = nullptr; // the message, in the label colour
    QToolButton *closeButton = nullptr;
    QList<QToolButton *> confirmButtons; // in the button colour
    QString confirmImage;
    QString confirmClickImage;
    // Pressed by Return; stays so after every language change (a new button
    // text would otherwise replace the key with the text's mnemonic).
    QToolButton *returnButton = nullptr;
};

// The notices' picture folder, pictureDir("WarningDialog").
QString noticePictureDir();

// The shared look alone: window flags, frame, label, close and confirmation
// buttons. For a notice that takes its texts from elsewhere (the
// already-running notice reads its own language file).
void styleNotice(QDialog *dialog, const NoticeParts &parts);

// Everything of the set-up but the language hook-up (used by setUpNotice).
void finishNotice(QDialog *dialog, const NoticeParts &parts);

// The whole set-up, called once after setupUi(): styleNotice(), the hub's
// SigAllLanguage(int) connected to the dialog's SlotAllLanguage(int) and
// called once with the current language, Return on `returnButton` (kept
// after every language change), and the fonts scaled to the screen. The
// opener places the dialog with centreOn() and runs exec(). Returns the
// picture folder.
template <class Notice>
QString setUpNotice(Notice *dialog, const NoticeParts &parts)
{
    styleNotice(dialog, parts);
    QObject::connect(PostMsg::instance(), &PostMsg::SigAllLanguage, dialog, &Notice::SlotAllLanguage);
    dialog->SlotAllLanguage(languageIndex);
    finishNotice(dialog, parts);
    return noticePictureDir();
}

} // namespace look
