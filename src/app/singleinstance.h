#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace quorvia {

// Holds the lock that only one running copy of the program can have. The lock file records the
// holder's process id, so a lock left behind by a crashed copy is taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString& lockPath = defaultLockPath());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process holds the lock; false when another running copy holds it.
    bool acquired() const { return acquired_; }

    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> lock_;
    bool acquired_ = false;
};

} // namespace quorvia
