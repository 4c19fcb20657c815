#include "app/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quorvia {

QString SingleInstance::defaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("user");
    return QDir(folder).filePath(QStringLiteral("quorvia-%1.lock").arg(user));
}

SingleInstance::SingleInstance(const QString& lockPath)
    : file_(::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (file_ < 0) {
        acquired_ = true;
        return;
    }
    int result = 0;
    do
        result = ::flock(file_, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    acquired_ = result == 0 || errno != EWOULDBLOCK;
}

SingleInstance::~SingleInstance() {
    if (file_ >= 0)
        ::close(file_);
}

} // namespace quorvia
