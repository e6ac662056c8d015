#include "pages/buttons/macrobinding.h"

#include "app/configini.h"
#include "app/delays.h"
#include "app/look.h"
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/setters.h"
#include "pages/buttons/buttonfunction.h"
#include "pages/buttons/buttoninterface.h"
#include "pages/buttons/buttonoptions.h"
#include "pages/macro/macrostore.h"
#include "platform/keys/keytable.h"
#include "ui_buttoninterface.h"

#include <QButtonGroup>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstring>
#include <optional>

namespace {

// The macro list shows at least this many rows; the rows below the last
// macro are hidden placeholders, so a short list keeps the page's layout.
constexpr int kMacroListRows = 7;

const QString kListFamily = QStringLiteral("微软雅黑");

} // namespace

MacroBinding::MacroBinding(Buttoninterface &page) : page(page) {}

void MacroBinding::build()
{
    layout = new QVBoxLayout;
    layout->setSizeConstraint(QLayout::SetFixedSize);
    listWidget = new QWidget(&page);
    listWidget->setObjectName(QStringLiteral("macroListWidget"));
    listWidget->setMinimumSize(205, 220);
    listWidget->setMaximumSize(205, 220);
    look::setSheet(listWidget, QStringLiteral("background-color:transparent;border:none;"));
    listWidget->setLayout(layout);
    page.ui->scrollArea_7->setWidget(listWidget);
    // The form's own contents widget is gone with setWidget().
    page.ui->scrollAreaWidgetContents_7 = nullptr;
    // The first list is scaled with the whole window once it is shown.
    fill(QFont(kListFamily, 9));
}

void MacroBinding::rebuild()
{
    qDeleteAll(listButtons);
    listButtons.clear();
    fill(look::screenFont(kListFamily, 9));
}

void MacroBinding::fill(const QFont &font)
{
    // The same macros the macro editor lists: the macro files whose names
    // are safe, by name ignoring case.
    const QStringList names = MacroStore::listNames(MacroStore::defaultFolder());
    const QString sheet = buttonoptions::optionSheet(page.pictureDir);
    for (const QString &name : names) {
        auto *button = new QToolButton(listWidget);
        button->setText(name);
        look::setSheet(button, sheet);
        button->setFont(font);
        button->setMinimumSize(174, 22);
        button->setCheckable(true);
        layout->addWidget(button);
        page.optionGroup->addButton(button);
        listButtons.append(button);
        QObject::connect(button, &QToolButton::clicked, &page, &Buttoninterface::slotButtonClicked);
    }
    if (names.isEmpty())
        return;
    for (int row = names.size(); row < kMacroListRows; ++row) {
        auto *placeholder = new QToolButton(listWidget);
        look::setSheet(placeholder, sheet);
        placeholder->setFont(font);
        placeholder->setMinimumSize(174, 23);
        placeholder->setCheckable(true);
        placeholder->setEnabled(false);
        placeholder->hide();
        layout->addWidget(placeholder);
        listButtons.append(placeholder);
    }
}

bool MacroBinding::loadRecord(const QString &name, MacroRecord *record, int *repeatMode) const
{
    std::memset(record, 0, sizeof *record);
    if (!uiReady)
        return false;
    QString clean = name;
    clean.remove(QChar(0));
    MacroStore::Contents contents;
    if (MacroStore::load(MacroStore::defaultFolder(), clean, &contents) != MacroStore::LoadResult::Loaded)
        return false;
    // Events go in by their kind and code, never through the names shown.
    *record = MacroStore::toRecord(clean, contents.events);
    if (repeatMode)
        *repeatMode = contents.repeatMode;
    return true;
}

QVector<int> MacroBinding::boundTo(const QString &name) const
{
    QString wanted = name;
    wanted.remove(QChar(0));
    const QString prefix = page.macroPrefix;
    QVector<int> bound;
    for (int i = 0; i < buttonfn::kButtonCount; ++i) {
        const int b = buttonfn::selectorListOrder()[i];
        // A key combination may read like a macro's label; only a button
        // holding a macro is bound to one.
        if (page.buttonTypes.at(b) != buttonfn::Macro)
            continue;
        const QString label = page.selector(b)->text().remove(QChar(0));
        if (label.startsWith(prefix) && label.mid(prefix.size()) == wanted)
            bound.append(b);
    }
    return bound;
}

void MacroBinding::bind(const QString &name)
{
    const int b = page.selectedButton();
    MacroRecord record;
    int repeatMode = 1;
    if (loadRecord(name, &record, &repeatMode) && b >= 0 && !page.wouldLoseLeftClick(b, buttonfn::Macro, b)) {
        const ButtonFunction function{buttonfn::Macro, quint8(b), quint8(repeatMode)};
        if (setButtonMacro(b, &function, &record)) {
            page.selector(b)->setText(page.macroPrefix + name);
            page.setButtonState(b, buttonfn::Macro, b, repeatMode);
        }
    }
    page.closePanels();
}

