// The function options of the button page against the simulated mouse:
// what each option writes into the selected button (triple and key record),
// the labels and the page's mirror after a write, the panels after every
// choice, a silent mouse, no selection, the DPI lock values per sensor, and
// the fire-key and key-combination dialogs' roads.
//
// The page here is a small stand-in with the form's object names (selectors,
// the two stacks and their pages, the option buttons), so the handlers are
// tested on their own.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "app/widgets/mytoolbutton.h"
#include "device/devicestate.h"
#include "device/dpicodec.h"
#include "device/setters.h"
#include "pages/buttons/buttonoptions.h"
#include "pages/buttons/firekey.h"
#include "pages/buttons/groupkey.h"
#include "platform/keys/keytable.h"
#include "support/modalhandler.h"
#include "support/pagefixture.h"
#include "support/testmain.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include <cstring>
#include <memory>

namespace sim = hidusb::sim;
using namespace buttonoptions;

namespace {

constexpr int kTripleOffset = 107;
constexpr int kKeyComboOffset = 156;

// A page with the form's object names and nothing else.
class StandInPage : public QWidget
{
public:
    StandInPage()
    {
        auto *selectorArea = new QScrollArea(this);
        selectorArea->setObjectName("scrollArea_11");
        auto *selectorList = new QWidget;
        auto *selectorLayout = new QVBoxLayout(selectorList);
        selectorArea->setWidget(selectorList);
        selectorGroup.setExclusive(true);
        for (int device = 0; device < buttonfn::kButtonCount; ++device) {
            auto *b = new QToolButton;
            b->setObjectName(buttonfn::selectorName(device));
            b->setCheckable(true);
            b->setText(QStringLiteral("factory %1").arg(device));
            selectorLayout->addWidget(b);
            selectorGroup.addButton(b);
        }

        left = new QStackedWidget(this);
        left->setObjectName("stackedWidget");
        left->addWidget(named(new QWidget, "page"));
        QWidget *list = named(new QWidget, "page_2");
        left->addWidget(list);
        auto *listLayout = new QVBoxLayout(list);
        optionGroup.setExclusive(true);
        for (const char *entry :
             {"LeftKey_3", "RightKey_3", "MidKey", "BackKey_2", "ForWardKey", "DPI_2", "DPI_3", "DPI_6", "DPI_8",
              "DPI_5", "DPI_13", "DPI_11", "DPI_4", "DPI_9", "DPI_7", "DPI_12", "DPI_10"}) {
            QToolButton *b =
                qstrcmp(entry, "DPI_6") == 0 || qstrcmp(entry, "DPI_8") == 0 ? new MyToolButton : new QToolButton;
            b->setObjectName(entry);
            b->setCheckable(true);
            b->setText(QStringLiteral("caption of %1").arg(entry));
            listLayout->addWidget(b);
            optionGroup.addButton(b);
        }
        find<QToolButton>("DPI_4")->setText("DPI Lock");

        right = new QStackedWidget(this);
        right->setObjectName("stackedWidget_2");
        subOptionGroup.setExclusive(true);
        QStringList multimedia;
        for (int i = 0; i < keytable::consumerKeyCount(); ++i)
            multimedia << keytable::consumerKeyAt(i).option;
        QStringList dpiLock;
        for (const DpiLockOption &o : dpiLockOptions())
            dpiLock << o.object;
        const QList<QPair<const char *, QStringList>> pages = {
            {"page_3", multimedia},
            {"page_5", {}},
            {"page_6", {"VolumeUp_4", "VolumeUp_5", "VolumeUp_6", "VolumeUp_7"}},
            {"page_8", dpiLock},
            {"page_9", {}},
            {"page_4", {"VolumeUp_2", "VolumeDown_2"}},
            {"page_7", {"VolumeUp_8", "VolumeUp_9", "VolumeUp_10"}},
            {"page_10", {"VolumeUp_14", "VolumeDown_14"}},
        };
        for (const auto &p : pages) {
            QWidget *page = named(new QWidget, p.first);
            auto *layout = new QVBoxLayout(page);
            for (const QString &name : p.second) {
                auto *b = new QToolButton;
                b->setObjectName(name);
                b->setCheckable(true);
                b->setText("caption of " + name);
                layout->addWidget(b);
                subOptionGroup.addButton(b);
            }
            right->addWidget(page);
        }
        for (const DpiLockOption &o : dpiLockOptions())
            find<QToolButton>(o.object)->setText(QString::number(o.dpi));
        right->setCurrentWidget(find<QWidget>("page_9"));
        mirror.fill(ButtonFunction{1, 1, 0}, 16);
    }

