#include "pages/buttons/buttoninterface.h"

#include "app/configini.h"
#include "app/delays.h"
#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "app/widgets/myconmbobox.h"
#include "device/devicecache.h"
#include "device/devicestate.h"
#include "device/dpicodec.h"
#include "device/linkcontrols.h"
#include "device/pagelink.h"
#include "pages/buttons/buttonnotices.h"
#include "pages/buttons/buttonoptions.h"
#include "pages/buttons/macrobinding.h"
#include "pages/hubconnections.h"
#include "pages/macro/macrostore.h"
#include "pages/settings/configfile.h"
#include "pages/settings/inportfail.h"
#include "pages/settings/updataparam.h"
#include "platform/keys/keytable.h"
#include "platform/userpaths.h"
#include "ui_buttoninterface.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

// Function-list, option and selector names of the form, in the order the
// page groups them.
const char *const kFunctionList[] = {"LeftKey_3", "RightKey_3", "MidKey", "BackKey_2", "ForWardKey", "DPI_2",
                                     "DPI_3",     "DPI_4",      "DPI_5",  "DPI_6",     "DPI_7",      "DPI_8",
                                     "DPI_9",     "DPI_10",     "DPI_11", "DPI_12",    "DPI_13"};

// Selector-list positions the Number buttons scroll to, rows 1..16.
const int kNumberScroll[buttonfn::kButtonCount] = {0,   20,  40,  60,  80,  100, 120, 140,
                                                   160, 180, 200, 220, 260, 280, 320, 360};

// Place of each multimedia key on its page (scroll position / 15), by the
// option's object name.
int multimediaPlace(const QString &option)
{
    static const char *const order[] = {
        "Player",       "StartPause_2",  "BackMusic_2",  "TopMusic_2",    "Mute",          "VolumeUp",
        "VolumeDown",   "VolumeDown_4",  "VolumeDown_5", "VolumeDown_6",  "VolumeDown_3",  "VolumeDown_8",
        "VolumeDown_9", "VolumeDown_10", "VolumeDown_7", "VolumeDown_12", "VolumeDown_13", "VolumeDown_11"};
    for (int i = 0; i < int(std::size(order)); ++i)
        if (option == QLatin1String(order[i]))
            return i;
    return 0;
}

// Label lookups: "KeyOptions" labels of one value, the catalogue's last
// listed first; an empty text past the list's end.
QString optionLabel(const QString &value, int position, int language)
{
    const QStringList labels = catalogueKeyOptions(value, language);
    return position >= 0 && position < labels.size() ? labels.at(position) : QString();
}

} // namespace

Buttoninterface::Buttoninterface(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::Buttoninterface>())
{
    ui->setupUi(this);
    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigMouseIndex, this, &Buttoninterface::SlotMouseIndex);

    pictureDir = look::pictureDir(QStringLiteral("Buttoninterface"));
    mainPageDir = userDataRoot() + QStringLiteral("/usersetting/MainPage");
    if (!QDir(mainPageDir).exists())
        QDir().mkpath(mainPageDir);
    SlotMouseIndex(0);

    selectorGroup = new QButtonGroup(this);
    functionGroup = new QButtonGroup(this);
    optionGroup = new QButtonGroup(this);
    numberGroup = new QButtonGroup(this);
    for (QButtonGroup *group : {selectorGroup, functionGroup, optionGroup, numberGroup})
        group->setExclusive(true);
    for (const int b :
         std::vector<int>(buttonfn::selectorListOrder(), buttonfn::selectorListOrder() + buttonfn::kButtonCount))
        selectorGroup->addButton(selector(b));
    for (const char *name : kFunctionList)
        functionGroup->addButton(formButton(name));
    for (const QString &name : buttonoptions::rightPanelOptions())
        optionGroup->addButton(findChild<QAbstractButton *>(name));
    for (int n = 1; n <= buttonfn::kButtonCount; ++n)
        numberGroup->addButton(findChild<QToolButton *>(QStringLiteral("Number%1").arg(n)));

    // The configuration switch and the light toggles are not offered.
    ui->DPI_3->setVisible(false);
    ui->DPI_9->setVisible(false);

    readSensorTable();
    applyStyleSheets();
    macroBinding = std::make_unique<MacroBinding>(*this);
    buildMacroList();

    connectBlockingHub(this);
    connect(hub, &PostMsg::SigUpDataButtonUIC, this, &Buttoninterface::SlotUpDataButtonUIB);

    // The mirrors always hold one entry per device button; until the mouse is
    // read they hold the factory functions.
    for (int b = 0; b < buttonfn::kButtonCount; ++b) {
        const ButtonFunction f = buttonfn::factoryFunction(b);
        buttonTypes << f.type;
        buttonValues << f.p1;
        buttonExtras << f.p2;
    }

    // The worker has no parent; this page releases it.
    workerOwner = std::make_unique<WorkerOwner>();

    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    connect(hub, &PostMsg::SigAllLanguage, this, &Buttoninterface::SlotAllLanguage);
    connect(hub, &PostMsg::SigAddMacroButton, this, &Buttoninterface::SlotAddMacroButton);
    connect(hub, &PostMsg::SigDeleteMacroButton, this, &Buttoninterface::SlotDeleteMacroButton);
    connect(hub, &PostMsg::SigMacroRename, this, &Buttoninterface::SlotMacroRename);
    connect(hub, &PostMsg::SigUpDataMacro, this, &Buttoninterface::SlotUpDataMacro);

    // The function options write into the selected button through the page's
    // mirror, check marks and combination parser.
    ButtonFunctionOptions::PageHooks hooks;
    hooks.uncheckOptions = [this] { uncheckAllOptions(); };
    hooks.setButtonState = [this](int b, int type, int p1, int p2) { setButtonState(b, type, p1, p2); };
    hooks.buttonState = [this](int b) {
        return ButtonFunction{quint8(buttonTypes.value(b)), quint8(buttonValues.value(b)),
                              quint8(buttonExtras.value(b))};
    };
    hooks.keyComboRecord = [](const QString &text) { return buttonfn::parseKeyCombination(text); };
    hooks.wouldLoseLeftClick = [this](int b, int type, int p1) { return wouldLoseLeftClick(b, type, p1); };
    hooks.sensorModel = [this] { return sensorName; };
    hooks.buttonCount = [this] { return modelButtons; };
    functionOptions = new ButtonFunctionOptions(this, std::move(hooks), this);

    // The page may be built after the language was announced.
    SlotAllLanguage(languageIndex);
}

