#include "base/services.h"

#include <QDir>
#include <QStandardPaths>

namespace quorvia {

QString documentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!folder.isEmpty() && QDir(folder).exists())
        return folder;
    return QDir::homePath();
}

} // namespace quorvia
