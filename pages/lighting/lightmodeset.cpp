#include "pages/lighting/lightmodeset.h"
#include "ui_lightmodeset.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "pages/lighting/lighteditor.h"
#include "platform/dialogflags.h"

#include <QMouseEvent>

LightModeSet::LightModeSet(QWidget *parent) : QDialog(parent), ui(new Ui::LightModeSet)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("ScreeInfo"));
    setWindowFlags(dialogWindowFlags());

    lighting::ColourEditor::Widgets w;
    w.red = ui->RSpinBox;
    w.green = ui->GSpinBox;
    w.blue = ui->BSpinBox;
    w.addRed = ui->AddR;
    w.addGreen = ui->AddG;
    w.addBlue = ui->AddB;
    w.reduceRed = ui->ReduceR;
    w.reduceGreen = ui->ReduceG;
    w.reduceBlue = ui->ReduceB;
    w.board = ui->label_7;
    w.preview = ui->labelPreView;
    w.presets = {ui->toolButtonColorA, ui->toolButtonColorB, ui->toolButtonColorC, ui->toolButtonColorD,
                 ui->toolButtonColorE, ui->toolButtonColorF, ui->toolButtonColorG, ui->toolButtonColorH,
                 ui->toolButtonColorI, ui->toolButtonColorJ, ui->toolButtonColorK, ui->toolButtonColorL,
                 ui->toolButtonColorM, ui->toolButtonColorN};
    // Purely local: every choice is kept, nothing goes anywhere.
    m_colour = new lighting::ColourEditor(
        this, w, [](const QColor &) { return true; }, {}, [this] { return m_colour->colour(); });

    for (QWidget *label : {ui->label, ui->label_2, ui->label_3, ui->label_6, ui->label_8, ui->label_11, ui->label_10,
                           ui->label_12, ui->label_13})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    look::setSheet(ui->LightModeSetframe, look::imageSheet(QStringLiteral("#LightModeSetframe"), pictureDir,
                                                           look::Images(QStringLiteral("Back.png"))));
    look::setSheet(ui->CloseButton,
                   look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                    look::Images(QStringLiteral("CloseButton.png"), QStringLiteral("CloseHover.png"),
                                                 QStringLiteral("CloseClick.png"))));
    on_LightMod_currentIndexChanged(ui->LightMod->currentIndex());
    lighting::styleModeList(ui->LightMod, pictureDir);
    lighting::styleSlider(ui->horizontalLight, pictureDir, QStringLiteral("Slider.png"), 1);
    lighting::styleSlider(ui->horizontalSpeed, pictureDir, QStringLiteral("Slider.png"), 1);
    m_colour->style(pictureDir);
    look::scaleToScreen(this);
}

LightModeSet::~LightModeSet() = default;

void LightModeSet::on_LightMod_currentIndexChanged(int index)
{
    lighting::ModeLayout layout;
    if (!lighting::modeLayout(index, &layout))
        return;
    ui->horizontalLight->setVisible(layout.brightness);
    ui->line->setVisible(!layout.brightness);
    ui->horizontalSpeed->setVisible(layout.speed);
    ui->line_2->setVisible(!layout.speed);
    for (QWidget *w : m_colour->controls())
        w->setVisible(layout.colour);
    for (QWidget *w : {ui->label_6, ui->label_8, ui->label_11, ui->label_10, ui->label_12, ui->label_13})
        w->setVisible(layout.colour);
}

void LightModeSet::on_CloseButton_clicked()
{
    emit PostMsg::instance()->SigButtonCheck();
    close();
}

void LightModeSet::mousePressEvent(QMouseEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return;
    m_colour->press(event->pos());
}

void LightModeSet::SlotAllLanguage(int) {}