Buttoninterface::~Buttoninterface()
{
    // No hub call reaches this page any more, including calls already posted:
    // dropping a posted blocking call releases the thread that waits for it.
    PostMsg::instance()->disconnect(this);
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);

    workerOwner.reset();
    stopDeviceWatch();
}

void Buttoninterface::applyStyleSheets()
{
    const QString buttonText = look::rgb(look::Role::Button);
    const QString transparent = QStringLiteral("background-color:transparent;border:none;");
    for (QWidget *w : {ui->scrollAreaWidgetContents_3, ui->scrollAreaWidgetContents_4, ui->scrollAreaWidgetContents_6,
                       ui->scrollAreaWidgetContents_8, ui->scrollAreaWidgetContents_9, ui->scrollAreaWidgetContents_12,
                       ui->scrollAreaWidgetContents_10, ui->scrollAreaWidgetContents_7})
        look::setSheet(w, transparent);

    const QString optionSheet = buttonoptions::optionSheet(pictureDir);
    for (QWidget *w : {ui->page_3, ui->page_9, ui->page_4, ui->page_6, ui->page_7, ui->page_10, ui->page_8})
        look::setSheet(w, optionSheet);

    look::setSheet(ui->scrollAreaWidgetContents_11,
                   QStringLiteral("#scrollAreaWidgetContents_11{background-color:transparent;border:none;}")
                       + look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                          {QStringLiteral("AMenuTitle.png"), QString(), QString(),
                                           QStringLiteral("AMenuTitleChecked.png")},
                                          look::Fit::Centre, buttonText)
                       + look::imageSheet(QStringLiteral("QLabel"), pictureDir, {QStringLiteral("LabelNumber.png")},
                                          look::Fit::Centre, look::rgb(look::Role::Label)));
    ui->scrollArea_11->setFrameShape(QFrame::NoFrame);

    const QString combo = look::comboSheet(pictureDir);
    for (MyConmboBox *box : {ui->ProjectChoose, ui->DebunceRelease, ui->WheelDebunce}) {
        auto *view = new QListView(box);
        look::setSheet(view, look::comboListSheet());
        if (box != ui->ProjectChoose)
            box->setMaxVisibleItems(5);
        box->setView(view);
        look::setSheet(box, combo);
    }
    if (QComboBox *debounce = ui->DebunceButton->comboBox()) {
        auto *view = new QListView(debounce);
        look::setSheet(view, look::comboListSheet());
        debounce->setMaxVisibleItems(5);
        debounce->setView(view);
        look::setSheet(debounce, combo);
    }

    for (QLabel *label : {ui->label_3, ui->label_4, ui->label_5, ui->label_6})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    for (QCheckBox *box : {ui->KeyDebunce, ui->WheelDebunce_2})
        look::setSheet(box, look::checkBoxSheet(pictureDir, QStringLiteral("CheckBoxChecked.png"),
                                                QStringLiteral("CheckBox.png")));
    for (QToolButton *button : {ui->ImportData, ui->OutputData})
        look::setSheet(button, look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                                look::buttonImages(QStringLiteral("Reset"), look::Hover | look::Click),
                                                look::Fit::Stretch, buttonText));
    for (int n = 1; n <= buttonfn::kButtonCount; ++n)
        look::setSheet(findChild<QToolButton *>(QStringLiteral("Number%1").arg(n)),
                       look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                        {QStringLiteral("NumberOrigin.png"), QStringLiteral("NumberHover.png"),
                                         QStringLiteral("NumberClick.png")},
                                        look::Fit::Centre, look::rgb(look::Role::Label)));

    const QString functionSheet = look::imageSheet(
        QStringLiteral("QToolButton"), pictureDir,
        {QStringLiteral("BMenuTitle.png"), QString(), QString(), QStringLiteral("BMenuTitleChecked.png")},
        look::Fit::Centre, look::rgb(look::Role::Label));
    const QString groupSheet = look::imageSheet(
        QStringLiteral("QToolButton"), pictureDir,
        {QStringLiteral("BMenuTitleB.png"), QString(), QString(), QStringLiteral("BMenuTitleCheckedB.png")},
        look::Fit::Centre, look::rgb(look::Role::Label));
    for (QAbstractButton *b : functionGroup->buttons()) {
        static const QStringList opensPanel = {
            QStringLiteral("DPI_13"), QStringLiteral("DPI_11"), QStringLiteral("DPI_10"), QStringLiteral("DPI_9"),
            QStringLiteral("DPI_7"),  QStringLiteral("DPI_12"), QStringLiteral("DPI_4")};
        look::setSheet(b, opensPanel.contains(b->objectName()) ? groupSheet : functionSheet);
    }

    look::setSheet(ui->label, look::imageSheet(QStringLiteral("#label"), pictureDir, {QStringLiteral("Config.png")}));
    look::setSheet(ui->groupBox, look::imageSheet(QStringLiteral("#groupBox"), pictureDir,
                                                  {QStringLiteral("TiltleBack.png")}, look::Fit::Stretch));
    look::setSheet(ui->groupBox_4, QStringLiteral("#groupBox_4 {border: 0;}"));
    look::setSheet(ui->groupBox_2, QStringLiteral("#groupBox_2 {border: 0;}"));
    for (QScrollArea *area : {ui->scrollArea_4, ui->scrollArea_3, ui->scrollArea_7, ui->scrollArea_8, ui->scrollArea_10,
                              ui->scrollArea_6, ui->scrollArea_9, ui->scrollArea_12})
        look::setSheet(area, QStringLiteral("#%1{border: 0;}").arg(area->objectName()));
}

