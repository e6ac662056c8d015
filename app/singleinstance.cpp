#include "app/singleinstance.h"

#include "app/appglobals.h"
#include "platform/userpaths.h"

#include <QDir>
#include <QFileInfo>

QString SingleInstance::defaultLockPath()
{
    return userDataRoot() + QLatin1Char('/') + productName + QStringLiteral(".lock");
}

SingleInstance::SingleInstance(const QString &lockPath)
    : m_path(lockPath), m_lock(lockPath)
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
        return false;
    }
    // Permission or unknown errors: run rather than refuse to start.
    return true;
}
