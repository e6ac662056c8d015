// The device page: page buttons, battery and connection display, the
// recording lock, keys, the wait notice it runs and the way out.

#include "app/look.h"
#include "support/filesizelimit.h"
#include "support/modalhandler.h"
#include "support/pagefixture.h"
#include "support/testmain.h"

#include "app/textcatalogue.h"
#include "device/worker.h"
#include "pages/device/dialog.h"
#include "pages/settings/updataparam.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <thread>

using namespace pagetest;

namespace {

// Receives the keys the device page passes on, as the main window does.
class KeyCatcher : public QWidget
{
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent *event) override { keys << event->key(); }
};

QToolButton *button(Dialog &page, const QString &name)
{
    return page.findChild<QToolButton *>(name);
}

QStackedWidget *stack(Dialog &page)
{
    return page.findChild<QStackedWidget *>(QStringLiteral("stackedWidgetDialog"));
}

// The content panel drawn in a page background: from a point inside it, the
// first pixel on each side that is clearly brighter than its inner neighbour
// is the panel's border (its fill and the picture's texture change by a step
// or two per pixel, the border line by far more).
QRect drawnPanel(const QImage &picture, const QPoint &inside)
{
    auto border = [&picture](QPoint from, const QPoint &step) {
        QPoint at = from;
        while (picture.valid(at + step)) {
            const QPoint next = at + step;
            if (qGray(picture.pixel(next)) - qGray(picture.pixel(at)) >= 8)
                return next;
            at = next;
        }
        return at;
    };
    return QRect(QPoint(border(inside, {-1, 0}).x(), border(inside, {0, -1}).y()),
                 QPoint(border(inside, {1, 0}).x(), border(inside, {0, 1}).y()));
}

} // namespace

class DevicePageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void pageButtons_data();
    void pageButtons();
    void summaryAfterLeaving();
    void switchKeepsAnUnchangedBackground_data();
    void switchKeepsAnUnchangedBackground();
    void panelLiesUnderThePages_data();
    void panelLiesUnderThePages();
    void battery_data();
    void battery();
    void connectionIcon_data();
    void connectionIcon();
    void recordingLock_data();
    void recordingLock();
    void keys_data();
    void keys();
    void leavingSequence();
    void closeSavesCacheThenQuits();
    void cacheNotSavedIsSaid();
    void noticeFollowsEachAnnouncement();
    void leavingEndsTheWait_data();
    void leavingEndsTheWait();
    // Last: it replaces the shared page by one of its own.
    void releasingThePageWhileAPassWaitsOpensNothing();

private:
    Dialog *page = nullptr;
};

void DevicePageTest::initTestCase()
{
    hidusb::sim::setJournalEnabled(true); // the page tests read the call journal
    loadTextCatalogue();
    page = new Dialog(nullptr);
    page->show();
}

void DevicePageTest::init()
{
    button(*page, QStringLiteral("PreButton"))->click();
}

void DevicePageTest::pageButtons_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("pageClass");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<bool>("signalAfterShow");

    QTest::newRow("summary") << "PreButton" << 0 << "PreVier"
                             << "" << false;
    QTest::newRow("buttons") << "ButtonMain" << 1 << "Buttoninterface"
                             << "SigAddMacroButton" << true;
    QTest::newRow("sensor") << "SensorButton" << 2 << "Sensor"
                            << "" << false;
    QTest::newRow("macro") << "MacroButton" << 3 << "Macro"
                           << "" << false;
    QTest::newRow("lighting") << "LightsButton" << 4 << "LampLight"
                              << "" << false;
    QTest::newRow("advanced") << "Advanced" << 5 << "Advanced"
                              << "SigtVis(0)" << false;
    QTest::newRow("settings") << "FormSetting" << 6 << "FormSetting"
                              << "" << false;
}

