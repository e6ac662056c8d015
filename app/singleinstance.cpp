#include "app/singleinstance.h"

#include "app/appglobals.h"
#include "platform/userpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

// Whether a running process holds the lock file at `path`. A holder keeps an
// exclusive file lock on it for as long as it runs, so a lock file nobody
// holds that way is a leftover, even where it cannot be removed.
bool heldByRunningProcess(const QString &path, QLockFile &lock)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false; // gone meanwhile, or not ours to read: no instance shown
    const int locked = ::flock(fd, LOCK_EX | LOCK_NB);
    const int lockErrno = errno;
    if (locked == 0)
        ::flock(fd, LOCK_UN);
    ::close(fd);
    if (locked == 0)
        return false;
    if (lockErrno == EWOULDBLOCK)
        return true;
    // The file system keeps no such locks: judge by the process id inside.
    qint64 pid = 0;
    QString host;
    QString app;
    if (!lock.getLockInfo(&pid, &host, &app) || pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#else
    Q_UNUSED(path)
    Q_UNUSED(lock)
    return true;
#endif
}

} // namespace

QString SingleInstance::defaultLockPath()
{
    return userDataRoot() + QLatin1Char('/') + productName + QStringLiteral(".lock");
}

SingleInstance::SingleInstance(const QString &lockPath) : m_path(lockPath), m_lock(lockPath)
{
    // No age limit: a lock is stale only when its process is gone.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    if (m_held)
        return true;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (m_lock.tryLock(0)) {
        m_held = true;
        return true;
    }
    if (m_lock.error() == QLockFile::LockFailedError) {
        // The holder may have died a moment ago; its lock is then stale.
        if (m_lock.removeStaleLockFile() && m_lock.tryLock(0)) {
            m_held = true;
            return true;
        }
        // A leftover that cannot be removed (read-only folder) is no other
        // instance; this one runs without a mark, as when none can be made.
        return !heldByRunningProcess(m_path, m_lock);
    }
    // Permission or unknown errors: run rather than refuse to start.
    return true;
}