    template <class T>
    T *find(const QString &name)
    {
        return findChild<T *>(name);
    }

    ButtonFunctionOptions::PageHooks hooks()
    {
        ButtonFunctionOptions::PageHooks h;
        h.uncheckOptions = [this] {
            ++uncheckCalls;
            subOptionGroup.setExclusive(false);
            for (QAbstractButton *b : subOptionGroup.buttons())
                b->setChecked(false);
            subOptionGroup.setExclusive(true);
        };
        h.setButtonState = [this](int b, int type, int p1, int p2) {
            mirror[b] = ButtonFunction{quint8(type), quint8(p1), quint8(p2)};
        };
        h.buttonState = [this](int b) { return mirror.value(b); };
        h.sensorModel = [] { return currentSensorModel; };
        h.keyComboRecord = [](const QString &text) { return buttonfn::parseKeyCombination(text); };
        return h;
    }

    // Chooses a selector and opens the function list, as the page does.
    void select(const char *selector)
    {
        find<QToolButton>(selector)->setChecked(true);
        left->setCurrentWidget(find<QWidget>("page_2"));
        find<QScrollArea>("scrollArea_11")->verticalScrollBar()->setStyleSheet("QScrollBar {width:0px;}");
    }

    bool panelsClosed()
    {
        return left->currentWidget() == find<QWidget>("page") && right->currentWidget() == find<QWidget>("page_9")
               && find<QScrollArea>("scrollArea_11")->verticalScrollBar()->styleSheet()
                      == QLatin1String("QScrollBar {width:10px;}");
    }

    QStackedWidget *left = nullptr;
    QStackedWidget *right = nullptr;
    QButtonGroup selectorGroup, optionGroup, subOptionGroup;
    QVector<ButtonFunction> mirror;
    int uncheckCalls = 0;

private:
    static QWidget *named(QWidget *w, const char *name)
    {
        w->setObjectName(name);
        return w;
    }
};

const char *selectorOf(int device)
{
    return buttonfn::selectorName(device);
}

FlashDataMap mouseFlash()
{
    sim::waitIdle();
    FlashDataMap record;
    std::memset(&record, 0, sizeof record);
    sim::flashRecord(QStringLiteral("mouse"), &record);
    return record;
}

QByteArray bytesOf(const FlashDataMap &record)
{
    return QByteArray(reinterpret_cast<const char *>(&record), int(sizeof record));
}

QByteArray tripleOf(const FlashDataMap &record, int device)
{
    return bytesOf(record).mid(kTripleOffset + 3 * device, 3);
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

int sends()
{
    int n = 0;
    for (const sim::JournalEntry &e : sim::journal())
        n += e.function == QLatin1String("ProtocolDataUpdate");
    return n;
}

} // namespace

class ButtonOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void plainOptions_data();
    void plainOptions();
    void functionListEntriesClearTheRightPanel();
    void uncheckedClickDoesNothing();
    void noSelectedButtonWritesNothing();
    void silentMouseKeepsEverything_data();
    void silentMouseKeepsEverything();
    void pageSwitchesOnlyShowPages();

    void dpiLock_data();
    void dpiLock();
    void dpiLockValuesOfEverySensor();

    void multimediaKeys_data();
    void multimediaKeys();

    void fireKeyPreset_data();
    void fireKeyPreset();
    void fireKeyWrites();
    void fireKeyDialogDeclined();
    void fireKeyDoubleClickOpensOneDialog();
    void fireKeyWithSilentMouse();

    void keyCombination();
    void keyCombinationCancelled();

private:
    void resetRecord();

