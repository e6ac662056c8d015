#pragma once

// Device records in tests: a record with some bytes changed, written as
// "offset=value offset=value" (values in any base QString::toInt takes), and
// the first byte two records differ in, for a readable failure.

#include "device/devicestate.h"

#include <QString>
#include <QStringList>
#include <QTest>

namespace recordtest {

inline FlashDataMap withBytes(const FlashDataMap &start, const QString &changes)
{
    FlashDataMap r = start;
    unsigned char *bytes = recordBytes(r);
    for (const QString &change : changes.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList kv = change.split(QLatin1Char('='));
        bytes[kv.at(0).toInt()] = quint8(kv.at(1).toInt(nullptr, 0));
    }
    return r;
}

// Empty when the records are the same.
inline QString firstDifference(const FlashDataMap &actual, const FlashDataMap &wanted)
{
    const unsigned char *a = recordBytes(actual);
    const unsigned char *w = recordBytes(wanted);
    for (int i = 0; i < int(sizeof(FlashDataMap)); ++i)
        if (a[i] != w[i])
            return QStringLiteral("byte %1 is %2, expected %3").arg(i).arg(a[i]).arg(w[i]);
    return QString();
}

} // namespace recordtest

// Fails the test with the first differing byte when `actual` is not `wanted`.
#define VERIFY_RECORD(actual, wanted)                                                                                  \
    do {                                                                                                               \
        const QString recordDifference_ = recordtest::firstDifference((actual), (wanted));                             \
        QVERIFY2(recordDifference_.isEmpty(), qPrintable(recordDifference_));                                          \
    } while (false)
