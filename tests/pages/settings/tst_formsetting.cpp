// The settings page against the simulated receiver and mouse: language,
// version labels, start with the session, the desktop's mouse settings, the
// maker's link, pairing and restore defaults.

#include "support/filesizelimit.h"
#include "support/modalhandler.h"
#include "support/pagefixture.h"
#include "support/testmain.h"

#include "app/appglobals.h"
#include "app/look.h"
#include "app/macroini.h"
#include "app/notices.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicecache.h"
#include "device/firmwarecheck.h"
#include "device/reportdecoder.h"
#include "device/setters.h"
#include "device/worker.h"
#include "pages/device/previer.h"
#include "pages/settings/formsetting.h"
#include "platform/autostart.h"
#include "platform/screen.h"
#include "platform/shell.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <QToolButton>
#include <QtTest>

#include <cstring>
#include <memory>

using namespace pagetest;

namespace {

// Records what the page would hand to the desktop; `installed` names the
// settings tools that exist.
class RecordingLauncher : public ShellLauncher
{
public:
    bool openUrl(const QUrl &url) override
    {
        urls << url;
        return true;
    }
    bool startProgram(const QString &program, const QStringList &arguments) override
    {
        started << (QStringList{program} + arguments).join(QLatin1Char(' '));
        return true;
    }
    QString findProgram(const QString &name) const override
    {
        return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    }

    QStringList installed;
    QList<QUrl> urls;
    QStringList started;
};

class FixedDpiScreen : public ScreenSource
{
public:
    explicit FixedDpiScreen(qreal dpi) : m_dpi(dpi) {}
    int desktopWidth() const override { return 1920; }
    qreal logicalDpi() const override { return m_dpi; }
    QPoint cursorPos() const override { return {}; }
    QColor colorAt(const QPoint &) const override { return {}; }

private:
    qreal m_dpi;
};

template <typename T>
T *child(const QWidget &page, const char *name)
{
    T *found = page.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

QString textOf(const QWidget &page, const char *name)
{
    return child<QLabel>(page, name)->text();
}

QString autoStartSetting()
{
    return MacroIni::instance()->value(QStringLiteral("AutoStart"), QStringLiteral("Enable"));
}

// The default scenario's mouse, opened and answering.
void openAnsweringMouse()
{
    openSimulatedMouse(onDeviceReport);
    QTRY_VERIFY(UsbFinderC_GetDeviceOnLine(currentDevicePath));
}

QStringList journalFunctions(int from = 0)
{
    QStringList names;
    const auto entries = hidusb::sim::journal();
    for (int i = from; i < entries.size(); ++i)
        names << entries[i].function;
    return names;
}

} // namespace

class FormSettingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void languageBoxShowsCurrentLanguage();
    void choosingLanguage();
    void followingTheListPage();
    void textsPerLanguage_data();
    void textsPerLanguage();
    void upgradeButtonFont();

    void versionLabels();
    void receiverVersionLook_data();
    void receiverVersionLook();

    void autoStartFollowsEntryOnDisk_data();
    void autoStartFollowsEntryOnDisk();
    void autoStartOnAndOff();
    void autoStartEntryNotWritable();
    void notSavedIsSaidOnce_data();
    void notSavedIsSaidOnce();

    void mouseSettings_data();
    void mouseSettings();
    void makerLink();

    void pairingHandsDeviceBack();
    void heldDialogsFollowTheHubUnshown();

    void restoreSilentMouse();
    void restoreCancelled();
    void restoreClearsMouse();
    void restoreUnansweredClear();

private:
    RecordingLauncher launcher;
};

void FormSettingTest::initTestCase()
{
    loadTextCatalogue();
    shell::setLauncher(&launcher);
    hidusb::sim::setJournalEnabled(true);
}

void FormSettingTest::init()
{
    languageIndex = 0;
    launcher = RecordingLauncher();
    QFile::remove(autostart::entryPath(QCoreApplication::applicationName()));
    MacroIni::instance()->setValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"), QStringLiteral("0"));
}

void FormSettingTest::cleanup()
{
    screen::setSource(nullptr);
    languageIndex = 0;
}

void FormSettingTest::languageBoxShowsCurrentLanguage()
{
    languageIndex = 2;
    FormSetting page;
    auto *box = child<QComboBox>(page, "comboBox");
    QCOMPARE(box->count(), 3);
    QCOMPARE(box->currentIndex(), 2);
    QCOMPARE(box->itemText(1), QStringLiteral("简体中文"));
}