    std::unique_ptr<StandInPage> page;
    std::unique_ptr<ButtonFunctionOptions> options;
    FlashDataMap start;
};

void ButtonOptionsTest::initTestCase()
{
    loadTextCatalogue();
    sim::setJournalEnabled(true);
    pagetest::openSimulatedMouse();
    pagetest::takeSimulatedMouseRecord();
    readSensorTable();
}

void ButtonOptionsTest::resetRecord()
{
    // Every button starts as a left click, so any write shows.
    FlashDataMap record = currentFlashData;
    for (ButtonFunction &f : record.buttonFunctions)
        f = ButtonFunction{1, 1, 0};
    for (KeyComboRecord &k : record.keyCombos)
        std::memset(&k, 0, sizeof k);
    QCOMPARE(replaceRecord(record), RecordWrite::Sent);
    start = mouseFlash();
    QCOMPARE(bytesOf(start), bytesOf(record));
}

void ButtonOptionsTest::init()
{
    sim::wake(QStringLiteral("mouse"));
    currentSensorModel = QStringLiteral("3950");
    resetRecord();
    page = std::make_unique<StandInPage>();
    options = std::make_unique<ButtonFunctionOptions>(page.get(), page->hooks());
    sim::clearJournal();
}

void ButtonOptionsTest::cleanup()
{
    options.reset();
    page.reset();
}

// ---------------------------------------------------------------------------

void ButtonOptionsTest::plainOptions_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("device");
    QTest::addColumn<QByteArray>("triple");
    for (const PlainOption &o : buttonoptions::plainOptions())
        for (int device : {4, 3, 15})
            QTest::addRow("%s/button %d", o.object, device) << o.object << device << bytes({o.type, o.p1, o.p2});
}

void ButtonOptionsTest::plainOptions()
{
    QFETCH(QString, option);
    QFETCH(int, device);
    QFETCH(QByteArray, triple);
    page->select(selectorOf(device));
    QToolButton *button = page->find<QToolButton>(option);
    // A right-panel option is reached through its page.
    if (button->parentWidget()->parentWidget() == page->right)
        page->right->setCurrentWidget(button->parentWidget());
    button->click();

    const FlashDataMap flash = mouseFlash();
    QCOMPARE(tripleOf(flash, device), triple);
    // Nothing else of the record changed.
    QByteArray expected = bytesOf(start);
    expected.replace(kTripleOffset + 3 * device, 3, triple);
    QCOMPARE(bytesOf(flash), expected);
    QCOMPARE(sends(), 1);
    QCOMPARE(page->find<QToolButton>(selectorOf(device))->text(), button->text());
    QCOMPARE(page->mirror[device].type, quint8(triple[0]));
    QCOMPARE(page->mirror[device].p1, quint8(triple[1]));
    QVERIFY(page->panelsClosed());
    QVERIFY(button->isChecked());
}

void ButtonOptionsTest::functionListEntriesClearTheRightPanel()
{
    page->select("FireKey");
    page->right->setCurrentWidget(page->find<QWidget>("page_4"));
    page->find<QToolButton>("VolumeUp_2")->click();
    QVERIFY(page->find<QToolButton>("VolumeUp_2")->isChecked());
    QCOMPARE(page->uncheckCalls, 0);

    page->select("RightKey");
    page->find<QToolButton>("MidKey")->click();
    QCOMPARE(page->uncheckCalls, 1);
    QVERIFY(!page->find<QToolButton>("VolumeUp_2")->isChecked());
    QCOMPARE(tripleOf(mouseFlash(), 0), bytes({3, 1, 0}));
    QCOMPARE(tripleOf(mouseFlash(), 1), bytes({1, 4, 0}));
}

