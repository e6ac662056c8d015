#include "pages/buttons/buttonoptions.h"

#include "app/look.h"
#include "device/devicestate.h"
#include "device/dpicodec.h"
#include "device/setters.h"
#include "pages/buttons/buttonnotices.h"
#include "pages/buttons/firekey.h"
#include "pages/buttons/groupkey.h"
#include "platform/keys/keytable.h"

#include <QAbstractButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>

namespace buttonoptions {

const QVector<PlainOption> &plainOptions()
{
    static const QVector<PlainOption> rows = {
        // the function list
        {"LeftKey_3", 1, 1, 0, true},
        {"RightKey_3", 1, 2, 0, true},
        {"MidKey", 1, 4, 0, true},
        {"BackKey_2", 1, 8, 0, true},
        {"ForWardKey", 1, 16, 0, true},
        {"DPI_2", 7, 0, 0, true},
        {"DPI_3", 9, 0, 0, true},
        {"DPI_5", 0, 0, 0, true},
        // DPI switch
        {"VolumeUp_8", 2, 1, 0, false},
        {"VolumeUp_9", 2, 2, 0, false},
        {"VolumeUp_10", 2, 3, 0, false},
        // tilt
        {"VolumeUp_2", 3, 1, 0, false},
        {"VolumeDown_2", 3, 2, 0, false},
        // wheel
        {"VolumeUp_14", 11, 1, 0, false},
        {"VolumeDown_14", 11, 2, 0, false},
        // light toggles; the firmware gives p1 2 no meaning
        {"VolumeUp_4", 8, 0, 0, false},
        {"VolumeUp_5", 8, 1, 0, false},
        {"VolumeUp_6", 8, 3, 0, false},
        {"VolumeUp_7", 8, 4, 0, false},
    };
    return rows;
}

const QVector<DpiLockOption> &dpiLockOptions()
{
    // The object names do not follow the values.
    static const QVector<DpiLockOption> rows = {
        {"VolumeUp_11", 100}, {"VolumeUp_12", 200},  {"VolumeUp_13", 300},  {"VolumeUp_16", 400},
        {"VolumeUp_15", 500}, {"VolumeUp_19", 600},  {"VolumeUp_20", 700},  {"VolumeUp_22", 800},
        {"VolumeUp_18", 900}, {"VolumeUp_24", 1000}, {"VolumeUp_23", 1100}, {"VolumeUp_21", 1200},
    };
    return rows;
}

QString optionSheet(const QString &pictureDir)
{
    return look::imageSheet(
        QStringLiteral("QToolButton"), pictureDir,
        {QStringLiteral("CMenuTitle.png"), QString(), QString(), QStringLiteral("CMenuTitleChecked.png")},
        look::Fit::Stretch, look::rgb(look::Role::Button));
}

const FunctionPanel *functionPanel(int type, int p1)
{
    static const FunctionPanel rows[] = {
        {buttonfn::Undefined, -1, "page_9", "DPI_5", 9},
        {buttonfn::MouseButton, buttonfn::LeftBit, "page_9", "LeftKey_3", 0},
        {buttonfn::MouseButton, buttonfn::RightBit, "page_9", "RightKey_3", 1},
        {buttonfn::MouseButton, buttonfn::MiddleBit, "page_9", "MidKey", 2},
        {buttonfn::MouseButton, buttonfn::BackBit, "page_9", "BackKey_2", 3},
        {buttonfn::MouseButton, buttonfn::ForwardBit, "page_9", "ForWardKey", 4},
        {buttonfn::MouseButton, -1, "page_9", nullptr, 0},
        {buttonfn::DpiSwitch, -1, "page_7", "DPI_7", 13},
        {buttonfn::Tilt, -1, "page_4", "DPI_11", 10},
        {buttonfn::FireKey, -1, "page_9", "DPI_6", 7},
        {buttonfn::Macro, -1, "page_5", "DPI_10", 15},
        {buttonfn::ReportRateSwitch, -1, "page_9", "DPI_2", 5},
        {buttonfn::LightToggle, -1, "page_6", "DPI_9", 12},
        {buttonfn::ConfigSwitch, -1, "page_9", "DPI_3", 6},
        {buttonfn::DpiLock, -1, "page_8", "DPI_4", 15},
        {buttonfn::Wheel, -1, "page_10", "DPI_13", 10},
    };
    for (const FunctionPanel &row : rows)
        if (row.type == type && (row.p1 < 0 || row.p1 == p1))
            return &row;
    return nullptr;
}

const char *panelOption(int type, int p1)
{
    for (const PlainOption &option : plainOptions())
        if (!option.listEntry && option.type == type && option.p1 == p1)
            return option.object;
    return nullptr;
}

QStringList rightPanelOptions()
{
    QStringList names;
    for (int i = 0; i < keytable::consumerKeyCount(); ++i)
        names << QLatin1String(keytable::consumerKeyAt(i).option);
    for (const PlainOption &option : plainOptions())
        if (!option.listEntry)
            names << QLatin1String(option.object);
    for (const DpiLockOption &option : dpiLockOptions())
        names << QLatin1String(option.object);
    return names;
}

} // namespace buttonoptions

