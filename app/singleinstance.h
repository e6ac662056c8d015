#pragma once

#include <QLockFile>
#include <QString>

// Marks a running instance of the program. The mark is a lock file holding
// the owner's process id: it is released when the owner ends in any way,
// a crash included, because a lock whose process is gone counts as stale
// and is taken over.
class SingleInstance
{
public:
    // The lock file of the user's instance: <per-user root>/VELMORAX.lock.
    static QString defaultLockPath();

    explicit SingleInstance(const QString &lockPath = defaultLockPath());
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this process now holds the mark; false when another running
    // process holds it. A lock that cannot be created for another reason
    // (unwritable folder) lets the program run as the first instance, and so
    // does a leftover lock that no running process holds but that cannot be
    // taken over because its folder is read-only.
    bool acquire();
    bool held() const { return m_held; }

private:
    QString m_path;
    QLockFile m_lock;
    bool m_held = false;
};