QAbstractButton *Buttoninterface::formButton(const char *name) const
{
    return findChild<QAbstractButton *>(QLatin1String(name));
}

QToolButton *Buttoninterface::selector(int b) const
{
    const char *name = buttonfn::selectorName(b);
    return name ? findChild<QToolButton *>(QLatin1String(name)) : nullptr;
}

int Buttoninterface::selectedButton() const
{
    return functionOptions->selectedButton();
}

void Buttoninterface::setButtonState(int b, int type, int p1, int p2)
{
    if (b < 0 || b >= buttonfn::kButtonCount)
        return;
    buttonTypes[b] = type;
    buttonValues[b] = p1;
    buttonExtras[b] = p2;
}

bool Buttoninterface::wouldLoseLeftClick(int b, int type, int p1) const
{
    if (b < 0 || b >= buttonfn::kButtonCount)
        return false;
    if (type == buttonfn::MouseButton && p1 == buttonfn::LeftBit)
        return false;
    // The mouse's own record decides, over the buttons the model has.
    int others = 0;
    bool own = false;
    for (int k = 0; k < modelButtons; ++k) {
        const bool left = buttonTypes.at(k) == buttonfn::MouseButton && buttonValues.at(k) == buttonfn::LeftBit;
        if (!left)
            continue;
        if (k == b)
            own = true;
        else
            ++others;
    }
    return own && others == 0;
}

int Buttoninterface::dpiToCode(int dpi) const
{
    return buttonfn::dpiToCode(sensorTable, sensorName, dpi);
}

int Buttoninterface::codeToDpi(int code) const
{
    return buttonfn::codeToDpi(sensorTable, sensorName, code);
}

QString Buttoninterface::modelGroup() const
{
    return QStringLiteral("Drive") + QString::number(currentDevice.get().modelIndex + 1);
}

int Buttoninterface::modelButtonCount() const
{
    return buttonfn::buttonCountFromCatalogue(ConfigIni::instance()->value(modelGroup(), QStringLiteral("KeyNumber")));
}

// ---------------------------------------------------------------------------
// Labels

void Buttoninterface::showButtonFunction(int b, int type, int p1, int p2, const FlashDataMap &record)
{
    QToolButton *target = selector(b);
    if (!target)
        return;
    ButtonFunction function{quint8(type), quint8(p1), quint8(p2)};
    const buttonfn::FunctionLabel label =
        buttonfn::functionLabel(function, record, b, [this](int code) { return codeToDpi(code); });
    switch (label.kind) {
    case buttonfn::FunctionLabel::Unchanged:
        return;
    case buttonfn::FunctionLabel::OptionText:
        target->setText(formButton(label.option)->text());
        return;
    case buttonfn::FunctionLabel::Text:
        target->setText(label.text);
        return;
    case buttonfn::FunctionLabel::DpiLockText:
        target->setText(formButton(label.option)->text() + QLatin1Char('-') + QString::number(label.dpi));
        return;
    case buttonfn::FunctionLabel::MacroName:
        target->setText(macroPrefix + label.text);
        writeMacroFile(label.text, p2, buttonfn::macroRecord(record, b));
        emit PostMsg::instance()->SigButtonToMacro(record, b);
        return;
    }
}

void Buttoninterface::writeMacroFile(const QString &name, int repeatMode, const MacroRecord &macro)
{
    // A macro found on the mouse gets a file only when it has none: an
    // existing file either says the same already or holds the user's own
    // version, which a refill must never overwrite. A name read from the
    // mouse becomes a file name only when it is safe.
    if (!MacroStore::isSafeName(name))
        return;
    const QString folder = MacroStore::defaultFolder();
    const QString path = MacroStore::filePath(folder, name);
    if (path.isEmpty() || QFileInfo::exists(path))
        return;
    const int mode = MacroStore::repeatModeFromLine(QByteArray::number(repeatMode));
    QDir().mkpath(folder);
    MacroStore::writeAtomically(path, MacroStore::format(mode, MacroStore::recordEvents(macro)));
}