void ButtonOptionsTest::uncheckedClickDoesNothing()
{
    page->select("BackKey");
    page->right->setCurrentWidget(page->find<QWidget>("page_4"));
    emit page->find<QToolButton>("VolumeUp_2")->clicked(false);
    emit page->find<QToolButton>("MidKey")->clicked(false);
    QCOMPARE(page->right->currentWidget(), page->find<QWidget>("page_4"));
    QCOMPARE(page->left->currentWidget(), page->find<QWidget>("page_2"));
    // The left button's entry brings the right panel home whatever the flag.
    emit page->find<QToolButton>("LeftKey_3")->clicked(false);
    QCOMPARE(page->right->currentWidget(), page->find<QWidget>("page_9"));
    QCOMPARE(page->left->currentWidget(), page->find<QWidget>("page_2"));
    QCOMPARE(sends(), 0);
    QCOMPARE(bytesOf(mouseFlash()), bytesOf(start));
}

void ButtonOptionsTest::noSelectedButtonWritesNothing()
{
    QCOMPARE(options->selectedButton(), -1);
    page->left->setCurrentWidget(page->find<QWidget>("page_2"));
    page->find<QToolButton>("DPI_5")->click();
    page->right->setCurrentWidget(page->find<QWidget>("page_3"));
    page->find<QToolButton>("StartPause_2")->click();
    page->right->setCurrentWidget(page->find<QWidget>("page_8"));
    page->find<QToolButton>("VolumeUp_11")->click();
    QVERIFY(page->panelsClosed());
    QCOMPARE(sends(), 0);
    QCOMPARE(bytesOf(mouseFlash()), bytesOf(start));
}

void ButtonOptionsTest::silentMouseKeepsEverything_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("onPage");
    QTest::newRow("function list") << "DPI_2"
                                   << "";
    QTest::newRow("tilt") << "VolumeDown_2"
                          << "page_4";
    QTest::newRow("DPI lock") << "VolumeUp_20"
                              << "page_8";
    QTest::newRow("multimedia") << "VolumeDown_6"
                                << "page_3";
}

void ButtonOptionsTest::silentMouseKeepsEverything()
{
    QFETCH(QString, option);
    QFETCH(QString, onPage);
    QVERIFY(sim::sleep(QStringLiteral("mouse")));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    page->select("TopMusic");
    if (!onPage.isEmpty())
        page->right->setCurrentWidget(page->find<QWidget>(onPage));
    const FlashDataMap before = currentFlashData;
    page->find<QToolButton>(option)->click();
    QCOMPARE(offline.count(), 1);
    QCOMPARE(page->find<QToolButton>("TopMusic")->text(), QString("factory 3"));
    QCOMPARE(page->mirror[3].type, quint8(1));
    QVERIFY(pagetest::sameRecord(currentFlashData, before));
    QVERIFY(page->panelsClosed());
    QVERIFY(page->find<QToolButton>(option)->isChecked());
    QVERIFY(sim::wake(QStringLiteral("mouse")));
    QCOMPARE(bytesOf(mouseFlash()), bytesOf(start));
}

void ButtonOptionsTest::pageSwitchesOnlyShowPages()
{
    page->select("FireKey");
    const QList<QPair<const char *, const char *>> switches = {{"DPI_11", "page_4"}, {"DPI_13", "page_10"},
                                                               {"DPI_4", "page_8"},  {"DPI_7", "page_7"},
                                                               {"DPI_9", "page_6"},  {"DPI_12", "page_3"}};
    for (const auto &s : switches) {
        page->find<QToolButton>(s.first)->click();
        QCOMPARE(page->right->currentWidget(), page->find<QWidget>(s.second));
        QCOMPARE(page->left->currentWidget(), page->find<QWidget>("page_2"));
    }
    QCOMPARE(sends(), 0);
    QCOMPARE(page->uncheckCalls, 0);
}

// ---------------------------------------------------------------------------

void ButtonOptionsTest::dpiLock_data()
{
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<QString>("extraLine");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("code"); // -1: not offered
    QTest::newRow("no table: 100") << "3950"
                                   << "" << 100 << 1;
    QTest::newRow("no table: 700") << "3950"
                                   << "" << 700 << 13;
    QTest::newRow("no table: 1200") << "3950"
                                    << "" << 1200 << 23;
    QTest::newRow("table: 100") << "VX26"
                                << "" << 100 << 0x10;
    QTest::newRow("table: 1100") << "VX26"
                                 << "" << 1100 << 0x1A;
    QTest::newRow("named value") << "TSTA"
                                 << "#define SENSOR_TSTA_DPI_400\t0x1F\n"
                                 << 400 << 31;
    // No name of the table reads the code back as 300: the selector would
    // not show what the mouse locks.
    QTest::newRow("value the table lacks") << "TSTA"
                                           << "#define SENSOR_TSTA_DPI_400\t0x1F\n"
                                           << 300 << -1;
    // The record holds one byte: 0x123 would lock another DPI.
    QTest::newRow("code beyond a byte") << "TSTB"
                                        << "#define SENSOR_TSTB_DPI_500\t0x123\n"
                                        << 500 << -1;
}