void DevicePageTest::pageButtons()
{
    QFETCH(QString, buttonName);
    QFETCH(int, index);
    QFETCH(QString, pageClass);
    QFETCH(QString, signal);
    QFETCH(bool, signalAfterShow);

    HubRecorder hub;
    int indexAtSignal = -1;
    hub.onSignal = [&](const QString &name) {
        if (name == signal)
            indexAtSignal = stack(*page)->currentIndex();
    };
    QToolButton *b = button(*page, buttonName);
    b->click();
    QCOMPARE(stack(*page)->currentIndex(), index);
    QCOMPARE(QString::fromLatin1(stack(*page)->currentWidget()->metaObject()->className()), pageClass);
    QVERIFY(b->isChecked());
    if (!signal.isEmpty()) {
        QCOMPARE(hub.count(signal), 1);
        // The button page is in front before it is told to refresh its
        // macro list; the advanced page is told before it is shown.
        QCOMPARE(indexAtSignal, signalAfterShow ? index : 0);
    }
    const QString frameSheet = look::sheetOf(page->findChild<QFrame *>(QStringLiteral("frame_2")));
    QVERIFY(frameSheet.contains(index == 0 ? QStringLiteral("BackGround2.png") : QStringLiteral("BackGround.png")));
    QVERIFY(button(*page, QStringLiteral("UpArrow"))->isVisible());
    // Exactly one page button is checked.
    int checked = 0;
    for (const char *name :
         {"PreButton", "ButtonMain", "SensorButton", "MacroButton", "LightsButton", "Advanced", "FormSetting"})
        checked += button(*page, QString::fromLatin1(name))->isChecked() ? 1 : 0;
    QCOMPARE(checked, 1);
}

void DevicePageTest::summaryAfterLeaving()
{
    button(*page, QStringLiteral("LightsButton"))->click();
    emit PostMsg::instance()->SigSecondPageChange();
    QCOMPARE(stack(*page)->currentIndex(), 0);
    QVERIFY(button(*page, QStringLiteral("PreButton"))->isChecked());
    QVERIFY(look::sheetOf(page->findChild<QFrame *>(QStringLiteral("frame_2")))
                .contains(QStringLiteral("BackGround2.png")));
}

void DevicePageTest::switchKeepsAnUnchangedBackground_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("restyled");
    QTest::newRow("buttons to sensor") << "ButtonMain"
                                       << "SensorButton" << false;
    QTest::newRow("macro to settings") << "MacroButton"
                                       << "FormSetting" << false;
    QTest::newRow("summary to lighting") << "PreButton"
                                         << "LightsButton" << true;
    QTest::newRow("advanced to summary") << "Advanced"
                                         << "PreButton" << true;
}

void DevicePageTest::switchKeepsAnUnchangedBackground()
{
    // The background's sheet is set again only when the picture changes: a
    // new sheet re-polishes every widget of every page.
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, restyled);
    struct StyleChanges : QObject
    {
        QWidget *within = nullptr;
        int count = 0;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::StyleChange && watched->isWidgetType()
                && within->isAncestorOf(static_cast<QWidget *>(watched)))
                ++count;
            return false;
        }
    } changes;
    button(*page, from)->click();
    QApplication::processEvents();
    // Counted on the page being left: the page coming to the front may set
    // sheets of its own as it shows.
    changes.within = stack(*page)->currentWidget();
    qApp->installEventFilter(&changes);
    button(*page, to)->click();
    QApplication::processEvents();
    qApp->removeEventFilter(&changes);
    QCOMPARE(changes.count > 0, restyled);
}

void DevicePageTest::panelLiesUnderThePages_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("language");
    for (const char *picture : {"BackGround.png", "BackGround2.png"})
        for (int language : {0, 1, 2})
            QTest::addRow("%s, language %d", picture, language) << QString::fromLatin1(picture) << language;
}

void DevicePageTest::panelLiesUnderThePages()
{
    // The pages' panel is drawn where the stacked pages sit (cut only by the
    // window's own edge), and no control of any page crosses its border.
    QFETCH(QString, picture);
    QFETCH(int, language);
    const QImage image(QCoreApplication::applicationDirPath() + QStringLiteral("/Picture/Dialog/") + picture);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), page->size());
    QStackedWidget *pages = stack(*page);
    const QRect area(pages->mapTo(page, QPoint(0, 0)), pages->size());
    // A point in the panel clear of the summary's spotlight and value sheet.
    const QRect panel = drawnPanel(image, QPoint(area.left() + 45, area.bottom() - 45));
    QCOMPARE(panel.topLeft(), area.topLeft());
    QCOMPARE(panel.bottom(), qMin(area.bottom(), page->height() - 2));
    QVERIFY2(panel.right() >= qMin(area.right(), page->width() - 1) - 4 && panel.right() < page->width() - 1,
             qPrintable(QString::number(panel.right())));

    emit PostMsg::instance()->SigAllLanguage(language);
    QStringList across;
    for (int i = 0; i < pages->count(); ++i) {
        QWidget *shown = pages->widget(i);
        for (QWidget *w : shown->findChildren<QWidget *>()) {
            // Controls only (containers merely hold them), each cut by the
            // frames and scroll views it is shown in.
            if (!w->isVisibleTo(shown) || std::any_of(w->children().cbegin(), w->children().cend(), [w](QObject *c) {
                    return c->isWidgetType() && static_cast<QWidget *>(c)->isVisibleTo(w);
                }))
                continue;
            QRect at(w->mapTo(page, QPoint(0, 0)), w->size());
            for (QWidget *frame = w->parentWidget(); frame != pages; frame = frame->parentWidget())
                at &= QRect(frame->mapTo(page, QPoint(0, 0)), frame->size());
            if (!at.isEmpty() && !panel.contains(at))
                across << QStringLiteral("%1 %2 %3,%4 %5x%6")
                              .arg(QString::fromLatin1(shown->metaObject()->className()), w->objectName())
                              .arg(at.x())
                              .arg(at.y())
                              .arg(at.width())
                              .arg(at.height());
        }
    }
    emit PostMsg::instance()->SigAllLanguage(0);
    QVERIFY2(across.isEmpty(), qPrintable(across.join(QLatin1Char('\n'))));
}