void Buttoninterface::labelAll(const FlashDataMap &record)
{
    for (int b = 0; b < modelButtons; ++b)
        showButtonFunction(b, buttonTypes.at(b), buttonValues.at(b), buttonExtras.at(b), record);
}

void Buttoninterface::fillMirrors(const FlashDataMap &record)
{
    for (int b = 0; b < buttonfn::kButtonCount; ++b) {
        const ButtonFunction f = buttonfn::buttonFunction(record, b);
        buttonTypes[b] = f.type;
        buttonValues[b] = f.p1;
        buttonExtras[b] = f.p2;
    }
}

void Buttoninterface::showModelButtons(int count)
{
    modelButtons = count;
    for (int b = 0; b < buttonfn::kButtonCount; ++b) {
        selector(b)->setVisible(b < count);
        findChild<QLabel *>(QStringLiteral("ButtonLabel%1").arg(b + 1))->setVisible(b < count);
    }
    stackSelectorRows();
}

// The form keeps the sixth row out of sight and ends the list's content at
// the fifth, which would leave every button past the fifth out of reach.
// Rows past the fifth that the mouse has are stacked in list order below the
// fifth, and the content grows so the list scrolls to the last of them.
void Buttoninterface::stackSelectorRows()
{
    constexpr int kFirstStackedRow = 5; // rows are 0-based here
    constexpr int kFirstStackedY = 214;
    constexpr int kRowPitch = 35;
    constexpr int kBottomMargin = 5;
    int y = kFirstStackedY;
    int bottom = 0;
    for (int row = 0; row < buttonfn::kButtonCount; ++row) {
        const int b = buttonfn::selectorListOrder()[row];
        QToolButton *button = selector(b);
        if (b >= modelButtons)
            continue;
        if (row >= kFirstStackedRow) {
            button->move(button->x(), y);
            if (QLabel *label = findChild<QLabel *>(QStringLiteral("ButtonLabel%1").arg(row + 1)))
                label->move(label->x(), y + 1);
            y += kRowPitch;
        }
        bottom = qMax(bottom, button->geometry().bottom() + 1);
    }
    QWidget *content = ui->scrollAreaWidgetContents_11;
    content->setFixedHeight(qMax(ui->scrollArea_11->height(), bottom + kBottomMargin));
}

// ---------------------------------------------------------------------------
// Refills

void Buttoninterface::refillFrom(const FlashDataMap &record)
{
    emit PostMsg::instance()->SigLightToFrom(record.sleepTime * 10);

    sensorName = ConfigIni::instance()->value(modelGroup(), QStringLiteral("Sensor"));
    showModelButtons(modelButtonCount());

    fillMirrors(record);
    labelAll(record);

    ui->DebunceButton->setIndex(record.debounceTime);
    releaseDebounceIndex = record.releaseDebounce;
    wheelDebounceIndex = record.wheelDebounce / 10 - 1;
    const QSignalBlocker blockRelease(ui->DebunceRelease);
    const QSignalBlocker blockWheel(ui->WheelDebunce);
    ui->DebunceRelease->setCurrentIndex(releaseDebounceIndex);
    ui->WheelDebunce->setCurrentIndex(wheelDebounceIndex);
}

void Buttoninterface::SlotUpDataButtonUIButton(FlashDataMap DataMap)
{
    PageRefill refill(PageRefill::ButtonPage, PageRefill::WhenDone);
    refillFrom(DataMap);
}

void Buttoninterface::SlotUpDataButtonUIB(FlashDataMap DataMap)
{
    PageRefill refill(PageRefill::ButtonPage);
    refillFrom(DataMap);
}

void Buttoninterface::SlotFormResetButton()
{
    PageRefill refill(PageRefill::ButtonPage);
    closePanels();

    // A silent mouse with nothing cached: the factory functions, with the
    // selectors saying so, on the buttons the model has.
    showModelButtons(modelButtonCount());
    FlashDataMap factory{};
    for (int b = 0; b < buttonfn::kButtonCount; ++b)
        factory.buttonFunctions[b] = buttonfn::factoryFunction(b);
    fillMirrors(factory);
    labelAll(factory);

    ui->DebunceButton->setIndex(8);
    const QSignalBlocker blockRelease(ui->DebunceRelease);
    const QSignalBlocker blockWheel(ui->WheelDebunce);
    ui->DebunceRelease->setCurrentIndex(2);
    ui->WheelDebunce->setCurrentIndex(2);
    emit PostMsg::instance()->SigLightToFrom(60);
}

void Buttoninterface::SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable)
{
    {
        const QSignalBlocker block(ui->ProjectChoose);
        ui->ProjectChoose->clear();
        if (ToTalItem > 0) {
            for (int k = 1; k <= ToTalItem; ++k)
                ui->ProjectChoose->addItem(configPrefix + QString::number(k));
        } else if (ToTalItem == 0) {
            ui->ProjectChoose->addItem(configPrefix + QStringLiteral("1"));
        }
    }
    ui->ProjectChoose->setEnabled(ItemEnable);
    if (ToTalItem > 0)
        ui->ProjectChoose->setCurrentIndex(SelectIndex >= 0 && SelectIndex < ToTalItem ? SelectIndex : -1);
    emit PostMsg::instance()->SigAddConfig(ui->ProjectChoose->currentText());
}

void Buttoninterface::SlotMouseIndex(int index)
{
    look::setSheet(ui->widget,
                   look::imageSheet(QStringLiteral("#widget"), pictureDir, {QStringLiteral("mouse%1.png").arg(index)}));
}