void FormSettingTest::choosingLanguage()
{
    FormSetting page;
    auto *box = child<QComboBox>(page, "comboBox");
    QStringList order;
    QString storedAtSignal;
    PostMsg *hub = PostMsg::instance();
    QMetaObject::Connection all = connect(hub, &PostMsg::SigAllLanguage, this, [&](int index) {
        order << QStringLiteral("all%1").arg(index);
        storedAtSignal = MacroIni::instance()->value(QStringLiteral("Language"), QStringLiteral("Language"));
    });
    QMetaObject::Connection same = connect(hub, &PostMsg::SigLanguageSameA, this,
                                           [&](int index) { order << QStringLiteral("same%1").arg(index); });

    emit box->activated(2);
    QCOMPARE(order, QStringList({"all2", "same2"}));
    QCOMPARE(storedAtSignal, QStringLiteral("2"));
    QCOMPARE(languageIndex, 2);
    QCOMPARE(textOf(page, "label_2"), catalogueText(QStringLiteral("Settings"), QStringLiteral("Language"), 2));
    QVERIFY(textOf(page, "label_2") != catalogueText(QStringLiteral("Settings"), QStringLiteral("Language"), 0));

    // The item already current is announced again: the box reports every activation.
    order.clear();
    emit box->activated(2);
    QCOMPARE(order, QStringList({"all2", "same2"}));

    disconnect(all);
    disconnect(same);
    emit box->activated(0);
}

void FormSettingTest::followingTheListPage()
{
    FormSetting page;
    auto *box = child<QComboBox>(page, "comboBox");
    QSignalSpy all(PostMsg::instance(), &PostMsg::SigAllLanguage);
    QSignalSpy same(PostMsg::instance(), &PostMsg::SigLanguageSameA);
    emit PostMsg::instance()->SigLanguageSameB(1);
    QCOMPARE(box->currentIndex(), 1);
    emit PostMsg::instance()->SigLanguageSameB(5);
    QCOMPARE(box->currentIndex(), -1);
    QCOMPARE(all.count(), 0);
    QCOMPARE(same.count(), 0);
}

void FormSettingTest::textsPerLanguage_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("receiverValue");
    QTest::addColumn<QPoint>("upgradeButton");
    QTest::addColumn<int>("companyName");
    QTest::addColumn<int>("companySite");

    QTest::newRow("English") << 0 << QPoint(220, 155) << QPoint(280, 170) << 0 << 3;
    QTest::newRow("Chinese") << 1 << QPoint(250, 155) << QPoint(280, 170) << 1 << 2;
    // A Russian reader gets the international name and site, not the Chinese ones.
    QTest::newRow("Russian") << 2 << QPoint(270, 155) << QPoint(280, 170) << 0 << 3;
    QTest::newRow("index without a place of its own") << 9 << QPoint(235, 155) << QPoint(285, 155) << 0 << 3;
}

void FormSettingTest::textsPerLanguage()
{
    QFETCH(int, index);
    QFETCH(QPoint, receiverValue);
    QFETCH(QPoint, upgradeButton);
    QFETCH(int, companyName);
    QFETCH(int, companySite);

    FormSetting page;
    page.SlotAllLanguage(index);
    QCOMPARE(child<QLabel>(page, "label_5")->pos(), receiverValue);
    QCOMPARE(child<QLabel>(page, "label_7")->pos(), QPoint(receiverValue.x(), 185));
    QCOMPARE(child<QToolButton>(page, "Receive_2")->pos(), upgradeButton);

    QVERIFY(companyInfo.size() >= 1 && companyInfo.first().size() >= 4);
    QCOMPARE(child<QPushButton>(page, "pushButton_4")->text(), companyInfo.first().at(companyName));
    QCOMPARE(child<QPushButton>(page, "pushButton_3")->text(), companyInfo.first().at(companySite));

    const int language = catalogueLanguage(index);
    QCOMPARE(textOf(page, "label"),
             catalogueText(QStringLiteral("home"), QStringLiteral("Version"), language) + QStringLiteral("1.0.2.0"));
    for (const char *name : {"label_10"})
        QVERIFY2(!textOf(page, name).isEmpty(), name);
    QVERIFY(!child<QPushButton>(page, "pushButton")->text().isEmpty());
    QCOMPARE(child<QToolButton>(page, "Reset")->text(),
             catalogueText(QStringLiteral("Settings"), QStringLiteral("Restore"), language));
}