void DevicePageTest::battery_data()
{
    QTest::addColumn<bool>("charging");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("withPercent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("gauge");
    QTest::addColumn<QString>("chunk");

    QTest::newRow("15 is low") << false << 15 << true << "15%" << 15 << "rgb(152, 43, 34)";
    QTest::newRow("16 is fine") << false << 16 << true << "16%" << 16 << "rgb(0, 255, 153)";
    QTest::newRow("charging without percent") << true << 80 << false << "80" << 80 << "rgb(0, 255, 153)";
    QTest::newRow("empty") << false << 0 << true << "0%" << 0 << "rgb(152, 43, 34)";
    // Out of range: the gauge keeps the previous value (50, set first).
    QTest::newRow("above 100") << false << 120 << true << "120%" << 50 << "rgb(0, 255, 153)";
}

void DevicePageTest::battery()
{
    QFETCH(bool, charging);
    QFETCH(int, level);
    QFETCH(bool, withPercent);
    QFETCH(QString, text);
    QFETCH(int, gauge);
    QFETCH(QString, chunk);

    QMetaObject::invokeMethod(page, "SlotBattery", Q_ARG(bool, false), Q_ARG(int, 50), Q_ARG(bool, true));
    QMetaObject::invokeMethod(page, "SlotBattery", Q_ARG(bool, charging), Q_ARG(int, level), Q_ARG(bool, withPercent));
    QCOMPARE(page->findChild<QLabel *>(QStringLiteral("label_2"))->text(), text);
    auto *bar = page->findChild<QProgressBar *>(QStringLiteral("progressBar"));
    QCOMPARE(bar->value(), gauge);
    QVERIFY(look::sheetOf(bar).contains(chunk));
    QCOMPARE(page->findChild<QLabel *>(QStringLiteral("label"))->isVisible(), charging);
}

void DevicePageTest::connectionIcon_data()
{
    QTest::addColumn<bool>("cable");
    QTest::addColumn<QString>("image");
    QTest::newRow("cable") << true << "OnLineUsb.png";
    QTest::newRow("wireless") << false << "OnLineWifi.png";
}

void DevicePageTest::connectionIcon()
{
    QFETCH(bool, cable);
    QFETCH(QString, image);
    emit PostMsg::instance()->SigIsUsb(!cable, true);
    emit PostMsg::instance()->SigIsUsb(cable, !cable);
    QVERIFY(look::sheetOf(page->findChild<QLabel *>(QStringLiteral("label_4"))).contains(image));
}

void DevicePageTest::recordingLock_data()
{
    QTest::addColumn<QList<int>>("indices");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("recording starts") << QList<int>{0} << false;
    QTest::newRow("recording stops") << QList<int>{0, 1} << true;
    QTest::newRow("other index changes nothing") << QList<int>{0, 2} << false;
}

void DevicePageTest::recordingLock()
{
    QFETCH(QList<int>, indices);
    QFETCH(bool, enabled);
    for (int i : indices)
        emit PostMsg::instance()->SigStartRecord(i);
    for (const char *name :
         {"PreButton", "ButtonMain", "SensorButton", "MacroButton", "LightsButton", "Advanced", "FormSetting"})
        QCOMPARE(button(*page, QString::fromLatin1(name))->isEnabled(), enabled);
    for (const char *name : {"UpArrow", "MinButton", "CloseButton"})
        QVERIFY(button(*page, QString::fromLatin1(name))->isEnabled());
    emit PostMsg::instance()->SigStartRecord(1);
}

void DevicePageTest::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("passedOn");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    QTest::newRow("F12") << int(Qt::Key_F12) << false;
    QTest::newRow("Space") << int(Qt::Key_Space) << true;
    QTest::newRow("Return") << int(Qt::Key_Return) << true;
}