// ---------------------------------------------------------------------------
// Selection and the option panel

void Buttoninterface::clearGroup(QButtonGroup *group)
{
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

void Buttoninterface::setScroll(QScrollArea *area, int position)
{
    area->verticalScrollBar()->setSliderPosition(position);
}

void Buttoninterface::closePanels()
{
    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(look::selectorScrollBarSheet(true));
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
}

void Buttoninterface::uncheckAllOptions()
{
    optionGroup->setExclusive(false);
    for (QAbstractButton *button : optionGroup->buttons())
        button->setChecked(false);
    for (QToolButton *button : macroBinding->buttons())
        button->setChecked(false);
    optionGroup->setExclusive(true);
}

void Buttoninterface::selectPhysicalButton(int b)
{
    if (b < 0 || b >= buttonfn::kButtonCount)
        return;
    // The mouse must keep one left click: the only button holding it cannot
    // be opened for another function.
    if (wouldLoseLeftClick(b, buttonfn::Undefined, 0)) {
        ui->stackedWidget->setCurrentWidget(ui->page);
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        clearGroup(selectorGroup);
        LeftButtonOnly::showOver(this);
        return;
    }

    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(look::selectorScrollBarSheet(b == 0));

    const int t = buttonTypes.at(b);
    const int v = buttonValues.at(b);
    if (t < buttonfn::Undefined || t > buttonfn::Wheel) {
        setScroll(ui->scrollArea_10, 0);
        setScroll(ui->scrollArea_4, 0);
        return;
    }

    const buttonoptions::FunctionPanel *panel = buttonoptions::functionPanel(t, v);
    QWidget *page = panel ? findChild<QWidget *>(QLatin1String(panel->page)) : ui->page_9;
    const char *function = panel ? panel->entry : nullptr;
    const char *option = buttonoptions::panelOption(t, v);
    const int k = panel ? panel->listRow : 0;
    int lockIndex = 0;
    if (t == buttonfn::DpiLock) {
        const int dpi = codeToDpi(v);
        if (dpi % 100 == 0 && dpi >= 100 && dpi <= 1200) {
            lockIndex = dpi / 100 - 1;
            option = buttonoptions::dpiLockOptions().at(lockIndex).object;
        }
    }

    ui->stackedWidget->setCurrentWidget(ui->page_2);

    if (t == buttonfn::KeyCombination) {
        const buttonfn::FunctionLabel label = buttonfn::keySequenceLabel(buttonfn::keyCombo(currentFlashData, b));
        if (label.kind == buttonfn::FunctionLabel::OptionText) {
            formButton(label.option)->setChecked(true);
            ui->DPI_12->setChecked(true);
            ui->stackedWidget_2->setCurrentWidget(ui->page_3);
            setScroll(ui->scrollArea_3, 15 * multimediaPlace(QLatin1String(label.option)));
            setScroll(ui->scrollArea_4, 240);
        } else {
            ui->stackedWidget_2->setCurrentWidget(ui->page_9);
            ui->DPI_8->setChecked(true);
            setScroll(ui->scrollArea_3, 0);
            setScroll(ui->scrollArea_4, 120);
        }
        return;
    }

    ui->stackedWidget_2->setCurrentWidget(page);
    if (function)
        formButton(function)->setChecked(true);
    if (option)
        formButton(option)->setChecked(true);

    if (t == buttonfn::Macro) {
        const QString label = selector(b)->text().remove(QChar(0));
        const QList<QToolButton *> &macros = macroBinding->buttons();
        for (int i = 0; i < macros.size(); ++i) {
            if (macroPrefix + macros.at(i)->text() == label) {
                macros.at(i)->setChecked(true);
                setScroll(ui->scrollArea_7, 15 * (i + 1));
            }
        }
        setScroll(ui->scrollArea_10, 0);
        setScroll(ui->scrollArea_4, 225);
        return;
    }
    setScroll(ui->scrollArea_10, 15 * lockIndex);
    setScroll(ui->scrollArea_4, 15 * k);
}

void Buttoninterface::selectByNumber(int row)
{
    // Asked only for the notice: a silent mouse still gets the selection.
    checkDeviceOnline();
    const int b = buttonfn::selectorListOrder()[row - 1];
    // A marker of a button the model does not have selects nothing.
    if (b >= modelButtons)
        return;
    selector(b)->setChecked(true);
    setScroll(ui->scrollArea_11, kNumberScroll[row - 1]);
}

void Buttoninterface::on_FireKey_clicked()
{
    selectPhysicalButton(0);
}
void Buttoninterface::on_RightKey_clicked()
{
    selectPhysicalButton(1);
}
void Buttoninterface::on_BackKey_clicked()
{
    selectPhysicalButton(2);
}
void Buttoninterface::on_StartPause_clicked()
{
    selectPhysicalButton(4);
}
void Buttoninterface::on_TopMusic_clicked()
{
    selectPhysicalButton(3);
}
void Buttoninterface::on_BackMusic_clicked()
{
    selectPhysicalButton(5);
}
void Buttoninterface::on_Button7_clicked()
{
    selectPhysicalButton(6);
}
void Buttoninterface::on_Button8_clicked()
{
    selectPhysicalButton(7);
}
void Buttoninterface::on_Button9_clicked()
{
    selectPhysicalButton(8);
}
void Buttoninterface::on_Button10_clicked()
{
    selectPhysicalButton(9);
}
void Buttoninterface::on_Button11_clicked()
{
    selectPhysicalButton(10);
}
void Buttoninterface::on_Button12_clicked()
{
    selectPhysicalButton(11);
}
void Buttoninterface::on_Button13_clicked()
{
    selectPhysicalButton(12);
}
void Buttoninterface::on_Button14_clicked()
{
    selectPhysicalButton(13);
}
void Buttoninterface::on_Button15_clicked()
{
    selectPhysicalButton(14);
}
void Buttoninterface::on_Button16_clicked()
{
    selectPhysicalButton(15);
}
void Buttoninterface::on_Number1_clicked()
{
    selectByNumber(1);
}
void Buttoninterface::on_Number2_clicked()
{
    selectByNumber(2);
}
void Buttoninterface::on_Number3_clicked()
{
    selectByNumber(3);
}
void Buttoninterface::on_Number4_clicked()
{
    selectByNumber(4);
}
void Buttoninterface::on_Number5_clicked()
{
    selectByNumber(5);
}
void Buttoninterface::on_Number6_clicked()
{
    selectByNumber(6);
}
void Buttoninterface::on_Number7_clicked()
{
    selectByNumber(7);
}
void Buttoninterface::on_Number8_clicked()
{
    selectByNumber(8);
}
void Buttoninterface::on_Number9_clicked()
{
    selectByNumber(9);
}
void Buttoninterface::on_Number10_clicked()
{
    selectByNumber(10);
}
void Buttoninterface::on_Number11_clicked()
{
    selectByNumber(11);
}
void Buttoninterface::on_Number12_clicked()
{
    selectByNumber(12);
}
void Buttoninterface::on_Number13_clicked()
{
    selectByNumber(13);
}
void Buttoninterface::on_Number14_clicked()
{
    selectByNumber(14);
}
void Buttoninterface::on_Number15_clicked()
{
    selectByNumber(15);
}
void Buttoninterface::on_Number16_clicked()
{
    selectByNumber(16);
}

void Buttoninterface::on_stackedWidget_currentChanged(int index)
{
    // The function list covers the selector list while it is open.
    if (index == 0)
        ui->scrollArea_11->raise();
    else
        ui->stackedWidget->raise();
}

void Buttoninterface::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || event->type() != QEvent::MouseButtonPress)
        return;
    const QPoint p = event->pos();
    const QPoint q = p - QPoint(0, 340);
    auto in = [](QWidget *w, const QPoint &point) { return w->geometry().contains(point); };
    auto functionOpen = [this] { return ui->stackedWidget->currentIndex() != 0; };
    auto debounceShown = [this] { return ui->stackedWidget_2->currentIndex() == 4; };
    auto clearSelection = [this] {
        clearGroup(selectorGroup);
        closePanels();
    };

    if (functionOpen() && !debounceShown()) {
        if (!in(ui->groupBox, p))
            closePanels();
    } else if (functionOpen() && debounceShown()) {
        if (!in(ui->scrollArea_11, p) && !in(ui->stackedWidget, q))
            closePanels();
    }

    if (!functionOpen() && debounceShown()) {
        if (!in(ui->scrollArea_11, p) || in(ui->stackedWidget, q))
            clearSelection();
    } else if (functionOpen() && debounceShown()) {
        if (!in(ui->groupBox, p))
            clearSelection();
    } else if (functionOpen() && !debounceShown()) {
        if (!in(ui->scrollArea_11, p) && !in(ui->stackedWidget, p) && !in(ui->stackedWidget_2, p))
            clearSelection();
    }

    bool onMarker = false;
    for (QAbstractButton *marker : numberGroup->buttons())
        onMarker = onMarker || in(marker, p);
    if (!onMarker)
        clearGroup(numberGroup);

    if (in(ui->widget, p))
        clearSelection();
}

