#pragma once

// What the firmware tests share: a folder of sample images that the image
// searches read instead of "<application folder>/bin", devices put back to
// their factory firmware, and what the library's journal says about flashing.

#include "device/devicestate.h"
#include "device/firmwarecheck.h"
#include "device/firmwareflash.h"
#include "platform/hidusb/simcontrol.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

namespace firmwaretest {

// The sample images the build generates: newer, equal, older, damaged,
// truncated and foreign ones for the catalogue's first model.
inline QString samples()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/firmware-samples/");
}

// How often the library was asked to flash since the journal was cleared.
inline int upgradeStarts()
{
    int n = 0;
    for (const hidusb::sim::JournalEntry &e : hidusb::sim::journal())
        n += e.function == QLatin1String("UsbUpgrade_Start");
    return n;
}

// The image folder of one test program; the searches read it while it lives.
// It lies in the test's own home folder, so a test program that is killed on
// purpose leaves nothing outside its build tree.
class ImageFolder
{
public:
    ImageFolder() : dir(templatePath()) { setFirmwareImageFolder(dir.path()); }
    ~ImageFolder() { setFirmwareImageFolder(QString()); }
    ImageFolder(const ImageFolder &) = delete;
    ImageFolder &operator=(const ImageFolder &) = delete;

    bool isValid() const { return dir.isValid(); }
    QString path() const { return dir.path(); }
    QString filePath(const QString &name) const { return dir.filePath(name); }

    // Holds exactly these samples afterwards.
    void set(const QStringList &files)
    {
        clear();
        add(files);
    }
    void add(const QStringList &files)
    {
        for (const QString &f : files)
            QVERIFY2(QFile::copy(samples() + f, dir.filePath(f)), qPrintable(f));
    }
    void clear()
    {
        for (const QString &f : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(dir.filePath(f));
    }

private:
    static QString templatePath()
    {
        QDir().mkpath(QDir::homePath());
        return QDir::home().filePath(QStringLiteral("firmware-images-XXXXXX"));
    }

    QTemporaryDir dir;
};

// The simulator's journal on, so tests can see what was flashed.
inline void setUpFirmwareTests()
{
    hidusb::sim::setJournalEnabled(true);
}

// Loads `scenario` with the devices' stored flash forgotten, so they run
// their factory firmware, a flash takes `flashMs` and the watchdog is the
// program's own.
inline bool factoryDevices(const QByteArray &scenario, const QStringList &ids, int flashMs = 300)
{
    namespace sim = hidusb::sim;
    if (!sim::loadScenarioJson(scenario))
        return false;
    for (const QString &id : ids)
        if (!sim::factoryReset(id))
            return false;
    // Loaded again: the stored versions are gone now.
    if (!sim::loadScenarioJson(scenario))
        return false;
    sim::setFlashDuration(flashMs);
    FirmwareFlash::instance()->setWatchdogMs(FirmwareFlash::defaultWatchdogMs());
    return true;
}

// A receiver of kind 8 and a mouse of the same model on its cable beside it.
inline const QByteArray &receiverAndCabledMouseScenario()
{
    static const QByteArray scenario =
        "{\"devices\": ["
        "{\"id\": \"rx\", \"type\": \"receiver\", \"kind\": 8, \"cid\": 86, \"mid\": 29},"
        "{\"id\": \"mouse\", \"type\": \"mouse\", \"pairedTo\": \"rx\", \"cable\": true, \"cid\": 86, "
        "\"mid\": 29}]}";
    return scenario;
}

// The device page as it is for that scenario: the mouse on its cable is the
// open device, the receiver is listed beside it, both with the versions they
// run now.
inline void openCabledMouseBesideReceiver()
{
    namespace sim = hidusb::sim;
    DeviceAllInfo mouse;
    mouse.path = sim::pathOf("mouse");
    mouse.id = quint16(29 << 8 | 86);
    mouse.linkCode = 2;
    mouse.wired = true;
    mouse.online = true;
    mouse.modelIndex = 0;
    mouse.mouseVersion = firmwareVersionText(quint32(sim::firmwareVersion("mouse")));
    DeviceAllInfo receiver;
    receiver.path = sim::pathOf("rx");
    receiver.id = mouse.id;
    receiver.linkCode = 5;
    receiver.online = true;
    receiver.modelIndex = 0;
    receiver.receiverId = QByteArray("\x01\x02\x03", 3);
    receiver.receiverVersion = firmwareVersionText(quint32(sim::firmwareVersion("rx")));
    currentDevice = mouse;
    currentDevicePath = mouse.path.toLocal8Bit();
    pageDevices = QList<DeviceAllInfo>{mouse, receiver};
}

} // namespace firmwaretest