ButtonFunction MacroBinding::macroFreeDefault(int b) const
{
    switch (b) {
    case 0:
        return {buttonfn::MouseButton, buttonfn::LeftBit, 0};
    case 1:
        return {buttonfn::MouseButton, buttonfn::RightBit, 0};
    case 2:
        return {buttonfn::MouseButton, buttonfn::MiddleBit, 0};
    case 3:
        return {buttonfn::MouseButton, buttonfn::BackBit, 0};
    case 4:
        return {buttonfn::MouseButton, buttonfn::ForwardBit, 0};
    case 5:
    case 6:
    case 7:
        return {buttonfn::DpiSwitch, quint8(b - 4), 0};
    case 8:
    case 9:
        return {buttonfn::ReportRateSwitch, 0, 0};
    case 10:
        // The fire key as the fire-key dialog last set it (its defaults
        // before the dialog was ever confirmed).
        return {buttonfn::FireKey, quint8(page.functionOptions->fireInterval), quint8(page.functionOptions->fireCount)};
    default:
        return {buttonfn::Undefined, 0, 0};
    }
}

void MacroBinding::deleted(QString label)
{
    label.remove(QChar(0));
    QVector<int> bound;
    for (int i = 0; i < buttonfn::kButtonCount; ++i) {
        const int b = buttonfn::selectorListOrder()[i];
        if (page.buttonTypes.at(b) == buttonfn::Macro && page.selector(b)->text().remove(QChar(0)) == label)
            bound.append(b);
    }
    if (!bound.isEmpty()) {
        // Every bound button gets its default in one record, sent once: a
        // silent mouse changes nothing and is reported once. The key
        // sequences of other buttons stay as they are.
        const QString group = page.modelGroup();
        const bool sent = changeRecord([&](FlashDataMap &record) {
            for (const int b : bound) {
                const QStringList items =
                    ConfigIni::instance()->valueList(group, QStringLiteral("KeyParam") + QString::number(b + 1));
                std::optional<KeyComboRecord> keys;
                if (!items.isEmpty() && items.first().trimmed() == QLatin1String("0x05")) {
                    if (items.size() == 3) {
                        bool ok = false;
                        const int low = items.at(2).trimmed().toInt(&ok, 16);
                        const keytable::ConsumerKey *consumer =
                            ok && low >= 0 && low <= 0xFF ? keytable::consumerKeyByLowByte(quint8(low)) : nullptr;
                        if (consumer)
                            keys = buttonfn::makeConsumerKeyRecord(consumer->usage);
                    } else if (items.size() == 4) {
                        keys = buttonfn::parseKeyCombination(items.at(3).trimmed());
                    }
                }
                if (keys) {
                    record.buttonFunctions[b] = {buttonfn::KeyCombination, 0, 0};
                    record.keyCombos[b] = *keys;
                } else {
                    // A key default the page cannot build falls back to the
                    // built-in one: the button must not stay on a macro that
                    // is gone.
                    record.buttonFunctions[b] = macroFreeDefault(b);
                    std::memset(&record.keyCombos[b], 0, sizeof record.keyCombos[b]);
                }
            }
        });
        if (sent) {
            for (const int b : bound) {
                const ButtonFunction f = buttonfn::buttonFunction(currentFlashData, b);
                page.setButtonState(b, f.type, f.p1, f.p2);
                page.showButtonFunction(b, f.type, f.p1, f.p2, currentFlashData);
            }
        }
    }
    page.clearGroup(page.selectorGroup);
    page.closePanels();
}

void MacroBinding::renamed(const QString &name, QString newName)
{
    newName.remove(QChar(0));
    for (const int b : boundTo(name)) {
        const MacroRecord &held = currentFlashData.macros[b];
        MacroRecord renamedRecord = MacroStore::toRecord(newName, {});
        renamedRecord.eventCount = held.eventCount;
        std::memcpy(renamedRecord.events, held.events, sizeof renamedRecord.events);
        const ButtonFunction function = currentFlashData.buttonFunctions[b];
        // The label says what the mouse holds: it changes only once the
        // mouse took the new name. A silent mouse is reported once.
        if (!setButtonMacro(b, &function, &renamedRecord))
            return;
        page.selector(b)->setText(page.macroPrefix + newName);
    }
}

void MacroBinding::saved(QString name, int what)
{
    name.remove(QChar(0));
    const QVector<int> bound = boundTo(name);
    if (what == 0) {
        if (bound.isEmpty())
            return;
        // The macro page answers each request with the content it saved;
        // the pause gives the mouse time after the save's own traffic
        // without holding up the program.
        QTimer::singleShot(delays::ms(delays::Delay::MacroResendDelay), &page, [name, bound] {
            for (const int b : bound)
                emit PostMsg::instance()->SigMacroDownLoadData(name, b);
        });
        return;
    }
    if (what != 1)
        return;
    MacroStore::Contents contents;
    const int repeatMode =
        MacroStore::load(MacroStore::defaultFolder(), name, &contents) == MacroStore::LoadResult::Loaded
            ? contents.repeatMode
            : MacroStore::repeatModeFromLine(QByteArray());
    for (const int b : bound) {
        ButtonFunction function = currentFlashData.buttonFunctions[b];
        function.p2 = quint8(repeatMode);
        const MacroRecord record = currentFlashData.macros[b];
        if (!setButtonMacro(b, &function, &record))
            return;
        page.setButtonState(b, function.type, function.p1, repeatMode);
    }
}
