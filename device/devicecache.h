#pragma once

// Per-device cache of the last full record, one file per device under the
// per-user "Device_Info" folder, named by cacheNameForId(). Content: one
// QDataStream byte array (32-bit big-endian length 10460, then the record),
// 10464 bytes in all.

#include "platform/hidusb/records.h"

#include <QString>

constexpr int kDeviceCacheFileSize = 10464;

QString deviceCachePath(const QString &name);

// Fills *record from the cache file `name`. Returns false, leaving *record
// untouched, when the file cannot be read or is not exactly one record: a
// short, long or damaged file never fills a record with undefined bytes.
bool loadDeviceCache(const QString &name, FlashDataMap *record);

// Writes `record` to the cache file `name`, atomically: either the complete new
// file is in place or the old one is untouched. Returns whether it was written.
bool saveDeviceCache(const QString &name, const FlashDataMap &record);