void ButtonOptionsTest::dpiLock()
{
    QFETCH(QString, sensor);
    QFETCH(QString, extraLine);
    QFETCH(int, dpi);
    QFETCH(int, code);
    if (!extraLine.isEmpty() && !sensorTable.isTableSensor(sensor))
        sensorTable.readLine(extraLine);
    currentSensorModel = sensor;
    const char *object = nullptr;
    for (const DpiLockOption &o : dpiLockOptions())
        if (o.dpi == dpi)
            object = o.object;
    QVERIFY(object);

    page->select("Button9");
    page->find<QToolButton>("DPI_4")->click();
    QToolButton *value = page->find<QToolButton>(object);
    QCOMPARE(value->isVisibleTo(page->right), code >= 0);
    value->click();
    if (code < 0) {
        QCOMPARE(sends(), 0);
        QCOMPARE(page->find<QToolButton>("Button9")->text(), QString("factory 8"));
    } else {
        QCOMPARE(tripleOf(mouseFlash(), 8), bytes({10, code, 0}));
        QCOMPARE(sends(), 1);
        QCOMPARE(page->find<QToolButton>("Button9")->text(), QStringLiteral("DPI Lock-%1").arg(dpi));
        QCOMPARE(int(page->mirror[8].p1), code);
    }
    QVERIFY(page->panelsClosed());
}

void ButtonOptionsTest::dpiLockValuesOfEverySensor()
{
    // Every sensor of the shipped table file: each offered value lands as its
    // code in the selected button's triple and nowhere else.
    for (const QString &sensor : {QStringLiteral("3950"), QStringLiteral("3395"), QStringLiteral("VX26")}) {
        currentSensorModel = sensor;
        for (const DpiLockOption &o : dpiLockOptions()) {
            const int code = ::dpiLockCode(sensorTable, sensor, o.dpi);
            QVERIFY(code >= 0 && code <= 0xFF);
            page->select("StartPause");
            page->find<QToolButton>("DPI_4")->click();
            page->find<QToolButton>(o.object)->click();
            const FlashDataMap flash = mouseFlash();
            QByteArray expected = bytesOf(start);
            expected.replace(kTripleOffset + 3 * 4, 3, bytes({10, code, 0}));
            QVERIFY2(bytesOf(flash) == expected, qPrintable(QStringLiteral("%1 %2").arg(sensor).arg(o.dpi)));
        }
    }
    QCOMPARE(sends(), 36);
}

// ---------------------------------------------------------------------------

void ButtonOptionsTest::multimediaKeys_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < keytable::consumerKeyCount(); ++i)
        QTest::addRow("%s", keytable::consumerKeyAt(i).option) << i;
}

void ButtonOptionsTest::multimediaKeys()
{
    QFETCH(int, row);
    const keytable::ConsumerKey &key = keytable::consumerKeyAt(row);
    page->select("StartPause");
    page->find<QToolButton>("DPI_12")->click();
    page->find<QToolButton>(key.option)->click();

    const FlashDataMap flash = mouseFlash();
    QCOMPARE(tripleOf(flash, 4), bytes({5, 0, 0}));
    const int lo = key.usage & 0xFF, hi = key.usage >> 8;
    QByteArray record = bytes({2, 0, 0, 0, 0, 2, lo, hi, 10, 0, 0, 0, 1, 2, lo, hi, 10, 0, 0, 0});
    record.append(QByteArray(32, '\0'));
    QCOMPARE(bytesOf(flash).mid(kKeyComboOffset + 52 * 4, 52), record);
    QByteArray expected = bytesOf(start);
    expected.replace(kTripleOffset + 3 * 4, 3, bytes({5, 0, 0}));
    expected.replace(kKeyComboOffset + 52 * 4, 52, record);
    QCOMPARE(bytesOf(flash), expected);
    QCOMPARE(sends(), 1);
    QCOMPARE(page->find<QToolButton>("StartPause")->text(), page->find<QToolButton>(key.option)->text());
    QCOMPARE(page->mirror[4].type, quint8(5));
    QVERIFY(page->panelsClosed());
}

