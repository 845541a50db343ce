#include "platform/InstanceGuard.h"

#include <QDir>
#include <QFileInfo>

InstanceGuard::InstanceGuard(const QString& lockPath)
    : m_path(lockPath), m_lock(std::make_unique<QLockFile>(lockPath)) {
    m_lock->setStaleLockTime(0);  // only a dead holder's lock is stale
}

bool InstanceGuard::acquire() {
    if (m_lock->isLocked())
        return true;
    // An installed program's lock lives in the user's cache folder, which a first start makes.
    QDir().mkpath(QFileInfo(m_path).path());
    return m_lock->tryLock(0);
}