void FormSettingTest::upgradeButtonFont()
{
    FixedDpiScreen screen144(144);
    screen::setSource(&screen144);
    FormSetting page;
    auto *button = child<QToolButton>(page, "Receive_2");
    QCOMPARE(button->font().pointSizeF(), 10.0);
    page.SlotAllLanguage(0);
    QVERIFY(qAbs(button->font().pointSizeF() - 10.0 / 1.5) < 0.01);
}

void FormSettingTest::versionLabels()
{
    FormSetting page;
    PreVier summary;
    DeviceAllInfo open;
    open.path = QStringLiteral("sim/test");
    currentDevice = open;
    QSignalSpy versions(PostMsg::instance(), &PostMsg::SigAddVer);

    emit PostMsg::instance()->SigLabelText(0, QStringLiteral("v1.05"));
    emit PostMsg::instance()->SigLabelText(1, QStringLiteral("v2.01"));
    emit PostMsg::instance()->SigLabelText(2, QStringLiteral("v9.99"));
    QCOMPARE(textOf(page, "label_5"), QStringLiteral("v1.05"));
    QCOMPARE(textOf(page, "label_7"), QStringLiteral("v2.01"));
    QCOMPARE(currentDevice.get().receiverVersion, QStringLiteral("v1.05"));
    QCOMPARE(currentDevice.get().mouseVersion, QStringLiteral("v2.01"));
    QCOMPARE(versions.count(), 2);
    QCOMPARE(versions.at(0), QList<QVariant>({1, QStringLiteral("v1.05")}));
    QCOMPARE(versions.at(1), QList<QVariant>({0, QStringLiteral("v2.01")}));
    QCOMPARE(textOf(summary, "MouseValue"), QStringLiteral("v2.01"));
}

void FormSettingTest::receiverVersionLook_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("update");
    QTest::addColumn<bool>("waiting");

    QTest::newRow("newer receiver image") << "v1.05"
                                          << "true" << true;
    QTest::newRow("up to date") << "v1.06"
                                << "" << false;
    QTest::newRow("any other text") << "v1.07"
                                    << "TRUE" << false;
}

void FormSettingTest::receiverVersionLook()
{
    QFETCH(QString, version);
    QFETCH(QString, update);
    QFETCH(bool, waiting);

    PreVier summary;
    FormSetting page;
    QSignalSpy updates(PostMsg::instance(), &PostMsg::SigAddUpdate);
    emit PostMsg::instance()->SigLabelTextB(version, update);
    QCOMPARE(textOf(summary, "DongleValue"), version);
    QCOMPARE(textOf(page, "label_5"), version);
    QCOMPARE(!summary.findChild<QLabel *>(QStringLiteral("DongleUp"))->isHidden(), waiting);
    QCOMPARE(updates.count(), 1);
    QCOMPARE(updates.at(0), QList<QVariant>({1, waiting}));
    const QString sheet = look::sheetOf(child<QToolButton>(page, "Receive_2"));
    QCOMPARE(sheet.contains(QStringLiteral("WaitUpdate.png")), waiting);
    QCOMPARE(sheet.contains(QStringLiteral("Confirm.png")), !waiting);

    // Choosing a device empties both versions.
    emit PostMsg::instance()->SigSetver(6);
    QCOMPARE(textOf(summary, "DongleValue"), QString());
    QCOMPARE(textOf(page, "label_5"), QString());
}

void FormSettingTest::autoStartFollowsEntryOnDisk_data()
{
    QTest::addColumn<QString>("macroIni");
    QTest::addColumn<int>("entry"); // 0 none, 1 this program, 2 another program, 3 this program but hidden
    QTest::addColumn<bool>("checked");

    QTest::newRow("setting on, no entry") << "1" << 0 << false;
    QTest::newRow("setting on, entry for another program") << "1" << 2 << false;
    QTest::newRow("setting off, entry for this program") << "0" << 1 << true;
    QTest::newRow("entry for this program switched off") << "1" << 3 << false;
    QTest::newRow("setting on, entry for this program") << "1" << 1 << true;
}

void FormSettingTest::autoStartFollowsEntryOnDisk()
{
    QFETCH(QString, macroIni);
    QFETCH(int, entry);
    QFETCH(bool, checked);

    const QString name = QCoreApplication::applicationName();
    MacroIni::instance()->setValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"), macroIni);
    if (entry == 1 || entry == 3) {
        QVERIFY(autostart::enable(name, QCoreApplication::applicationFilePath()));
    } else if (entry == 2) {
        QVERIFY(autostart::enable(name, QStringLiteral("/opt/other/program")));
    }
    if (entry == 3) {
        QFile file(autostart::entryPath(name));
        QVERIFY(file.open(QIODevice::Append));
        file.write("Hidden=true\n");
    }
    FormSetting page;
    QCOMPARE(child<QCheckBox>(page, "checkBox")->isChecked(), checked);
    // Showing the state writes nothing.
    QCOMPARE(autoStartSetting(), macroIni);
}