void DevicePageTest::keys()
{
    QFETCH(int, key);
    QFETCH(bool, passedOn);

    KeyCatcher window;
    Dialog inner(&window);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&inner, &press);
    QCOMPARE(window.keys.contains(key), passedOn);
}

void DevicePageTest::leavingSequence()
{
    openSimulatedMouse();
    UsbServer_SetPCDriverStatus(1);
    const FlashDataMap record = patternRecord(3, 1, 4);
    currentFlashData = record;
    QFile::remove(deviceCachePath(loadedCacheName.get()));
    hidusb::sim::clearJournal();
    button(*page, QStringLiteral("SensorButton"))->click();

    HubRecorder hub;
    QStringList callsAtReturn;
    bool cacheAtReturn = false;
    hub.onSignal = [&](const QString &name) {
        if (name != QLatin1String("SigChangeMainDialog(0)"))
            return;
        for (const hidusb::sim::JournalEntry &e : hidusb::sim::journal())
            if (e.function == QLatin1String("UsbServer_SetPCDriverStatus")
                || e.function == QLatin1String("UsbServer_Exit"))
                callsAtReturn << e.function + QLatin1Char('(') + e.arguments + QLatin1Char(')');
        cacheAtReturn = QFileInfo::exists(deviceCachePath(loadedCacheName.get()));
    };
    button(*page, QStringLiteral("UpArrow"))->click();

    // Driver status 0, cache saved and report delivery ended before the
    // main window is asked for the list page; the macro page is told last.
    QCOMPARE(hub.described(), QStringList({"SigChangeMainDialog(0)", "SigSetMacroPage"}));
    QCOMPARE(callsAtReturn, QStringList({"UsbServer_SetPCDriverStatus(status=0)", "UsbServer_Exit()"}));
    QVERIFY(cacheAtReturn);
    FlashDataMap cached;
    QVERIFY(loadDeviceCache(loadedCacheName.get(), &cached));
    QVERIFY(sameRecord(cached, record));
    QVERIFY(button(*page, QStringLiteral("PreButton"))->isChecked());
}

void DevicePageTest::closeSavesCacheThenQuits()
{
    loadedCacheName = cacheNameForId(0x1D05);
    const FlashDataMap record = patternRecord(2, 1, 8);
    currentFlashData = record;
    QFile::remove(deviceCachePath(loadedCacheName.get()));
    QSignalSpy quit(PostMsg::instance(), &PostMsg::SigChangeSize);
    button(*page, QStringLiteral("CloseButton"))->click();
    QCOMPARE(quit.count(), 1);
    QCOMPARE(quit.first().first().toInt(), 1);
    FlashDataMap cached;
    QVERIFY(loadDeviceCache(loadedCacheName.get(), &cached));
    QVERIFY(sameRecord(cached, record));

    button(*page, QStringLiteral("MinButton"))->click();
    QCOMPARE(quit.count(), 2);
    QCOMPARE(quit.last().first().toInt(), 0);
}

// The mouse's record could not be kept for showing it while the mouse is
// away: said once, and the page is left all the same.
void DevicePageTest::cacheNotSavedIsSaid()
{
    loadedCacheName = cacheNameForId(0x1D05);
    currentFlashData = patternRecord(2, 1, 8);
    QFile::remove(deviceCachePath(loadedCacheName.get()));
    QSignalSpy quit(PostMsg::instance(), &PostMsg::SigChangeSize);
    ModalHandler modals;
    QStringList texts;
    modals.queue(keepText(&texts));
    {
        FileSizeLimit full(1);
        QVERIFY(full.active());
        button(*page, QStringLiteral("CloseButton"))->click();
    }
    QCOMPARE(modals.seen, QStringList({"UpDateWarning"}));
    QCOMPARE(texts, QStringList{catalogueText("home", "NotSaved")});
    QCOMPARE(quit.count(), 1);
    QVERIFY(!QFile::exists(deviceCachePath(loadedCacheName.get())));
}