// ---------------------------------------------------------------------------
// Key sequences

bool Buttoninterface::assignKeyCombination(int button, QString text)
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    uncheckAllOptions();
    const std::optional<KeyComboRecord> record = buttonfn::parseKeyCombination(text);
    const bool written = record && functionOptions->writeKeySequence(button, *record, text);
    ui->stackedWidget->setCurrentWidget(ui->page_2);
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(look::selectorScrollBarSheet(true));
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    return written;
}

bool Buttoninterface::assignMultimediaKey(int button, int key)
{
    if (key < 0 || key > 0xFF)
        return false;
    const keytable::ConsumerKey *consumer = keytable::consumerKeyByLowByte(quint8(key));
    if (!consumer)
        return false;
    return functionOptions->writeKeySequence(button, buttonfn::makeConsumerKeyRecord(consumer->usage),
                                             formButton(consumer->option)->text());
}

// ---------------------------------------------------------------------------
// Texts

void Buttoninterface::SlotAllLanguage(int index)
{
    // A language without a loaded dictionary reads the English texts.
    const int language = catalogueLanguage(index);

    // The function list keeps a font of its own; every run after the first
    // (the constructor's, before the page's fonts are scaled with the window)
    // brings it to the screen's size.
    const QString family = QStringLiteral("微软雅黑");
    const int points = index == 4 ? 7 : 9;
    const QFont functionFont = languageApplied == 1 ? look::screenFont(family, points) : QFont(family, points);
    for (QAbstractButton *button : functionGroup->buttons())
        button->setFont(functionFont);
    languageApplied = 1;

    const QString importText = catalogueText(QStringLiteral("key"), QStringLiteral("Import"), language);
    const QString exportText = catalogueText(QStringLiteral("key"), QStringLiteral("Export"), language);
    ui->ImportData->setToolTip(index == 5 ? importText : QString());
    ui->ImportData->setText(importText);
    ui->OutputData->setToolTip(index == 5 ? exportText : QString());
    ui->OutputData->setText(exportText);

    auto labels = [language](const char *value, int position) {
        return optionLabel(QLatin1String(value), position, language);
    };
    auto single = [language](const char *value) { return optionLabel(QLatin1String(value), 0, language); };

    ui->FireKey->setText(labels("0x0100", 3));
    ui->RightKey->setText(labels("0x0200", 3));
    ui->BackKey->setText(labels("0x0400", 0));
    ui->StartPause->setText(labels("0x1000", 0));
    ui->TopMusic->setText(labels("0x0800", 0));
    ui->BackMusic->setText(labels("0x0100", 0));
    ui->Button7->setText(QStringLiteral("DPI+"));
    ui->Button8->setText(QStringLiteral("DPI-"));
    for (int b = 8; b < buttonfn::kButtonCount; ++b)
        selector(b)->setText(labels("0x0100", 0));

    ui->LeftKey_3->setText(labels("0x0100", 3));
    ui->RightKey_3->setText(labels("0x0200", 3));
    ui->MidKey->setText(labels("0x0400", 0));
    ui->BackKey_2->setText(labels("0x0800", 0));
    ui->ForWardKey->setText(labels("0x1000", 0));
    ui->DPI_2->setText(single("7"));
    ui->DPI_6->setText(single("4"));
    ui->DPI_8->setText(single("5"));
    ui->DPI_5->setText(single("0"));
    ui->DPI_13->setText(single("B"));
    ui->DPI_11->setText(single("3"));
    ui->DPI_7->setText(single("2"));
    ui->DPI_12->setText(single("1005"));
    ui->DPI_10->setText(single("6"));

    for (int i = 0; i < keytable::consumerKeyCount(); ++i) {
        const keytable::ConsumerKey &key = keytable::consumerKeyAt(i);
        if (QAbstractButton *option = formButton(key.option))
            option->setText(single(key.textKey));
    }
    ui->VolumeUp_2->setText(labels("0x0100", 2));
    ui->VolumeDown_2->setText(labels("0x0200", 2));
    ui->VolumeUp_14->setText(labels("0x0100", 1));
    ui->VolumeDown_14->setText(labels("0x0200", 1));
    ui->VolumeUp_8->setText(labels("0x0100", 0));

    ui->label_3->setText(catalogueText(QStringLiteral("key"), QStringLiteral("KeyDebounceTime"), language));
    ui->label_4->setText(catalogueText(QStringLiteral("key"), QStringLiteral("ButtonDown"), language));
    ui->label_5->setText(catalogueText(QStringLiteral("key"), QStringLiteral("ButtonUp"), language));
    ui->label_6->setText(catalogueText(QStringLiteral("key"), QStringLiteral("RollerDebounceTime"), language));

    macroPrefix = catalogueText(QStringLiteral("macro"), QStringLiteral("MacroSeond"), language);
    configPrefix = catalogueOption(QStringLiteral("ProfileOptions"), QStringLiteral("0"), language);
    configPrefix.remove(QLatin1Char('1'));

    const QString ms = QStringLiteral("ms");
    for (int i = 0; i < DebounceTime::kItemCount; ++i)
        ui->DebunceButton->setItemText(i, ms);
    for (int j = 0; j < ui->DebunceRelease->count(); ++j)
        ui->DebunceRelease->setItemText(j, QString::number(j) + ms);
    for (int k = 0; k < ui->WheelDebunce->count(); ++k)
        ui->WheelDebunce->setItemText(k, QString::number(10 * (k + 1)) + ms);

    // The labels follow the new texts: from the open device's record when
    // one is held, else from the cache of the device chosen last.
    FlashDataMap source{};
    bool haveRecord = false;
    if (currentFlashDataIsOpenDevice()) {
        source = currentFlashData;
        haveRecord = true;
    } else if (loadDeviceCache(selectedCacheName.get(), &source)) {
        if (deviceOnline)
            source = currentFlashData;
        haveRecord = true;
    }
    // Only the model's buttons are shown, with or without a record.
    showModelButtons(modelButtonCount());
    if (haveRecord) {
        fillMirrors(source);
        labelAll(source);
    }
    {
        const QSignalBlocker block(ui->ProjectChoose);
        const int current = ui->ProjectChoose->currentIndex();
        for (int k = 0; k < ui->ProjectChoose->count(); ++k)
            ui->ProjectChoose->setItemText(k, configPrefix + QString::number(k + 1));
        ui->ProjectChoose->setCurrentIndex(current);
    }
    emit PostMsg::instance()->SigAddConfig(ui->ProjectChoose->currentText());
}

