#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Tells whether another copy of the program is running: the first copy holds a lock file for as
// long as it runs. A lock left by a crashed copy is taken over.
class InstanceGuard {
  public:
    // The lock file the program's copies share (AppPaths::lock).
    explicit InstanceGuard(const QString& lockPath);

    // True when this copy now holds the lock; false when another copy holds it.
    bool acquire();

  private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