void DevicePageTest::noticeFollowsEachAnnouncement()
{
    // A configuration change announced by the device makes the notice wait
    // for fresh refills; the next ordinary attach gets the reload again.
    UpDataParam *notice = page->waitNotice();
    passOnline = true;
    deviceOnline = true;
    bool refreshSeen = false;
    QTimer::singleShot(500, [&] { refreshSeen = notice->isVisible() && notice->waitForRefresh; });
    QTimer::singleShot(2700, [] { lightPageRefreshed = sensorPageRefreshed = buttonPageRefreshed = true; });
    emit PostMsg::instance()->SigUpDataParam(1);
    QVERIFY(refreshSeen);
    QVERIFY(!notice->isVisible());

    bool reloadSeen = false;
    QTimer::singleShot(500, [&] { reloadSeen = notice->isVisible() && !notice->waitForRefresh; });
    QTimer::singleShot(2700, [] { lightPageRefreshed = sensorPageRefreshed = buttonPageRefreshed = true; });
    emit PostMsg::instance()->SigUpDataParam(0);
    QVERIFY(reloadSeen);
    // The reload job cleared the flags it waited for.
    QVERIFY(!lightPageRefreshed && !sensorPageRefreshed && !buttonPageRefreshed);
}

void DevicePageTest::leavingEndsTheWait_data()
{
    QTest::addColumn<int>("refresh");
    QTest::addColumn<int>("leaveAtMs");
    QTest::newRow("before the job, reload") << 0 << 1000;
    QTest::newRow("during the wait, reload") << 0 << 3600;
    QTest::newRow("during the wait, refresh") << 1 << 3600;
}

void DevicePageTest::leavingEndsTheWait()
{
    // The device went away while its settings were awaited: the main window
    // leaves the device page, and no time-out notice follows on the list.
    QFETCH(int, refresh);
    QFETCH(int, leaveAtMs);
    passOnline = true;
    deviceOnline = false;
    HubRecorder hub;
    QTimer::singleShot(leaveAtMs, [] { emit PostMsg::instance()->SigSecondPageChange(); });
    QElapsedTimer clock;
    clock.start();
    emit PostMsg::instance()->SigUpDataParam(refresh);
    const qint64 elapsed = clock.elapsed();
    QVERIFY(!page->waitNotice()->isVisible());
    QVERIFY2(elapsed < leaveAtMs + 800, qPrintable(QString::number(elapsed)));
    QCOMPARE(hub.count("SigMouseOffLineo(0)") + hub.count("SigMouseOffLineo(1)"), 0);
    // The next announcement waits again as usual.
    bool shown = false;
    QTimer::singleShot(300, [&] { shown = page->waitNotice()->isVisible(); });
    QTimer::singleShot(2700, [] { lightPageRefreshed = sensorPageRefreshed = buttonPageRefreshed = true; });
    emit PostMsg::instance()->SigUpDataParam(0);
    QVERIFY(shown);
    QCOMPARE(hub.count("SigMouseOffLineo(1)"), 0);
}

void DevicePageTest::releasingThePageWhileAPassWaitsOpensNothing()
{
    // Quitting while the device link is busy: a worker pass waits in a
    // blocking refill for this thread, and an announcement for the wait
    // notice is already queued to the device page. Releasing the page must
    // end promptly and open no dialog on the way.
    struct DialogWatch : QObject
    {
        QStringList shown;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Show && qobject_cast<QDialog *>(watched))
                shown << QString::fromLatin1(watched->metaObject()->className());
            return false;
        }
    } watch;
    // One device page, as in the program.
    delete page;
    page = nullptr;
    auto *released = new Dialog(nullptr);
    released->show();
    QVERIFY(workerThread);
    qApp->installEventFilter(&watch);

    DeviceAllInfo mouse;
    mouse.path = QStringLiteral("no-such-device");
    mouse.id = 0x7F7F; // no cache file under this name: the pass resets the pages
    workerThread->SlotSelectMouseInfo(mouse);
    currentDevicePath = mouse.path.toLocal8Bit();
    deviceOnline = false;
    devicePageActive = 1;
    runRequested = true;
    workerThread->start();
    QElapsedTimer spin;
    spin.start();
    while (!offlinePending && spin.elapsed() < 5000)
        std::this_thread::yield();
    QVERIFY(offlinePending);
    // What the hub posts to the page for the pass's SigUpDataParam(0).
    QMetaObject::invokeMethod(
        released, [released] { released->SlotUpDataParam(0); }, Qt::QueuedConnection);

    QElapsedTimer took;
    took.start();
    delete released;
    qApp->removeEventFilter(&watch);
    QCOMPARE(watch.shown, QStringList());
    QVERIFY2(took.elapsed() < 2000, qPrintable(QString::number(took.elapsed())));
    QVERIFY(workerThread == nullptr);
}

VELMORAX_TEST_MAIN(DevicePageTest)
#include "tst_devicepage.moc"