void Buttoninterface::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        // Re-texting must not look like a user's choice: no box writes to
        // the mouse because its items were refilled.
        const QSignalBlocker blockSlot(ui->ProjectChoose);
        const QSignalBlocker blockRelease(ui->DebunceRelease);
        const QSignalBlocker blockWheel(ui->WheelDebunce);
        const int slot = ui->ProjectChoose->currentIndex();
        const int release = ui->DebunceRelease->currentIndex();
        const int wheel = ui->WheelDebunce->currentIndex();
        ui->retranslateUi(this);
        ui->ProjectChoose->setCurrentIndex(slot);
        ui->DebunceRelease->setCurrentIndex(release);
        ui->WheelDebunce->setCurrentIndex(wheel);
    }
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------
// Page actions

bool Buttoninterface::exportButtonConfig(const QString &path, const FlashDataMap &record)
{
    const QString group = QStringLiteral("Drive") + QString::number(currentDevice.get().modelIndex + 1);
    return writeConfigFile(path, ConfigIni::instance()->value(group, QStringLiteral("Sensor")), record);
}

void Buttoninterface::on_OutputData_clicked()
{
    // Only a record read from the open device in this attach is the mouse's
    // configuration; anything else would export another one.
    if (!currentFlashDataIsOpenDevice()) {
        emit PostMsg::instance()->SigMouseOffLineo(0);
        return;
    }
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("FileSave"), dialogStartFolder(QStringLiteral("G:")), QStringLiteral("File(*.bin)"));
    if (!path.isEmpty())
        exportTo(path);
}