using namespace buttonoptions;

ButtonFunctionOptions::ButtonFunctionOptions(QWidget *page, PageHooks hooks, QObject *parent)
    : QObject(parent), page(page), hooks(std::move(hooks))
{
    for (const PlainOption &option : plainOptions())
        if (auto *button = child<QAbstractButton>(option.object))
            connect(button, &QAbstractButton::clicked, this,
                    [this, &option, button](bool checked) { choosePlain(option, button, checked); });

    for (const DpiLockOption &option : dpiLockOptions())
        if (auto *button = child<QAbstractButton>(option.object))
            connect(button, &QAbstractButton::clicked, this,
                    [this, &option, button](bool checked) { chooseDpiLock(option, button, checked); });

    for (int i = 0; i < keytable::consumerKeyCount(); ++i) {
        const keytable::ConsumerKey &key = keytable::consumerKeyAt(i);
        if (auto *button = child<QAbstractButton>(key.option))
            connect(button, &QAbstractButton::clicked, this,
                    [this, &key, button](bool checked) { chooseConsumerKey(key.usage, button, checked); });
    }

    // The right panel's pages that a function-list entry opens; nothing is
    // written and no check mark changes.
    const struct
    {
        const char *entry;
        const char *page;
    } switches[] = {{"DPI_11", "page_4"}, {"DPI_13", "page_10"}, {"DPI_4", "page_8"},
                    {"DPI_7", "page_7"},  {"DPI_9", "page_6"},   {"DPI_12", "page_3"}};
    auto *right = child<QStackedWidget>("stackedWidget_2");
    for (const auto &s : switches) {
        auto *entry = child<QAbstractButton>(s.entry);
        QWidget *target = child(s.page);
        if (entry && target && right)
            connect(entry, &QAbstractButton::clicked, this, [right, target] { right->setCurrentWidget(target); });
    }
    // However the DPI lock page opens (its entry, or the display of a button
    // that holds a lock), it offers only the values of the open sensor.
    if (right)
        connect(right, &QStackedWidget::currentChanged, this, [this, right] {
            if (right->currentWidget() == child("page_8"))
                showDpiLockValues();
        });

    // The fire key and the key combination are MyToolButtons: a press emits
    // clicked(false), a double click clicked(true). Either opens the dialog
    // once; nothing is written before the dialog was confirmed.
    if (auto *fire = child<QAbstractButton>("DPI_6"))
        connect(fire, &QAbstractButton::clicked, this, [this] { chooseFireKey(); });
    if (auto *combination = child<QAbstractButton>("DPI_8"); combination && this->hooks.keyComboRecord)
        connect(combination, &QAbstractButton::clicked, this, [this] { chooseKeyCombination(); });
}

