#pragma once

// Scenario helpers shared by the device-list tests: build a simulator
// scenario from short device descriptions and load it.

#include "device/firmwarecheck.h"
#include "platform/hidusb/firmwareimage.h"
#include "platform/hidusb/simcontrol.h"

#include <QFile>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QtTest>

namespace listtest {

// Catalogue values the scenarios rely on (usersetting/Config.ini).
constexpr int kCid = 86;
constexpr int kModelMid[] = {29, 30, 31};
constexpr int kModelCount = 3;

// A receiver of kind 1, 2, 4 or 8 (connection codes 0, 4, 1, 5) with a mouse
// paired to it; the mouse answers unless `online` is false.
inline QJsonArray receiverWithMouse(const QString &id, int kind, int mid = 29, bool online = true,
                                    const QJsonObject &receiverExtra = {}, const QJsonObject &mouseExtra = {})
{
    QJsonObject receiver{{"id", id}, {"type", "receiver"}, {"kind", kind}, {"cid", kCid}, {"mid", mid}};
    for (auto it = receiverExtra.begin(); it != receiverExtra.end(); ++it)
        receiver.insert(it.key(), it.value());
    QJsonObject mouse{{"id", id + "-mouse"}, {"type", "mouse"}, {"pairedTo", id},
                      {"cid", kCid},         {"mid", mid},      {"online", online}};
    for (auto it = mouseExtra.begin(); it != mouseExtra.end(); ++it)
        mouse.insert(it.key(), it.value());
    return QJsonArray{receiver, mouse};
}

// A mouse on its cable (its own USB path), paired to `receiver` when given.
inline QJsonObject cabledMouse(const QString &id, int mid = 29, const QString &receiver = QString())
{
    return QJsonObject{{"id", id},    {"type", "mouse"}, {"cable", true}, {"pairedTo", receiver},
                       {"cid", kCid}, {"mid", mid},      {"online", true}};
}

inline QJsonArray concat(std::initializer_list<QJsonArray> parts)
{
    QJsonArray out;
    for (const QJsonArray &part : parts)
        for (const QJsonValue &v : part)
            out.append(v);
    return out;
}

inline bool loadDevices(const QJsonArray &devices, QString *error = nullptr)
{
    const QJsonObject scenario{{"devices", devices}};
    return hidusb::sim::loadScenarioJson(QJsonDocument(scenario).toJson(), error);
}

// `count` receivers of the three models and the four kinds, all different
// in model or kind, so no two of them are identical.
inline QJsonArray distinctReceivers(int count)
{
    static const int kinds[] = {1, 2, 4, 8};
    QJsonArray out;
    for (int i = 0; i < count; ++i) {
        const QJsonArray pair =
            receiverWithMouse(QStringLiteral("rx%1").arg(i), kinds[i % 4], kModelMid[(i / 4) % kModelCount]);
        for (const QJsonValue &v : pair)
            out.append(v);
    }
    return out;
}

// Writes a firmware image of the catalogue's customer id and model 29 into
// `folder`.
inline void writeImage(const QString &folder, const QString &file, int target, const QByteArray &name, quint32 version)
{
    hidusb::FirmwareImageInfo info;
    info.version = version;
    info.target = static_cast<unsigned char>(target);
    info.cid = static_cast<unsigned char>(kCid);
    info.mid = 29;
    info.name = name.toStdString();
    const auto data = hidusb::buildFirmwareImage(info, hidusb::firmwareBodyPattern(296, version));
    QFile f(folder + QLatin1Char('/') + file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char *>(data.data()), qint64(data.size()));
}

} // namespace listtest

#define LOAD_DEVICES(devices)                                                                                          \
    do {                                                                                                               \
        QString loadError;                                                                                             \
        QVERIFY2(listtest::loadDevices(devices, &loadError), qPrintable(loadError));                                   \
    } while (false)
