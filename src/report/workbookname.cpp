#include "report/workbookname.h"

namespace quorvia {

QString defaultWorkbookName(const SessionRecord& record) {
    const QChar dash(u'-');
    QString name = record.participantId + dash + QString::number(record.sessionNumber) + dash +
                   record.condition + dash + record.observerId;
    // A "/" would name a folder, and a control character has no place in a file name.
    for (QChar& c : name) {
        const char16_t u = c.unicode();
        if (u == u'/' || u < 0x20 || (u >= 0x7F && u <= 0x9F))
            c = u'_';
    }
    return name + kWorkbookExtension;
}

} // namespace quorvia
