#pragma once

#include <QString>

namespace quorvia {

// Holds the lock that only one running copy of the program can have: an advisory lock on a file in
// the user's runtime folder, which the system gives up when its holder ends in any way, so that a
// crashed copy keeps no one out. Where the lock file cannot be opened at all, the copy runs.
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
    int file_ = -1;
    bool acquired_ = false;
};

} // namespace quorvia
