// The device list page with simulated devices attached: views, arrows,
// pictures and badges, the duplicate notice, the repair prompt, the language
// box and what pressing a device button does.

#include "app/look.h"
#include "support/filesizelimit.h"
#include "support/listfixture.h"
#include "support/modalhandler.h"
#include "support/testmain.h"

#include "app/configini.h"
#include "app/macroini.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/dialogchange.h"
#include "device/discovery.h"
#include "device/firmwarecheck.h"
#include "device/match.h"
#include "device/mytoolbuttonenter.h"
#include "pages/settings/updaterepair.h"
#include "platform/registry.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <memory>

using namespace listtest;

namespace {

const QString kMouseVerKey = QStringLiteral("MouseVer8629");

} // namespace

class TestDialogChange : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void sevenDevicesPageWithTheArrows();
    void pictures_data();
    void pictures();
    void hoveringRepaintsOnlyThatButton();
    void identicalDevicesRaiseTheNoticeAndShowNoButtons();
    void aChangeDuringTheNoticeWaitsForIt();
    void mouseOnACableNextToItsReceiver();
    void lastDeviceGoneLeavesThePrompt();
    void repairButtonFollowsTheUpgradeRecord();
    void repairPromptOfAHiddenPage();
    void languageBoxStoresTheChoice();
    void languageNotSavedIsSaid();
    void tipsFollowTheLanguage();
    void choosingADeviceOpensIt();
    void choice_data();
    void choice();
    void staleButtonOpensNothing();
    void aRebuildDuringAChoiceKeepsThePressedButton();

private:
    void rebuild();
    QToolButton *button(int n) const;
    QStringList recorded;
    std::unique_ptr<DialogChange> page;
    QTemporaryDir imageDir;
    QList<QMetaObject::Connection> connections;
};

void TestDialogChange::initTestCase()
{
    loadTextCatalogue();
    QVERIFY(imageDir.isValid());
    setFirmwareImageFolder(imageDir.path());
    // The settings page's dialogs, as the shell hands them to the list page.
    listPageDialogs = &settingsListPageDialogs();
}

void TestDialogChange::init()
{
    resetDeviceStateForTests();
    registry::remove(QString::fromLatin1(registry::kDriveTestKey), "UpdateFailInfo");
    registry::remove(QString::fromLatin1(registry::kDriveTestKey), kMouseVerKey);
    for (const QString &f : QDir(imageDir.path()).entryList(QDir::Files))
        QFile::remove(imageDir.path() + "/" + f);
    pairingTargetSet = false;
    pairingTarget = DeviceAllInfo();
    recorded.clear();
    PostMsg *hub = PostMsg::instance();
    connections << connect(hub, &PostMsg::SigIsUsb,
                           [this](bool usb, bool vis) { recorded << QString("SigIsUsb(%1,%2)").arg(usb).arg(vis); });
    connections << connect(hub, &PostMsg::SigSetver, [this](int i) { recorded << QString("SigSetver(%1)").arg(i); });
    connections << connect(hub, &PostMsg::SigMouseIndex,
                           [this](int i) { recorded << QString("SigMouseIndex(%1)").arg(i); });
    connections << connect(hub, &PostMsg::SigSelectMouseInfo,
                           [this](DeviceAllInfo info) { recorded << "SigSelectMouseInfo(" + info.path + ")"; });
    connections << connect(hub, &PostMsg::SigLabelTextB,
                           [this](QString a, QString b) { recorded << "SigLabelTextB(" + a + "," + b + ")"; });
    connections << connect(hub, &PostMsg::SigChangeMainDialog,
                           [this](int i) { recorded << QString("SigChangeMainDialog(%1)").arg(i); });

    // The page arms the library's callback; with nothing attached its first
    // call finds nothing. Then the test stops it and runs the callback
    // itself, so every rebuild is one it asked for.
    LOAD_DEVICES(QJsonArray());
    page.reset(new DialogChange(nullptr));
    page->show();
    QTest::qWait(50);
    StopUsbChanged();
    QTest::qWait(20);
}

