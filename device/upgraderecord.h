#pragma once

#include <QString>
#include <QStringList>

// What a firmware upgrade leaves behind for the next start of the program:
// the failure record "UpdateFailInfo" (target, receiver kind, CID, MID of a
// part whose flash did not end well), the mouse version last flashed, and
// an empty marker file after a failed flash.
//
// The failure record is written before a part starts flashing and removed
// only when the device reports that part flashed, so a flash that the
// program never saw end (a crash, a kill, an unplug, a lost report) leaves
// it, and the device list offers the repair.
namespace upgraderecord {

// The failure record as stored; empty when there is none.
QString failInfo();
// The record split at "," keeping empty parts.
QStringList failParts();
// Writes "<target>,<kind>,<cid>,<mid>"; false when it could not be stored.
bool writeFail(int target, int receiverKind, int cid, int mid);
void removeFail();

// "MouseVer" + CID text + MID text: the mouse version last flashed.
QString mouseVersionName(const QString &cid, const QString &mid);
void storeMouseVersion(const QString &cid, const QString &mid, const QString &versionText);

// The empty marker "UpDateLog.txt" in the per-user "Exception" folder.
QString failMarkerPath();
void createFailMarker();

} // namespace upgraderecord
