#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// One attached device, copied by value.
struct DeviceAllInfo
{
    QString path;                      // HID device path
    QString vid = QStringLiteral("0"); // catalogue "VID" item it was found with
    QString pid = QStringLiteral("0"); // catalogue product-id item it was found with
    quint16 id = 0;                    // low byte CID, high byte MID
    quint8 linkCode = 0;               // connection code
    int modelIndex = 0;                // catalogue group is "Drive" + (modelIndex + 1)
    bool online = false;               // the mouse answers
    bool wired = false;                // connected by cable: (linkCode & 0xFA) != 0
    QString receiverVersion;           // "v<major>.<MINOR hex>"
    QString mouseVersion;              // same form
    QByteArray receiverId;             // three bytes naming the receiver, or empty
};