template <class T>
T *ButtonFunctionOptions::child(const char *name) const
{
    return page->findChild<T *>(QLatin1String(name));
}

int ButtonFunctionOptions::selectedButton() const
{
    for (int i = 0; i < buttonfn::kButtonCount; ++i) {
        const int b = buttonfn::selectorListOrder()[i];
        if (auto *button = child<QAbstractButton>(buttonfn::selectorName(b)); button && button->isChecked())
            return b;
    }
    return -1;
}

std::optional<int> ButtonFunctionOptions::dpiLockCode(int dpi) const
{
    readSensorTable();
    const QString sensor = hooks.sensorModel ? hooks.sensorModel() : QString();
    if (!buttonfn::dpiLockAvailable(sensorTable, sensor, dpi))
        return std::nullopt;
    return buttonfn::dpiToCode(sensorTable, sensor, dpi);
}

QString ButtonFunctionOptions::captionOf(const char *object) const
{
    auto *button = child<QAbstractButton>(object);
    return button ? button->text() : QString();
}

void ButtonFunctionOptions::relabel(int device, const QString &text)
{
    if (const char *name = buttonfn::selectorName(device))
        if (auto *selector = child<QAbstractButton>(name))
            selector->setText(text);
}

bool ButtonFunctionOptions::write(int b, const ButtonFunction &function, const KeyComboRecord *keys,
                                  const QString &label)
{
    const int buttons = hooks.buttonCount ? hooks.buttonCount() : buttonfn::kButtonCount;
    if (b < 0 || b >= buttonfn::kButtonCount || b >= buttons)
        return false;
    if (hooks.wouldLoseLeftClick && hooks.wouldLoseLeftClick(b, function.type, function.p1))
        return false;
    const bool sent =
        keys ? setButtonKeyCombo(b, &function, keys) : setButtonFunction(b, function.type, function.p1, function.p2);
    if (!sent)
        return false;
    relabel(b, label);
    if (hooks.setButtonState)
        hooks.setButtonState(b, function.type, function.p1, function.p2);
    return true;
}

bool ButtonFunctionOptions::writeKeySequence(int b, const KeyComboRecord &record, const QString &label)
{
    return write(b, ButtonFunction{buttonfn::KeyCombination, 0, 0}, &record, label);
}

bool ButtonFunctionOptions::refuseLeftClickLoss(int b, int type, int p1)
{
    if (b < 0 || !hooks.wouldLoseLeftClick || !hooks.wouldLoseLeftClick(b, type, p1))
        return false;
    LeftButtonOnly::showOver(page);
    return true;
}

void ButtonFunctionOptions::closePanels(bool keepFunctionList)
{
    if (auto *left = child<QStackedWidget>("stackedWidget"))
        if (QWidget *target = child(keepFunctionList ? "page_2" : "page"))
            left->setCurrentWidget(target);
    if (auto *area = child<QScrollArea>("scrollArea_11"))
        area->verticalScrollBar()->setStyleSheet(look::selectorScrollBarSheet(true));
    if (auto *right = child<QStackedWidget>("stackedWidget_2"))
        if (QWidget *home = child("page_9"))
            right->setCurrentWidget(home);
}

void ButtonFunctionOptions::choosePlain(const PlainOption &option, QAbstractButton *button, bool checked)
{
    if (qstrcmp(option.object, "LeftKey_3") == 0)
        if (auto *right = child<QStackedWidget>("stackedWidget_2"))
            if (QWidget *home = child("page_9"))
                right->setCurrentWidget(home);
    if (!checked)
        return;
    if (option.listEntry && hooks.uncheckOptions)
        hooks.uncheckOptions();
    const int b = selectedButton();
    if (!refuseLeftClickLoss(b, option.type, option.p1))
        write(b, ButtonFunction{option.type, option.p1, option.p2}, nullptr, button->text());
    closePanels();
}