void FormSettingTest::autoStartOnAndOff()
{
    FormSetting page;
    auto *box = child<QCheckBox>(page, "checkBox");
    const QString path = autostart::entryPath(QCoreApplication::applicationName());
    QVERIFY(!box->isChecked());

    box->click();
    QVERIFY(box->isChecked());
    QVERIFY(QFile::exists(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY2(
        text.contains(QStringLiteral("Exec=\"") + QCoreApplication::applicationFilePath() + QStringLiteral("\"\n")),
        qPrintable(text));
    QCOMPARE(autoStartSetting(), QStringLiteral("1"));

    box->click();
    QVERIFY(!box->isChecked());
    QVERIFY(!QFile::exists(path));
    QCOMPARE(autoStartSetting(), QStringLiteral("0"));
}

void FormSettingTest::autoStartEntryNotWritable()
{
    // A plain file where the autostart folder belongs: no entry can be written.
    const QString path = autostart::entryPath(QCoreApplication::applicationName());
    const QString folder = QFileInfo(path).absolutePath();
    QDir(folder).removeRecursively();
    QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
    {
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }

    FormSetting page;
    auto *box = child<QCheckBox>(page, "checkBox");
    ModalHandler modals;
    box->click();
    QTRY_COMPARE(modals.seen, QStringList({"UpDateWarning"}));
    QVERIFY(!box->isChecked());
    QCOMPARE(autoStartSetting(), QStringLiteral("0"));
    QVERIFY(QFile::remove(folder));
}

void FormSettingTest::notSavedIsSaidOnce_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("full");

    QTest::newRow("language, folder full") << "language" << true;
    QTest::newRow("language saved") << "language" << false;
    // Neither the entry nor Macro.ini can be written: still one notice.
    QTest::newRow("autostart, folder full") << "autostart" << true;
    QTest::newRow("autostart saved") << "autostart" << false;
}

// What the user chose and the program could not store is said, once, in
// the notice every page uses for it; a stored choice says nothing.
void FormSettingTest::notSavedIsSaidOnce()
{
    QFETCH(QString, action);
    QFETCH(bool, full);

    FormSetting page;
    ModalHandler modals;
    QStringList texts;
    modals.queue(keepText(&texts));
    {
        std::unique_ptr<FileSizeLimit> limit(full ? new FileSizeLimit(1) : nullptr);
        QVERIFY(!limit || limit->active());
        if (action == QLatin1String("language"))
            emit child<QComboBox>(page, "comboBox")->activated(1);
        else
            child<QCheckBox>(page, "checkBox")->click();
    }
    QTest::qWait(50);
    if (full) {
        QTRY_COMPARE(modals.seen, QStringList({"UpDateWarning"}));
        // In the language the page speaks now.
        QCOMPARE(texts,
                 QStringList({catalogueText(QStringLiteral("home"), QStringLiteral("NotSaved"), languageIndex)}));
    } else {
        QCOMPARE(modals.seen, QStringList());
    }
    languageIndex = 0;
}

void FormSettingTest::mouseSettings_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("started");

    QTest::newRow("first known tool") << QStringList{"gnome-control-center", "xfce4-mouse-settings"}
                                      << "/usr/bin/gnome-control-center mouse";
    QTest::newRow("a later tool") << QStringList{"xfce4-mouse-settings"} << "/usr/bin/xfce4-mouse-settings";
    QTest::newRow("no tool") << QStringList{} << "";
}

void FormSettingTest::mouseSettings()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, started);

    launcher.installed = installed;
    FormSetting page;
    ModalHandler modals;
    child<QPushButton>(page, "pushButton")->click();
    if (started.isEmpty()) {
        QTRY_COMPARE(modals.seen, QStringList({"UpDateWarning"}));
        QVERIFY(launcher.started.isEmpty());
    } else {
        QCOMPARE(launcher.started, QStringList({started}));
        QCoreApplication::processEvents();
        QVERIFY(modals.seen.isEmpty());
    }
}

