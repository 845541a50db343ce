#include "platform/InstanceGuard.h"

#include <QDir>

InstanceGuard::InstanceGuard(const QString& lockPath)
    : m_lock(std::make_unique<QLockFile>(lockPath)) {
    m_lock->setStaleLockTime(0);  // only a dead holder's lock is stale
}

bool InstanceGuard::acquire() {
    return m_lock->isLocked() || m_lock->tryLock(0);
}

QString InstanceGuard::defaultLockPath() {
    return QDir::temp().filePath(QStringLiteral("vidlark-streaming-video-14.lock"));
}