void ButtonFunctionOptions::chooseDpiLock(const DpiLockOption &option, QAbstractButton *button, bool checked)
{
    if (!checked)
        return;
    const std::optional<int> code = dpiLockCode(option.dpi);
    const int b = selectedButton();
    // A value the record cannot hold is not offered; should its button be
    // clicked all the same, nothing is written.
    if (code && !refuseLeftClickLoss(b, buttonfn::DpiLock, *code))
        write(b, ButtonFunction{buttonfn::DpiLock, quint8(*code), 0}, nullptr,
              captionOf("DPI_4") + QLatin1Char('-') + button->text());
    closePanels();
}

void ButtonFunctionOptions::showDpiLockValues()
{
    for (const DpiLockOption &option : dpiLockOptions())
        if (auto *button = child<QAbstractButton>(option.object))
            button->setVisible(dpiLockCode(option.dpi).has_value());
}

void ButtonFunctionOptions::chooseConsumerKey(quint16 usage, QAbstractButton *button, bool checked)
{
    if (!checked)
        return;
    const int b = selectedButton();
    if (!refuseLeftClickLoss(b, buttonfn::KeyCombination, 0))
        writeKeySequence(b, buttonfn::makeConsumerKeyRecord(usage), button->text());
    closePanels();
}

void ButtonFunctionOptions::chooseFireKey()
{
    // A silent mouse gets the offline notice, as every other option gives
    // it, and no dialog.
    if (!checkDeviceOnline() && !buttonPageRefreshing) {
        closePanels();
        return;
    }
    const int b = selectedButton();
    // The only left click is refused before the user sets values that could
    // not be written.
    if (refuseLeftClickLoss(b, buttonfn::FireKey, kDefaultFireInterval)) {
        closePanels();
        return;
    }
    FireKey dialog;
    // The preset comes from the page's mirror of the button, not from its
    // label: a label can read like the fire key without being one.
    const ButtonFunction held = (b >= 0 && hooks.buttonState) ? hooks.buttonState(b) : ButtonFunction{0, 0, 0};
    if (held.type == buttonfn::FireKey) {
        dialog.setInterval(held.p1);
        dialog.setCount(held.p2);
    } else {
        dialog.setInterval(kDefaultFireInterval);
        dialog.setCount(kDefaultFireCount);
    }
    look::centreOn(&dialog, page, -50, -70);
    dialog.exec();
    if (!dialog.accepted)
        return;
    fireInterval = dialog.interval;
    fireCount = dialog.count;
    writeFireKey();
}

void ButtonFunctionOptions::writeFireKey()
{
    if (hooks.uncheckOptions)
        hooks.uncheckOptions();
    write(selectedButton(), ButtonFunction{buttonfn::FireKey, quint8(fireInterval), quint8(fireCount)}, nullptr,
          captionOf("DPI_6"));
    closePanels();
}

void ButtonFunctionOptions::chooseKeyCombination()
{
    if (refuseLeftClickLoss(selectedButton(), buttonfn::KeyCombination, 0)) {
        closePanels(true);
        return;
    }
    GroupKey dialog;
    look::centreOn(&dialog, page, -50, -70);
    dialog.exec();
    if (!dialog.accepted)
        return;
    if (auto *right = child<QStackedWidget>("stackedWidget_2"))
        if (QWidget *home = child("page_9"))
            right->setCurrentWidget(home);
    if (hooks.uncheckOptions)
        hooks.uncheckOptions();
    const int b = selectedButton();
    if (b >= 0)
        if (const std::optional<KeyComboRecord> record = hooks.keyComboRecord(dialog.keyText))
            writeKeySequence(b, *record, dialog.keyText);
    // The function list stays open after a combination.
    closePanels(true);
}