void FormSettingTest::makerLink()
{
    FormSetting page;
    auto *link = child<QPushButton>(page, "pushButton_3");
    link->click();
    QCOMPARE(launcher.urls, QList<QUrl>({QUrl(companyInfo.first().at(3))}));

    // A link text that names a local program or file is not handed on.
    launcher.urls.clear();
    link->setText(QStringLiteral("file:///usr/bin/xterm"));
    link->click();
    QVERIFY(launcher.urls.isEmpty());
}

void FormSettingTest::pairingHandsDeviceBack()
{
    openAnsweringMouse();
    devicePageActive = 1;
    FormSetting page;
    ModalHandler modals;
    hidusb::sim::clearJournal();
    // The pairing dialog is closed at once.
    child<QPushButton>(page, "pushButton_2")->click();
    QCOMPARE(modals.seen, QStringList({"Match"}));
    const auto journal = hidusb::sim::journal();
    QVERIFY(journal.size() >= 2);
    QCOMPARE(journal.at(journal.size() - 2).function, QStringLiteral("StartUsbChanged"));
    QCOMPARE(journal.last().function, QStringLiteral("UsbServerC_Start"));
    QCOMPARE(journal.last().path, QString::fromLocal8Bit(currentDevicePath));
    StopUsbChanged();
    UsbServer_Exit();
    devicePageActive = 0;
}

// The page's dialogs are built with it and never shown; the LED-information
// one follows the receiver's announcements from the report thread.
void FormSettingTest::heldDialogsFollowTheHubUnshown()
{
    DeviceAllInfo device;
    device.modelIndex = 0;
    device.wired = false;
    device.linkCode = 1;
    currentDevice = device;
    FormSetting page;
    page.show();
    for (QDialog *dialog : std::initializer_list<QDialog *>{&page.ledInfo(), &page.lightModeSet(), &page.screenInfoA(),
                                                            &page.screenInfoB()}) {
        QVERIFY(!dialog->parent());
        QVERIFY(!dialog->isVisible());
    }

    DongleRGB rgb;
    std::memset(&rgb, 0, sizeof rgb);
    rgb.ledInfoChoice = 2;
    QThread *thread = QThread::create([&] { emit PostMsg::instance()->SigRGBValue(&rgb); });
    thread->start();
    QTRY_VERIFY(thread->isFinished());
    delete thread;
    QVERIFY(page.ledInfo().findChild<QCheckBox *>(QStringLiteral("ReUntil_2"))->isChecked());
    QVERIFY(!page.ledInfo().findChild<QCheckBox *>(QStringLiteral("ReUntil"))->isChecked());
    QVERIFY(!page.ledInfo().isVisible());
    currentDevice = DeviceAllInfo();
}

void FormSettingTest::restoreSilentMouse()
{
    openSimulatedMouse(onDeviceReport);
    hidusb::sim::sleep(QStringLiteral("mouse"));
    QTRY_VERIFY(!UsbFinderC_GetDeviceOnLine(currentDevicePath));
    FormSetting page;
    ModalHandler modals;
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    hidusb::sim::clearJournal();
    child<QToolButton>(page, "Reset")->click();
    QCOMPARE(offline.count(), 1);
    QCOMPARE(offline.at(0).at(0).toInt(), 0);
    QVERIFY(modals.seen.isEmpty());
    QVERIFY(!journalFunctions().contains(QStringLiteral("UsbServer_SetClearSetting")));
    UsbServer_Exit();
}

void FormSettingTest::restoreCancelled()
{
    // The worker first: it starts with no device open.
    WorkerOwner worker;
    openAnsweringMouse();
    FormSetting page;
    ModalHandler modals;
    modals.queue([](QDialog *d) { d->findChild<QToolButton *>(QStringLiteral("Cancel"))->click(); });
    hidusb::sim::clearJournal();
    child<QToolButton>(page, "Reset")->click();
    QCOMPARE(modals.seen, QStringList({"ContainReset"}));
    QVERIFY(onlineTimer->isActive());
    QVERIFY(!modalOperation);
    const QStringList calls = journalFunctions();
    for (const char *command : {"UsbServer_SetBatteryOptimizeEnable", "UsbServer_SetClearSetting"})
        QVERIFY2(!calls.contains(QLatin1String(command)), command);
    UsbServer_Exit();
}