// ---------------------------------------------------------------------------

void ButtonOptionsTest::fireKeyPreset_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("p1");
    QTest::addColumn<int>("p2");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("count");
    QTest::newRow("holds the fire key") << 4 << 50 << 0 << 50 << 0;
    QTest::newRow("holds another function") << 11 << 50 << 0 << 10 << 3;
}

void ButtonOptionsTest::fireKeyPreset()
{
    QFETCH(int, type);
    QFETCH(int, p1);
    QFETCH(int, p2);
    page->mirror[2] = ButtonFunction{quint8(type), quint8(p1), quint8(p2)};
    page->select("BackKey");
    int shownInterval = -1, shownCount = -1;
    ModalHandler handler;
    handler.queue([&](QDialog *d) {
        shownInterval = d->findChild<QSpinBox *>("Time")->value();
        shownCount = d->findChild<QSpinBox *>("Count")->value();
        d->findChild<QToolButton *>("NewHong_2")->click();
    });
    QTest::mouseClick(page->find<QToolButton>("DPI_6"), Qt::LeftButton);
    QCOMPARE(handler.seen, QStringList{"FireKey"});
    QTEST(shownInterval, "interval");
    QTEST(shownCount, "count");
}

void ButtonOptionsTest::fireKeyWrites()
{
    page->select("BackMusic");
    ModalHandler handler;
    handler.queue([](QDialog *d) {
        d->findChild<QSpinBox *>("Time")->setValue(10);
        d->findChild<QSpinBox *>("Count")->setValue(0);
        d->findChild<QToolButton *>("NewHong")->click();
    });
    QTest::mouseClick(page->find<QToolButton>("DPI_6"), Qt::LeftButton);
    QCOMPARE(handler.seen, QStringList{"FireKey"});
    QCOMPARE(tripleOf(mouseFlash(), 5), bytes({4, 10, 0}));
    QCOMPARE(sends(), 1);
    QCOMPARE(page->find<QToolButton>("BackMusic")->text(), page->find<QToolButton>("DPI_6")->text());
    QCOMPARE(page->mirror[5].type, quint8(4));
    QCOMPARE(page->mirror[5].p1, quint8(10));
    QCOMPARE(page->mirror[5].p2, quint8(0));
    QCOMPARE(options->fireInterval, 10);
    QCOMPARE(options->fireCount, 0);
    QVERIFY(page->panelsClosed());
}

