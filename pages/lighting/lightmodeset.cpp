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

    const auto w = lighting::ColourEditor::widgetsOf(this, QStringLiteral(""), "label_7", "labelPreView");
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
    lighting::showModeLayout(index, {{ui->horizontalLight},
                                     ui->line,
                                     {ui->horizontalSpeed},
                                     ui->line_2,
                                     m_colour->controls()
                                         + QList<QWidget *>{ui->label_6, ui->label_8, ui->label_11, ui->label_10,
                                                            ui->label_12, ui->label_13}});
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