namespace {

// A restore on the opened mouse, with the pages' part played by the test: a
// dump's refill ends with SigForm, after which each page marks itself
// refilled. The firmware folder points where no image lies, so the update
// offer that a version report may bring up stays out of the restore's way.
// Everything is put back however the test ends, so a failed check cannot
// leave a blocking connection or an open device to the next test.
class RestoreRun
{
public:
    RestoreRun()
    {
        setFirmwareImageFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/no-firmware-images"));
        openAnsweringMouse();
        takeSimulatedMouseRecord();
        devicePageActive = 1;
        refills = QObject::connect(
            PostMsg::instance(), &PostMsg::SigForm, PostMsg::instance(),
            [] {
                sensorPageRefreshed = true;
                lightPageRefreshed = true;
                buttonPageRefreshed = true;
            },
            Qt::BlockingQueuedConnection);
    }
    ~RestoreRun()
    {
        QObject::disconnect(refills);
        hidusb::sim::setAnswerNothing(QStringLiteral("mouse"), false);
        UsbServer_Exit();
        devicePageActive = 0;
        setFirmwareImageFolder(QString());
    }
    RestoreRun(const RestoreRun &) = delete;
    RestoreRun &operator=(const RestoreRun &) = delete;

private:
    QMetaObject::Connection refills;
};

} // namespace

// Restore defaults on a mouse that answers: the mouse is cleared, the pages
// are refilled from its new dump and the wait ends without a notice.
void FormSettingTest::restoreClearsMouse()
{
    // The worker first: it starts with no device open, and goes last.
    WorkerOwner worker;
    RestoreRun run;
    // A changed setting that the clear must undo.
    QVERIFY(setDebounceTime(17));
    QVERIFY(hidusb::sim::waitIdle());
    FlashDataMap before;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &before));
    QCOMPARE(int(recordBytes(before)[6]), 17);

    HubRecorder hub;
    FormSetting page;
    ModalHandler modals;
    bool timerStoppedWhileWaiting = false;
    bool modalWhileWaiting = false;
    modals.queue([](QDialog *d) { d->findChild<QToolButton *>(QStringLiteral("OK"))->click(); });
    modals.queue([&](QDialog *) {
        timerStoppedWhileWaiting = !onlineTimer->isActive();
        modalWhileWaiting = modalOperation;
    });
    hidusb::sim::clearJournal();
    child<QToolButton>(page, "Reset")->click();

    QCOMPARE(modals.seen, QStringList({"ContainReset", "UpDataParam"}));
    QVERIFY(timerStoppedWhileWaiting);
    QVERIFY(modalWhileWaiting);
    QVERIFY(onlineTimer->isActive());
    QVERIFY(!modalOperation);
    QVERIFY(settingsClearAnswered);
    QCOMPARE(hub.count("SigMouseOffLineo(0)"), 0);
    QTRY_VERIFY(hub.count("SigForm") >= 1);

    const QStringList calls = journalFunctions();
    const int optimise = calls.indexOf(QStringLiteral("UsbServer_SetBatteryOptimizeEnable"));
    const int clear = calls.indexOf(QStringLiteral("UsbServer_SetClearSetting"));
    QVERIFY(optimise >= 0);
    QVERIFY(clear > optimise);
    QCOMPARE(hidusb::sim::journal().at(optimise).arguments.contains(QStringLiteral("0")), true);
    QVERIFY(calls.indexOf(QStringLiteral("UsbServer_ReadAllFlashData"), clear) > clear);

    FlashDataMap after;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &after));
    QVERIFY(recordBytes(after)[6] != 17);
    QTRY_VERIFY(sameRecord(currentFlashData, after));
}

// The mouse stops answering once the question is confirmed: its clear is
// never answered, and the refill from its cache must not count as success.
void FormSettingTest::restoreUnansweredClear()
{
    // The worker first: it starts with no device open, and goes last.
    WorkerOwner worker;
    RestoreRun run;
    QVERIFY(saveDeviceCache(selectedCacheName.get(), currentFlashData));

    HubRecorder hub;
    FormSetting page;
    ModalHandler modals;
    modals.queue([](QDialog *d) {
        hidusb::sim::setAnswerNothing(QStringLiteral("mouse"), true);
        d->findChild<QToolButton *>(QStringLiteral("OK"))->click();
    });
    // The wait notice runs its job to the end.
    modals.queue([](QDialog *) {});
    child<QToolButton>(page, "Reset")->click();

    QCOMPARE(modals.seen, QStringList({"ContainReset", "UpDataParam"}));
    QCOMPARE(hub.count("SigMouseOffLineo(0)"), 1);
    QVERIFY(!settingsClearAnswered);
}

VELMORAX_TEST_MAIN(FormSettingTest)
#include "tst_formsetting.moc"
