#include "platform/atomicfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <atomic>

namespace atomicfile {

namespace {

bool fail(const QString &path, const QString &reason, QString *error)
{
    if (error)
        *error = reason;
    reportUnwritable(path, reason);
    return false;
}

void removeLeftovers(const QString &path)
{
    const QFileInfo target(path);
    const QString name = target.fileName();
    const QDateTime cutoff = QDateTime::currentDateTimeUtc().addSecs(-kLeftoverAgeSeconds);
    QDir folder = target.absoluteDir();
    const QStringList candidates =
        folder.entryList({name + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &candidate : candidates) {
        if (!isLeftoverOf(name, candidate))
            continue;
        if (QFileInfo(folder.filePath(candidate)).lastModified().toUTC() < cutoff)
            folder.remove(candidate);
    }
}

} // namespace

bool isLeftoverOf(const QString &fileName, const QString &candidate)
{
    if (candidate.size() != fileName.size() + 7 || !candidate.startsWith(fileName)
        || candidate.at(fileName.size()) != QLatin1Char('.'))
        return false;
    for (int i = fileName.size() + 1; i < candidate.size(); ++i) {
        const ushort c = candidate.at(i).unicode();
        const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum)
            return false;
    }
    return true;
}

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(path, QStringLiteral("cannot create the folder"), error);
    removeLeftovers(path);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(path, file.errorString(), error);
    // A small write only fills the write buffer; the disk refuses it when the
    // buffer is flushed, and commit() would rename the cut file over the old
    // one all the same. So every byte is pushed out and checked first.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(path, reason, error);
    }
    if (!file.commit())
        return fail(path, file.errorString(), error);
    return true;
}

void reportUnwritable(const QString &path, const QString &reason)
{
    static std::atomic<bool> reported{false};
    if (reported.exchange(true))
        return;
    qWarning("VELMORAX cannot save to %s (%s): the folder is full or read-only. "
             "Changes are not saved until it can be written again; files saved before are kept.",
             qPrintable(QDir::toNativeSeparators(QFileInfo(path).absolutePath())), qPrintable(reason));
}

} // namespace atomicfile
