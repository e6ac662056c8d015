#pragma once

#include <QDateTime>
#include <QFile>
#include <QtTest>

// Writes a one-byte file and dates its last modification, as the purge of
// old diagnostics sees it.
inline void touch(const QString &path, const QDateTime &modified)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.flush();
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}
