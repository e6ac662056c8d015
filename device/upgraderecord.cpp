#include "device/upgraderecord.h"

#include "platform/registry.h"
#include "platform/userpaths.h"

#include <QDir>
#include <QFile>

namespace upgraderecord {

namespace {

QString key()
{
    return QString::fromLatin1(registry::kDriveTestKey);
}

const QString kFailName = QStringLiteral("UpdateFailInfo");

} // namespace

QString failInfo()
{
    return registry::value(key(), kFailName);
}

QStringList failParts()
{
    return failInfo().split(QLatin1Char(','), Qt::KeepEmptyParts);
}

bool writeFail(int target, int receiverKind, int cid, int mid)
{
    return registry::setValue(key(), kFailName,
                              QStringLiteral("%1,%2,%3,%4").arg(target).arg(receiverKind).arg(cid).arg(mid));
}

void removeFail()
{
    registry::remove(key(), kFailName);
}

QString mouseVersionName(const QString &cid, const QString &mid)
{
    return QStringLiteral("MouseVer") + cid + mid;
}

void storeMouseVersion(const QString &cid, const QString &mid, const QString &versionText)
{
    registry::setValue(key(), mouseVersionName(cid, mid), versionText);
}

QString failMarkerPath()
{
    return userDataRoot() + QStringLiteral("/Exception/UpDateLog.txt");
}

void createFailMarker()
{
    QDir().mkpath(userDataRoot() + QStringLiteral("/Exception"));
    QFile marker(failMarkerPath());
    if (marker.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        marker.close();
}

} // namespace upgraderecord