void TestDialogChange::cleanup()
{
    for (const auto &c : qAsConst(connections))
        disconnect(c);
    connections.clear();
    page.reset();
    StopUsbChanged();
    QTest::qWait(20);
}

// Rebuilds the page for the devices now attached.
void TestDialogChange::rebuild()
{
    onListDeviceChanged();
    // Widgets of earlier rebuilds go away through the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QToolButton *TestDialogChange::button(int n) const
{
    return page->findChild<QToolButton *>(QStringLiteral("btn%1").arg(n));
}

void TestDialogChange::layout_data()
{
    QTest::addColumn<int>("devices");
    QTest::addColumn<int>("views");
    QTest::addColumn<QPoint>("lastButton"); // place of the last device's button on its view
    QTest::newRow("one") << 1 << 1 << QPoint(305, 0);
    QTest::newRow("two") << 2 << 1 << QPoint(445, 0);
    QTest::newRow("three") << 3 << 1 << QPoint(600, 0);
    QTest::newRow("four") << 4 << 2 << QPoint(305, 0);
    QTest::newRow("five") << 5 << 2 << QPoint(445, 0);
    QTest::newRow("seven") << 7 << 3 << QPoint(305, 0);
}

void TestDialogChange::layout()
{
    QFETCH(int, devices);
    QFETCH(int, views);
    QFETCH(QPoint, lastButton);

    LOAD_DEVICES(distinctReceivers(devices));
    rebuild();
    auto *stack = page->findChild<QStackedWidget *>("stackedWidget");
    QCOMPARE(listedDevices.size(), devices);
    QCOMPARE(stack->count(), views);
    QCOMPARE(stack->currentIndex(), 0);
    QCOMPARE(deviceButtons.size(), devices);
    for (int n = 0; n < devices; ++n) {
        QToolButton *b = button(n);
        QVERIFY2(b, qPrintable(QString("btn%1").arg(n)));
        QCOMPARE(b->parentWidget(), stack->widget(n / 3));
        QCOMPARE(b->size(), QSize(284, 360));
    }
    QCOMPARE(button(devices - 1)->pos(), lastButton);
    if (devices >= 3)
        QCOMPARE(button(0)->pos(), QPoint(0, 0));
    QCOMPARE(page->findChild<QWidget *>("RightButton")->isHidden(), devices <= 3);
    QVERIFY(page->findChild<QWidget *>("LeftButton")->isHidden());
    QVERIFY(page->findChild<QWidget *>("label_2")->isHidden());
    QVERIFY(!page->findChild<QWidget *>("label_3")->isHidden());
}

void TestDialogChange::sevenDevicesPageWithTheArrows()
{
    LOAD_DEVICES(distinctReceivers(7));
    rebuild();
    auto *stack = page->findChild<QStackedWidget *>("stackedWidget");
    auto *left = page->findChild<QToolButton *>("LeftButton");
    auto *right = page->findChild<QToolButton *>("RightButton");

    struct Step
    {
        QToolButton *press;
        int view;
        bool leftShown;
        bool rightShown;
    };
    const Step steps[] = {
        {right, 1, false, true}, // a middle view keeps the arrows as they were
        {right, 2, true, false}, // the last view: Left appears, Right goes
        {left, 1, true, false},
        {left, 0, false, true},
    };
    for (const Step &s : steps) {
        QTest::mouseClick(s.press, Qt::LeftButton);
        QCOMPARE(stack->currentIndex(), s.view);
        QCOMPARE(!left->isHidden(), s.leftShown);
        QCOMPARE(!right->isHidden(), s.rightShown);
    }
}

void TestDialogChange::pictures_data()
{
    QTest::addColumn<QJsonArray>("devices");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("badge"); // "" for none
    QTest::addColumn<bool>("markerShown");
    QTest::addColumn<QString>("icon"); // "" when hidden

    QTest::newRow("model 29 behind the 8K receiver") << receiverWithMouse("a", 8, 29) << "OnLine0.png"
                                                     << "8KHz.png" << false << "OnLineWifi.png";
    QTest::newRow("model 30 behind the 1K receiver") << receiverWithMouse("a", 1, 30) << "OnLine1.png"
                                                     << "1KHz.png" << false << "OnLineWifi.png";
    QTest::newRow("2K receiver") << receiverWithMouse("a", 2, 30) << "OnLine1.png"
                                 << "2KHz.png" << false << "OnLineWifi.png";
    QTest::newRow("4K receiver") << receiverWithMouse("a", 4, 31) << "OnLine1.png"
                                 << "4KHz.png" << false << "OnLineWifi.png";
    QTest::newRow("mouse asleep") << receiverWithMouse("a", 8, 29, false) << "DisOnlin0.png"
                                  << "8KHz.png" << true << "";
    QTest::newRow("unrecognised receiver") << receiverWithMouse("a", 8, 29, true, {{"cid", 1}}) << "Unknow.png"
                                           << "1KHz.png" << false << "OnLineWifi.png";
    QTest::newRow("mouse on its cable") << QJsonArray{cabledMouse("c", 29)} << "OnLine0.png"
                                        << "?" << false << "OnLineUsb.png";
}

void TestDialogChange::pictures()
{
    QFETCH(QJsonArray, devices);
    QFETCH(QString, picture);
    QFETCH(QString, badge);
    QFETCH(bool, markerShown);
    QFETCH(QString, icon);

    LOAD_DEVICES(devices);
    rebuild();
    QCOMPARE(listedDevices.size(), 1);
    QVERIFY(look::sheetOf(button(0)).contains(listPictureDir + picture));
    auto *marker = page->findChild<QLabel *>("label0");
    auto *iconLabel = page->findChild<QLabel *>("UsbWifi0");
    QVERIFY(marker && iconLabel);
    QCOMPARE(marker->pos(), QPoint(530, 20));
    QCOMPARE(iconLabel->pos(), QPoint(530, 20));
    QCOMPARE(!marker->isHidden(), markerShown);
    QCOMPARE(!iconLabel->isHidden(), !icon.isEmpty());
    if (!icon.isEmpty())
        QVERIFY(look::sheetOf(iconLabel).contains(icon));
    QVERIFY(!(marker->isVisible() && iconLabel->isVisible()));
    if (badge == "?") // a cabled mouse: a badge only for the codes that have one
        badge = rateBadgeName(listedDevices.first().linkCode);
    QCOMPARE(rateBadges.size(), badge.isEmpty() ? 0 : 1);
    if (!badge.isEmpty()) {
        QVERIFY(look::sheetOf(rateBadges.first()).contains(badge));
        QCOMPARE(rateBadges.first()->pos(), QPoint(312, 10));
    }
}

void TestDialogChange::hoveringRepaintsOnlyThatButton()
{
    LOAD_DEVICES(concat({receiverWithMouse("a", 1, 29), receiverWithMouse("b", 8, 29)}));
    rebuild();
    QVERIFY(look::sheetOf(button(0)).contains("OnLine0.png"));
    QVERIFY(look::sheetOf(button(1)).contains("OnLine0.png"));
    QVERIFY(hidusb::sim::sleep("a-mouse"));
    QVERIFY(hidusb::sim::sleep("b-mouse"));
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(button(1), &enter);
    QVERIFY(look::sheetOf(button(1)).contains("DisOnlin0.png"));
    QVERIFY(!page->findChild<QLabel *>("label1")->isHidden());
    QVERIFY(look::sheetOf(button(0)).contains("OnLine0.png"));
    QVERIFY(page->findChild<QLabel *>("label0")->isHidden());
}

void TestDialogChange::identicalDevicesRaiseTheNoticeAndShowNoButtons()
{
    LOAD_DEVICES(concat({receiverWithMouse("a", 8), receiverWithMouse("b", 8)}));
    ModalHandler modals;
    rebuild();
    QCOMPARE(modals.seen, QStringList{"QuestiondialogB"});
    QVERIFY(deviceButtons.isEmpty());
    QCOMPARE(page->findChild<QStackedWidget *>("stackedWidget")->count(), 0);
    QVERIFY(!page->findChild<QWidget *>("label_2")->isHidden());
    QVERIFY(page->findChild<QWidget *>("label_3")->isHidden());
}

void TestDialogChange::aChangeDuringTheNoticeWaitsForIt()
{
    LOAD_DEVICES(concat({receiverWithMouse("a", 8), receiverWithMouse("b", 8)}));
    ModalHandler modals;
    // While the first notice is open the devices change again; that change
    // is looked at once the notice is closed, not inside it.
    modals.queue([](QDialog *d) {
        LOAD_DEVICES(receiverWithMouse("a", 8));
        onListDeviceChanged();
        d->reject();
    });
    rebuild();
    QCOMPARE(modals.seen, QStringList{"QuestiondialogB"});
    QCOMPARE(modals.deepest, 1);
    QCOMPARE(listedDevices.size(), 1);
    QCOMPARE(deviceButtons.size(), 1);
}

void TestDialogChange::mouseOnACableNextToItsReceiver()
{
    LOAD_DEVICES(concat({receiverWithMouse("a", 8), QJsonArray{cabledMouse("cable", 29, "a")}}));
    rebuild();
    QCOMPARE(listedDevices.size(), 1);
    QCOMPARE(enumeratedDevices.size(), 2);
    QCOMPARE(deviceButtons.size(), 1);
    QVERIFY(listedDevices.first().wired);
    QVERIFY(look::sheetOf(page->findChild<QLabel *>("UsbWifi0")).contains("OnLineUsb.png"));
}

void TestDialogChange::lastDeviceGoneLeavesThePrompt()
{
    LOAD_DEVICES(distinctReceivers(4));
    rebuild();
    QVERIFY(!page->findChild<QWidget *>("RightButton")->isHidden());
    LOAD_DEVICES(QJsonArray());
    rebuild();
    QVERIFY(deviceButtons.isEmpty());
    QCOMPARE(page->findChild<QStackedWidget *>("stackedWidget")->count(), 0);
    QVERIFY(!page->findChild<QWidget *>("label_2")->isHidden());
    QVERIFY(page->findChild<QWidget *>("label_3")->isHidden());
    QVERIFY(page->findChild<QWidget *>("RightButton")->isHidden());
    QVERIFY(page->findChild<QWidget *>("LeftButton")->isHidden());
    // The old widgets go away through the event loop.
    QTRY_VERIFY(page->findChildren<mytoolButtonEnter *>().isEmpty());
}

void TestDialogChange::repairButtonFollowsTheUpgradeRecord()
{
    LOAD_DEVICES(QJsonArray());
    rebuild();
    auto *repair = page->findChild<QWidget *>("Repair");
    auto *prompt = page->findChild<QLabel *>("label_2");
    QVERIFY(repair->isHidden());
    QCOMPARE(prompt->text(), catalogueText("home", "PleaseEnter"));
    QVERIFY(!prompt->text().isEmpty());

    registry::setValue(QString::fromLatin1(registry::kDriveTestKey), "UpdateFailInfo", "211,8,86,29");
    rebuild();
    QVERIFY(!repair->isHidden());
    QCOMPARE(prompt->text(), catalogueText("home", "RepairDevice"));

    emit PostMsg::instance()->SigUpDateButton(true);
    QVERIFY(repair->isHidden());
    QCOMPARE(prompt->text(), catalogueText("home", "PleaseEnter"));
}

void TestDialogChange::repairPromptOfAHiddenPage()
{
    // A page built (or re-texted) while it is not on screen still shows the
    // repair prompt when an upgrade was interrupted.
    page.reset();
    registry::setValue(QString::fromLatin1(registry::kDriveTestKey), "UpdateFailInfo", "210,0,86,29");
    DialogChange hidden(nullptr);
    StopUsbChanged();
    auto *prompt = hidden.findChild<QLabel *>("label_2");
    QCOMPARE(prompt->text(), catalogueText("home", "RepairDevice", languageIndex));
    emit PostMsg::instance()->SigAllLanguage(2);
    QCOMPARE(prompt->text(), catalogueText("home", "RepairDevice", 2));
    QVERIFY(prompt->text() != catalogueText("home", "PleaseEnter", 2));
    emit PostMsg::instance()->SigAllLanguage(languageIndex);
}

void TestDialogChange::languageBoxStoresTheChoice()
{
    LOAD_DEVICES(QJsonArray());
    rebuild();
    QList<int> all, sameB;
    connections << connect(PostMsg::instance(), &PostMsg::SigAllLanguage, [&all](int i) { all << i; });
    connections << connect(PostMsg::instance(), &PostMsg::SigLanguageSameB, [&sameB](int i) { sameB << i; });
    languageIndex = 2;
    MacroIni::instance()->setValue("Language", "Language", "2");
    auto *box = page->findChild<QComboBox *>("comboBox");
    // One entry per language the program speaks, so the box always names
    // the current one.
    QCOMPARE(box->count(), 3);
    QMetaObject::invokeMethod(box, "activated", Q_ARG(int, 0));
    QCOMPARE(MacroIni::instance()->value("Language", "Language"), QStringLiteral("0"));
    QCOMPARE(languageIndex, 0);
    QCOMPARE(all, QList<int>{0});
    QCOMPARE(sameB, QList<int>{0});

    // The settings page's chooser moves the box along without a signal.
    emit PostMsg::instance()->SigLanguageSameA(2);
    QCOMPARE(box->currentIndex(), 2);
    QCOMPARE(all, QList<int>{0});
}

void TestDialogChange::languageNotSavedIsSaid()
{
    LOAD_DEVICES(QJsonArray());
    rebuild();
    MacroIni::instance()->setValue("Language", "Language", "0");
    ModalHandler modals;
    QStringList texts;
    modals.queue(keepText(&texts));
    {
        FileSizeLimit full(1);
        QVERIFY(full.active());
        QMetaObject::invokeMethod(page->findChild<QComboBox *>("comboBox"), "activated", Q_ARG(int, 2));
    }
    // The language holds for this run all the same.
    QCOMPARE(languageIndex, 2);
    QTRY_COMPARE(modals.seen, QStringList({"UpDateWarning"}));
    QCOMPARE(texts, QStringList{catalogueText("home", "NotSaved", 2)});
    QCOMPARE(MacroIni::instance()->value("Language", "Language"), QStringLiteral("2"));
    emit PostMsg::instance()->SigAllLanguage(0);
    languageIndex = 0;
}

void TestDialogChange::tipsFollowTheLanguage()
{
    LOAD_DEVICES(receiverWithMouse("a", 1));
    rebuild();
    const auto tip = [](int language) {
        return catalogueText("infoTips", "DialogOffline", language) + "\n"
               + catalogueText("home", "PairTips_z", language);
    };
    auto *icon = page->findChild<QLabel *>("UsbWifi0");
    auto *marker = page->findChild<QLabel *>("label0");
    QVERIFY(icon && marker);
    QCOMPARE(icon->toolTip(), tip(0));
    for (int language : {1, 2, 0}) {
        emit PostMsg::instance()->SigAllLanguage(language);
        QCOMPARE(icon->toolTip(), tip(language));
        QCOMPARE(marker->toolTip(), tip(language));
    }
    QVERIFY(tip(1) != tip(0));
}

void TestDialogChange::choosingADeviceOpensIt()
{
    LOAD_DEVICES(receiverWithMouse("a", 8));
    rebuild();
    recorded.clear();
    ModalHandler modals;
    QTest::mouseClick(button(0), Qt::LeftButton);
    const QString path = hidusb::sim::pathOf("a");
    const QString version = listedDevices.first().receiverVersion;
    QCOMPARE(recorded,
             (QStringList{"SigIsUsb(0,1)", "SigSetver(6)", "SigMouseIndex(0)", "SigSelectMouseInfo(" + path + ")",
                          "SigLabelTextB(" + version + ",)", "SigChangeMainDialog(1)"}));
    QVERIFY(modals.seen.isEmpty());
    // The first worker pass attaches the chosen device, never the placeholder.
    QCOMPARE(QString::fromLocal8Bit(currentDevicePath.c_str()), path);
    QCOMPARE(devicePageActive.load(), 1);
    QVERIFY(runRequested);
}

void TestDialogChange::choice_data()
{
    QTest::addColumn<QJsonArray>("devices");
    QTest::addColumn<int>("press");
    QTest::addColumn<QString>("mouseVersion"); // registry "MouseVer" of the model
    QTest::addColumn<QStringList>("images");   // "mouse" / "receiver": newer images present
    QTest::addColumn<bool>("acceptRePair");
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("pairingTargetIsPressed");

    // Two receivers of model 29 (1K first, then 8K): the same id, no duplicate.
    const QJsonArray twinsFirstAsleep = concat({receiverWithMouse("a", 1, 29, false), receiverWithMouse("b", 8, 29)});
    const QJsonArray twinsBothOnline = concat({receiverWithMouse("a", 1, 29), receiverWithMouse("b", 8, 29)});
    const QJsonArray unknownReceiver = receiverWithMouse("a", 8, 29, true, {{"cid", 1}});
    const QJsonArray unknownCable{QJsonObject{{"id", "c"}, {"type", "mouse"}, {"cable", true}, {"cid", 1}}};

    QTest::newRow("twin asleep, no version: pairing")
        << twinsFirstAsleep << 0 << "" << QStringList() << false << QStringList{"Match"} << false << true;
    QTest::newRow("twin awake opens directly")
        << twinsFirstAsleep << 1 << "" << QStringList() << false << QStringList() << true << false;
    QTest::newRow("both twins online open directly")
        << twinsBothOnline << 0 << "" << QStringList() << false << QStringList() << true << false;
    QTest::newRow("twin, no images, question declined")
        << twinsFirstAsleep << 0 << "v1.05" << QStringList() << false << QStringList{"RePair"} << false << false;
    QTest::newRow("twin, both images, question accepted")
        << twinsFirstAsleep << 0 << "v1.05" << QStringList{"mouse", "receiver"} << true
        << QStringList{"RePair", "Match"} << false << true;
    QTest::newRow("twin, mouse image only: firmware notice") << twinsFirstAsleep << 0 << "v1.05" << QStringList{"mouse"}
                                                             << false << QStringList{"UpDateWarning"} << false << false;
    QTest::newRow("twin, receiver image only: opened")
        << twinsFirstAsleep << 0 << "v1.05" << QStringList{"receiver"} << false << QStringList() << true << false;
    QTest::newRow("unrecognised receiver, no version: pairing")
        << unknownReceiver << 0 << "" << QStringList() << false << QStringList{"Match"} << false << true;
    QTest::newRow("unrecognised wired device: nothing")
        << unknownCable << 0 << "" << QStringList() << false << QStringList() << false << false;
}

void TestDialogChange::choice()
{
    QFETCH(QJsonArray, devices);
    QFETCH(int, press);
    QFETCH(QString, mouseVersion);
    QFETCH(QStringList, images);
    QFETCH(bool, acceptRePair);
    QFETCH(QStringList, dialogs);
    QFETCH(bool, opened);
    QFETCH(bool, pairingTargetIsPressed);

    LOAD_DEVICES(devices);
    rebuild();
    QVERIFY(listedDevices.size() > press);
    const DeviceAllInfo pressed = listedDevices.at(press);
    if (!mouseVersion.isEmpty())
        registry::setValue(QString::fromLatin1(registry::kDriveTestKey), kMouseVerKey, mouseVersion);
    if (images.contains("mouse"))
        writeImage(imageDir.path(), "m.bin", firmwareTargetMouse, "VMX29_MOUSE", 0x0106);
    if (images.contains("receiver"))
        writeImage(imageDir.path(), "r.bin", firmwareTargetReceiver, "VMX29_RX1K", 0x7F00);

    ModalHandler modals;
    if (acceptRePair)
        modals.queue([](QDialog *d) { QTest::mouseClick(d->findChild<QToolButton *>("OK"), Qt::LeftButton); });
    recorded.clear();
    QTest::mouseClick(button(press), Qt::LeftButton);

    QCOMPARE(modals.seen, dialogs);
    QCOMPARE(recorded.mid(0, 3), (QStringList{"SigIsUsb(0,1)", "SigSetver(6)", "SigMouseIndex(0)"}));
    QCOMPARE(recorded.contains("SigChangeMainDialog(1)"), opened);
    if (opened)
        QVERIFY(recorded.contains("SigSelectMouseInfo(" + pressed.path + ")"));
    else
        QCOMPARE(recorded.size(), 3);
    if (pairingTargetIsPressed) {
        QVERIFY(pairingTargetSet);
        QCOMPARE(pairingTarget.path, pressed.path);
    } else {
        QVERIFY(!pairingTargetSet);
    }
}

void TestDialogChange::staleButtonOpensNothing()
{
    LOAD_DEVICES(receiverWithMouse("a", 8));
    rebuild();
    // A button left from an earlier rebuild that named a fifth device.
    QToolButton stale;
    stale.setObjectName("btn5");
    connect(&stale, SIGNAL(clicked()), page.get(), SLOT(slotButtonClicked()));
    recorded.clear();
    ModalHandler modals;
    stale.click();
    QCOMPARE(recorded, (QStringList{"SigIsUsb(0,1)", "SigSetver(6)", "SigMouseIndex(0)"}));
    QVERIFY(modals.seen.isEmpty());
}

void TestDialogChange::aRebuildDuringAChoiceKeepsThePressedButton()
{
    // An unrecognised receiver: pressing it opens the pairing dialog, and the
    // devices change while that dialog is open.
    LOAD_DEVICES(receiverWithMouse("a", 8, 29, true, {{"cid", 1}}));
    rebuild();
    QPointer<QToolButton> pressed = button(0);
    QVERIFY(pressed);
    bool aliveDuringDialog = false;
    ModalHandler modals;
    modals.queue([&](QDialog *d) {
        LOAD_DEVICES(concat({receiverWithMouse("a", 8, 29, true, {{"cid", 1}}), receiverWithMouse("b", 1, 30)}));
        onListDeviceChanged();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        aliveDuringDialog = !pressed.isNull();
        d->reject();
    });
    QTest::mouseClick(pressed, Qt::LeftButton);
    QCOMPARE(modals.seen, QStringList{"Match"});
    QVERIFY(aliveDuringDialog);
    QCOMPARE(deviceButtons.size(), 2);
    // Once the handler has returned the old views go.
    QTRY_VERIFY(pressed.isNull());
    QCOMPARE(page->findChildren<mytoolButtonEnter *>().size(), 2);
}

VELMORAX_TEST_MAIN(TestDialogChange)
#include "tst_dialogchange.moc"
