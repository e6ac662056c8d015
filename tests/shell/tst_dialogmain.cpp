#include "app/appglobals.h"
#include "app/macroini.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/dialogchange.h"
#include "device/worker.h"
#include "pages/device/dialog.h"
#include "pages/macro/macroflags.h"
#include "platform/hidusb/simcontrol.h"
#include "platform/registry.h"
#include "shell/dialogmain.h"
#include "support/testmain.h"

#include <QSignalSpy>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

class TestDialogMain : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        hidusb::sim::setJournalEnabled(true); // the window tests read the call journal
        macroRecording = false;
        registry::remove(registry::kProgramKey, QStringLiteral("LanguageIndex"));
        MacroIni::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString());
    }

    void windowShape()
    {
        DialogMain window;
        QCOMPARE(window.windowTitle(), QStringLiteral("VELMORAX"));
        QCOMPARE(window.size(), QSize(1020, 700));
        QCOMPARE(window.minimumSize(), QSize(1020, 700));
        QCOMPARE(window.maximumSize(), QSize(1020, 700));
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        auto *stack = window.findChild<QStackedWidget *>(QStringLiteral("stackedWidgetMain"));
        QVERIFY(stack);
        // Only the list page: the device page is built when a device is
        // first chosen.
        QCOMPARE(stack->count(), 1);
        QVERIFY(qobject_cast<DialogChange *>(stack->widget(0)));
        QVERIFY(!window.findChild<Dialog *>());
        QVERIFY(!window.devicePageIfBuilt());
        QCOMPARE(window.currentPage(), 0);
        QVERIFY(window.tray());
        QCOMPARE(window.tray()->toolTip(), QStringLiteral("VELMORAX"));
        QVERIFY(!window.tray()->isVisible());
        // The catalogue is loaded with all three languages.
        QCOMPARE(languageTables.languageCount(), 3);
    }

    void languageMovesOutOfTheRegistry_data()
    {
        QTest::addColumn<QString>("registryValue");
        QTest::addColumn<QString>("storedBefore");
        QTest::addColumn<QString>("storedAfter");
        QTest::addColumn<int>("index");
        QTest::newRow("Russian moves") << "2"
                                       << ""
                                       << "2" << 2;
        QTest::newRow("zero is not moved") << "0"
                                           << "1"
                                           << "1" << 1;
        QTest::newRow("nothing in the registry") << QString() << "2"
                                                 << "2" << 2;
        QTest::newRow("out of range stored: English") << QString() << "5"
                                                      << "5" << 0;
    }

    void languageMovesOutOfTheRegistry()
    {
        QFETCH(QString, registryValue);
        QFETCH(QString, storedBefore);
        QFETCH(QString, storedAfter);
        QFETCH(int, index);
        if (!registryValue.isNull())
            registry::setValue(registry::kProgramKey, QStringLiteral("LanguageIndex"), registryValue);
        MacroIni::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), storedBefore);
        QSignalSpy all(PostMsg::instance(), &PostMsg::SigAllLanguage);
        QSignalSpy sameA(PostMsg::instance(), &PostMsg::SigLanguageSameA);
        {
            DialogMain window;
            QCOMPARE(languageIndex, index);
        }
        QCOMPARE(MacroIni::instance()->value(QStringLiteral("Language"), QStringLiteral("Language")), storedAfter);
        QVERIFY(!registry::contains(registry::kProgramKey, QStringLiteral("LanguageIndex")));
        QCOMPARE(all.count(), 1);
        QCOMPARE(all.at(0).at(0).toInt(), index);
        QCOMPARE(sameA.at(0).at(0).toInt(), index);

        // The next start finds nothing in the registry and keeps the setting.
        DialogMain again;
        QCOMPARE(languageIndex, index);
    }

    // The device page and its pages join late: they still show the language
    // chosen before them, the button page still owns the worker, and the
    // page is built once however often it is opened.
    void devicePageBuiltOnFirstOpen()
    {
        MacroIni::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("2"));
        DialogMain window;
        auto *stack = window.findChild<QStackedWidget *>(QStringLiteral("stackedWidgetMain"));
        QVERIFY(!window.devicePageIfBuilt());
        QVERIFY(!workerThread);

        emit PostMsg::instance()->SigChangeMainDialog(1);
        Dialog *page = window.devicePageIfBuilt();
        QVERIFY(page);
        QCOMPARE(stack->count(), 2);
        QCOMPARE(stack->widget(1), static_cast<QWidget *>(page));
        QCOMPARE(window.currentPage(), 1);
        QVERIFY(workerThread);
        const QString russian = catalogueText(QStringLiteral("key"), QStringLiteral("Import"), 2);
        QVERIFY(russian != catalogueText(QStringLiteral("key"), QStringLiteral("Import"), 0));
        QCOMPARE(page->findChild<QToolButton *>(QStringLiteral("ImportData"))->text(), russian);

        emit PostMsg::instance()->SigChangeMainDialog(0);
        emit PostMsg::instance()->SigChangeMainDialog(1);
        QCOMPARE(window.devicePageIfBuilt(), page);
        QCOMPARE(window.findChildren<Dialog *>().size(), 1);
    }

    // A device page built after the window's fonts were scaled is scaled by
    // the same factor, once: not again on top of the scaled font it would
    // otherwise inherit from the window.
    void lateDevicePageScaledOnce()
    {
        const float factor = 1.5f;
        QVector<qreal> unscaled;
        QStringList names;
        {
            Dialog reference;
            for (QWidget *w : reference.findChildren<QWidget *>()) {
                unscaled << w->font().pointSizeF();
                names << w->objectName();
            }
        }
        DialogMain window;
        window.scaleFonts(factor);
        emit PostMsg::instance()->SigChangeMainDialog(1);
        const QList<QWidget *> widgets = window.devicePageIfBuilt()->findChildren<QWidget *>();
        QCOMPARE(widgets.size(), unscaled.size());
        int compared = 0;
        for (int i = 0; i < widgets.size(); ++i) {
            QCOMPARE(widgets.at(i)->objectName(), names.at(i));
            // The upgrade button keeps its own font.
            if (unscaled.at(i) <= 0 || names.at(i) == QLatin1String("Receive_2"))
                continue;
            if (!qFuzzyCompare(widgets.at(i)->font().pointSizeF(), unscaled.at(i) * factor))
                QFAIL(qPrintable(QStringLiteral("%1: %2 pt, expected %3 pt")
                                     .arg(names.at(i))
                                     .arg(widgets.at(i)->font().pointSizeF())
                                     .arg(unscaled.at(i) * factor)));
            ++compared;
        }
        QVERIFY(compared > 100);
        emit PostMsg::instance()->SigChangeMainDialog(0);
    }

    void pagesChangeThroughTheHub()
    {
        DialogMain window;
        QSignalSpy second(PostMsg::instance(), &PostMsg::SigSecondPageChange);
        QSignalSpy mainPage(PostMsg::instance(), &PostMsg::SigMainPageChange);
        emit PostMsg::instance()->SigChangeMainDialog(1);
        QCOMPARE(window.currentPage(), 1);
        emit PostMsg::instance()->SigChangeMainDialog(7);
        QCOMPARE(window.currentPage(), 1);
        QCOMPARE(second.count(), 0);
        emit PostMsg::instance()->SigChangeMainDialog(0);
        QCOMPARE(window.currentPage(), 0);
        QCOMPARE(second.count(), 1);
        QCOMPARE(mainPage.count(), 1);
    }

    void hideWithoutATrayMinimises_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("request");
        QTest::addColumn<QStringList>("statusCalls");
        // Only the device page tells the device that the program is away
        // and, once the window is restored, back again.
        QTest::newRow("from the list page") << 0 << 2 << QStringList();
        QTest::newRow("from the device page") << 1 << 0 << QStringList{"status=0", "status=1"};
    }

    void hideWithoutATrayMinimises()
    {
        QFETCH(int, page);
        QFETCH(int, request);
        QFETCH(QStringList, statusCalls);
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable()); // the offscreen platform has none
        DialogMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (page == 1)
            emit PostMsg::instance()->SigChangeMainDialog(1);
        hidusb::sim::clearJournal();
        emit PostMsg::instance()->SigChangeSize(request);
        // Reachable again from the task bar instead of vanishing.
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
        QVERIFY(!window.tray()->isVisible());
        window.showNormal();
        QTRY_VERIFY(!window.isMinimized());
        QStringList seen;
        for (const auto &entry : hidusb::sim::journal())
            if (entry.function == QLatin1String("UsbServer_SetPCDriverStatus"))
                seen << entry.arguments;
        QCOMPARE(seen, statusCalls);
    }

    // No tray at first, so the hide minimises; a tray appears later and the
    // next hide goes there. Coming back from it gives the window whole,
    // never minimised and never without a way back.
    void trayThatAppearsLater_data()
    {
        QTest::addColumn<bool>("restoredBetween");
        QTest::addColumn<int>("reason");
        QTest::newRow("hidden again while minimised") << false << int(QSystemTrayIcon::Trigger);
        QTest::newRow("restored from the task bar first") << true << int(QSystemTrayIcon::Trigger);
        QTest::newRow("double click") << false << int(QSystemTrayIcon::DoubleClick);
    }

    void trayThatAppearsLater()
    {
        QFETCH(bool, restoredBetween);
        QFETCH(int, reason);
        DialogMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        emit PostMsg::instance()->SigChangeMainDialog(1);
        emit PostMsg::instance()->SigChangeSize(0);
        QVERIFY(window.isMinimized());
        if (restoredBetween) {
            window.showNormal();
            QTRY_VERIFY(!window.isMinimized());
        }

        const auto noTray = DialogMain::trayAvailable;
        DialogMain::trayAvailable = [] { return true; };
        // Qt's own tray icon complains on a platform that has no tray.
        static QtMessageHandler checking = nullptr;
        checking = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            if (!text.contains(QLatin1String("systemTrayWindowChanged")))
                checking(type, context, text);
        });
        hidusb::sim::clearJournal();
        emit PostMsg::instance()->SigChangeSize(0);
        QVERIFY(!window.isVisible());
        QVERIFY(window.tray()->isVisible());
        window.on_activatedSysTrayIcon(QSystemTrayIcon::ActivationReason(reason));
        DialogMain::trayAvailable = noTray;
        qInstallMessageHandler(checking);

        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
        QVERIFY(!window.tray()->isVisible());
        QStringList seen;
        for (const auto &entry : hidusb::sim::journal())
            if (entry.function == QLatin1String("UsbServer_SetPCDriverStatus"))
                seen << entry.arguments;
        QCOMPARE(seen, (QStringList{"status=0", "status=1"}));
        // Minimised again later, the window still counts as back once restored.
        window.showMinimized();
        window.showNormal();
        QTRY_VERIFY(!window.isMinimized());
        seen.clear();
        for (const auto &entry : hidusb::sim::journal())
            if (entry.function == QLatin1String("UsbServer_SetPCDriverStatus"))
                seen << entry.arguments;
        QCOMPARE(seen, (QStringList{"status=0", "status=1"}));
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<int>("enterSignals");
        QTest::newRow("Return") << int(Qt::Key_Return) << false << 1;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << false << 1;
        QTest::newRow("Return while recording") << int(Qt::Key_Return) << true << 0;
        QTest::newRow("Escape swallowed") << int(Qt::Key_Escape) << false << 0;
        QTest::newRow("F12 swallowed") << int(Qt::Key_F12) << false << 0;
        QTest::newRow("Space on the list page") << int(Qt::Key_Space) << false << 0;
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(bool, recording);
        QFETCH(int, enterSignals);
        // Nothing attached: Space on the list page with one wireless mouse
        // listed would open the pairing dialog.
        QVERIFY(hidusb::sim::loadScenarioJson(R"({"devices": []})"));
        DialogMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        macroRecording = recording;
        QSignalSpy enter(PostMsg::instance(), &PostMsg::SigEnterKey);
        // Space with the one wireless device of the default devices opens
        // the pairing dialog; close it so the key handler returns.
        QTimer closer;
        connect(&closer, &QTimer::timeout, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        closer.start(20);
        QKeyEvent press(QEvent::KeyPress, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QApplication::sendEvent(&window, &press);
        QCOMPARE(enter.count(), enterSignals);
        // Escape never closes the main window.
        QVERIFY(window.isVisible());
    }

    void dragging()
    {
        DialogMain window;
        window.move(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint origin = window.pos();
        const auto send = [&](QEvent::Type type, const QPoint &local, Qt::MouseButton button, Qt::MouseButtons held) {
            QMouseEvent event(type, local, window.mapToGlobal(local), button, held, Qt::NoModifier);
            QApplication::sendEvent(&window, &event);
        };

        // A press exactly on the top-left pixel gives no drag.
        send(QEvent::MouseButtonPress, QPoint(0, 0), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(window.dragOffset(), QPoint(0, 0));
        send(QEvent::MouseMove, QPoint(50, 50), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window.pos(), origin);
        send(QEvent::MouseButtonRelease, QPoint(50, 50), Qt::LeftButton, Qt::NoButton);

        send(QEvent::MouseButtonPress, QPoint(10, 20), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(window.dragOffset(), QPoint(10, 20));
        // Only with exactly the left button held.
        send(QEvent::MouseMove, QPoint(40, 60), Qt::NoButton, Qt::LeftButton | Qt::RightButton);
        QCOMPARE(window.pos(), origin);
        send(QEvent::MouseMove, QPoint(40, 60), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window.pos(), origin + QPoint(30, 40));
        send(QEvent::MouseButtonRelease, QPoint(10, 20), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(window.dragOffset(), QPoint(0, 0));
    }

    void offlineNotice_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("silent device") << 0;
        QTest::newRow("refill timeout") << 1;
    }

    void offlineNotice()
    {
        QFETCH(int, kind);
        DialogMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        offlinePending = false;
        restartPending = false;
        bool shown = false;
        bool armed = false;
        QPoint noticePos;
        QTimer::singleShot(0, [&] {
            QWidget *notice = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->inherits("MouseOffLine") && w->isVisible())
                    notice = w;
            shown = notice != nullptr;
            if (notice)
                noticePos = notice->pos();
            // While the notice is up the online check must be watching for
            // the mouse, so that it can close the notice and re-read.
            armed = offlinePending && restartPending;
            emit PostMsg::instance()->SigCloseOffOnline();
        });
        emit PostMsg::instance()->SigMouseOffLineo(kind);
        QVERIFY(shown);
        QVERIFY(armed);
        QCOMPARE(offlineNoticeKind, kind);
        const QPoint global = window.mapToGlobal(QPoint(0, 0));
        QCOMPARE(noticePos, QPoint(global.x() + (1020 - 300) / 2, global.y() + (700 - 140) / 2 - 20));
    }

    // Last: quitting ends the application's event loops for good, so no
    // modal loop could run after it.
    void quitPaths_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("quit from the list page") << 0;
        QTest::newRow("tray exit") << 1;
        QTest::newRow("closed by the window manager") << 2;
    }

    void quitPaths()
    {
        QFETCH(int, how);
        DialogMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QElapsedTimer timer;
        timer.start();
        if (how == 1)
            window.slotActionExitApp(); // the test process lives on: no exit()
        else if (how == 2)
            window.close();
        else
            emit PostMsg::instance()->SigChangeSize(3);
        QVERIFY(timer.elapsed() >= 200); // the quit sequence waits for late events
        QVERIFY(!window.isVisible());
    }
};

VELMORAX_TEST_MAIN(TestDialogMain)
#include "tst_dialogmain.moc"