bool Buttoninterface::exportTo(const QString &chosen)
{
    if (!currentFlashDataIsOpenDevice())
        return false;
    const QString path = withDefaultSuffix(chosen, QStringLiteral("bin"));
    const FlashDataMap record = currentFlashData;
    if (exportButtonConfig(path, record))
        return true;
    showExportFailed();
    return false;
}

void Buttoninterface::showExportFailed()
{
    InportFail notice;
    notice.textKey = QStringLiteral("DialogExportFail");
    notice.SlotAllLanguage(languageIndex);
    look::centreOn(&notice, this);
    notice.exec();
}

void Buttoninterface::on_ImportData_clicked()
{
    if (!openDeviceAnswers()) {
        emit PostMsg::instance()->SigMouseOffLineo(0);
        return;
    }
    const ModalOperation import;
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("SelectFile"), dialogStartFolder(QStringLiteral("G:")), QStringLiteral("File(*.bin)"));
    if (!path.isEmpty()) {
        UpDataParam wait;
        wait.importRequested = true;
        wait.fileName = path;
        wait.startJobTimer();
        look::centreOn(&wait, this, -75, -65);
        wait.exec();
    }
}

void Buttoninterface::on_ProjectChoose_activated(int index)
{
    if (openDeviceAnswers() || PageRefill::running(PageRefill::ButtonPage)) {
        // The slot is announced when the mouse reports it (SlotUpDataConfigUI).
        chooseConfigSlot(index);
        return;
    }
    const QSignalBlocker block(ui->ProjectChoose);
    ui->ProjectChoose->setCurrentIndex(ui->ProjectChoose->pressedIndex);
    emit PostMsg::instance()->SigMouseOffLineo(0);
}

void Buttoninterface::on_ProjectChoose_currentIndexChanged(int)
{
    // A change of index alone sends nothing; the user's choice is activated().
}

void Buttoninterface::on_DebunceRelease_currentIndexChanged(int index)
{
    if (!uiReady || index < 0)
        return;
    if (sendOrRestore(setReleaseDebounce(index), ui->DebunceRelease, &QComboBox::setCurrentIndex, releaseDebounceIndex))
        releaseDebounceIndex = index;
}

void Buttoninterface::on_WheelDebunce_currentIndexChanged(int index)
{
    if (!uiReady || index < 0)
        return;
    if (sendOrRestore(setWheelDebounce((index + 1) * 10), ui->WheelDebunce, &QComboBox::setCurrentIndex,
                      wheelDebounceIndex))
        wheelDebounceIndex = index;
}

// ---------------------------------------------------------------------------
// Macros (the binding itself is the helper's)

void Buttoninterface::buildMacroList()
{
    macroBinding->build();
}

void Buttoninterface::SlotAddMacroButton()
{
    macroBinding->rebuild();
}

QList<QToolButton *> Buttoninterface::macroListButtons() const
{
    return macroBinding->buttons();
}

void Buttoninterface::on_DPI_10_clicked()
{
    if (!macroBinding->buttons().isEmpty()) {
        ui->stackedWidget_2->setCurrentWidget(ui->page_5);
        return;
    }
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    showMakeMacroNotice();
}

void Buttoninterface::showMakeMacroNotice()
{
    MakeMacro notice;
    notice.SlotAllLanguage(languageIndex);
    look::centreOn(&notice, this, -50, -70);
    notice.exec();
}

bool Buttoninterface::loadMacroRecord(const QString &name, MacroRecord *record, int *repeatMode) const
{
    return macroBinding->loadRecord(name, record, repeatMode);
}

QVector<int> Buttoninterface::buttonsBoundTo(const QString &name) const
{
    return macroBinding->boundTo(name);
}

void Buttoninterface::slotButtonClicked(bool checked)
{
    if (!checked)
        return;
    if (auto *button = qobject_cast<QToolButton *>(sender()))
        macroBinding->bind(button->text());
}

void Buttoninterface::SlotDeleteMacroButton(QString MacroName)
{
    macroBinding->deleted(MacroName);
}

void Buttoninterface::SlotMacroRename(QString MacroName, QString NewName)
{
    macroBinding->renamed(MacroName, NewName);
}

void Buttoninterface::SlotUpDataMacro(QString MacroName, int index)
{
    macroBinding->saved(MacroName, index);
}