void ButtonOptionsTest::fireKeyDialogDeclined()
{
    page->select("BackMusic");
    ModalHandler handler;
    handler.queue([](QDialog *d) {
        d->findChild<QSpinBox *>("Time")->setValue(99);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QTest::mouseClick(page->find<QToolButton>("DPI_6"), Qt::LeftButton);
    QCOMPARE(handler.seen, QStringList{"FireKey"});
    QCOMPARE(sends(), 0);
    QCOMPARE(options->fireInterval, kDefaultFireInterval);
    QCOMPARE(options->fireCount, kDefaultFireCount);
    QCOMPARE(page->find<QToolButton>("BackMusic")->text(), QString("factory 5"));
    QCOMPARE(page->left->currentWidget(), page->find<QWidget>("page_2"));
}

void ButtonOptionsTest::fireKeyDoubleClickOpensOneDialog()
{
    page->select("RightKey");
    QStringList stateAtDialog;
    ModalHandler handler;
    handler.queue([&](QDialog *d) {
        // Nothing may have been written before the dialog was answered.
        stateAtDialog << QString::number(sends());
        d->findChild<QToolButton *>("NewHong")->click();
    });
    // A double click is a press (clicked(false)) and a double click
    // (clicked(true)); one dialog, one write with its values.
    QTest::mouseDClick(page->find<QToolButton>("DPI_6"), Qt::LeftButton);
    QTRY_COMPARE(handler.seen.size(), 1);
    QTest::qWait(50);
    QCOMPARE(handler.seen, QStringList{"FireKey"});
    QCOMPARE(stateAtDialog, QStringList{"0"});
    QCOMPARE(sends(), 1);
    QCOMPARE(tripleOf(mouseFlash(), 1), bytes({4, 10, 3}));
}

void ButtonOptionsTest::fireKeyWithSilentMouse()
{
    QVERIFY(sim::sleep(QStringLiteral("mouse")));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    page->select("RightKey");
    ModalHandler handler;
    QTest::mouseClick(page->find<QToolButton>("DPI_6"), Qt::LeftButton);
    QTest::qWait(50);
    QVERIFY(handler.seen.isEmpty());
    QCOMPARE(offline.count(), 1);
    QVERIFY(page->panelsClosed());
    QVERIFY(sim::wake(QStringLiteral("mouse")));
    QCOMPARE(bytesOf(mouseFlash()), bytesOf(start));
}

// ---------------------------------------------------------------------------

void ButtonOptionsTest::keyCombination()
{
    page->select("Button7");
    ModalHandler handler;
    handler.queue([](QDialog *d) {
        d->findChild<QCheckBox *>("Ctrl")->setChecked(true);
        d->findChild<QCheckBox *>("Alt")->setChecked(true);
        QTest::keyClick(d->windowHandle(), Qt::Key_Delete);
        d->findChild<QToolButton *>("NewHong")->click();
    });
    QTest::mouseClick(page->find<QToolButton>("DPI_8"), Qt::LeftButton);
    QCOMPARE(handler.seen, QStringList{"GroupKey"});

    const FlashDataMap flash = mouseFlash();
    QCOMPARE(tripleOf(flash, 6), bytes({5, 0, 0}));
    QByteArray record = bytes({6, 0, 0,    0, 0,  0, 1, 0, 10, 0, 0, 0, // press Ctrl
                               0, 0, 4,    0, 10, 0, 0, 0,              // press Alt
                               0, 1, 0x4C, 0, 10, 0, 0, 0,              // press Del
                               1, 1, 0x4C, 0, 10, 0, 0, 0,              // release Del
                               1, 0, 4,    0, 10, 0, 0, 0,              // release Alt
                               1, 0, 1,    0, 10, 0, 0, 0});            // release Ctrl
    QCOMPARE(bytesOf(flash).mid(kKeyComboOffset + 52 * 6, 52), record);
    QCOMPARE(sends(), 1);
    QCOMPARE(page->find<QToolButton>("Button7")->text(), QString("Ctrl+Alt+Del"));
    QCOMPARE(page->mirror[6].type, quint8(5));
    // The function list stays open after a combination.
    QCOMPARE(page->left->currentWidget(), page->find<QWidget>("page_2"));
    QCOMPARE(page->right->currentWidget(), page->find<QWidget>("page_9"));
}

void ButtonOptionsTest::keyCombinationCancelled()
{
    page->select("Button7");
    page->right->setCurrentWidget(page->find<QWidget>("page_4"));
    ModalHandler handler;
    handler.queue([](QDialog *d) {
        QTest::keyClick(d->windowHandle(), Qt::Key_A);
        d->findChild<QToolButton *>("CloseButton")->click();
    });
    QTest::mouseClick(page->find<QToolButton>("DPI_8"), Qt::LeftButton);
    QCOMPARE(handler.seen, QStringList{"GroupKey"});
    QCOMPARE(sends(), 0);
    QCOMPARE(page->uncheckCalls, 0);
    QCOMPARE(page->right->currentWidget(), page->find<QWidget>("page_4"));
    QCOMPARE(page->find<QToolButton>("Button7")->text(), QString("factory 6"));
}

VELMORAX_TEST_MAIN(ButtonOptionsTest)
#include "tst_buttonoptions.moc"
