#include "report/workbookname.h"

namespace quorvia {

namespace {

// Compares without regard to the case of ASCII letters only, so that no other character (such
// as a long s) passes for a letter of the extension.
bool endsWithAsciiCaseless(const QString& text, const QString& suffix) {
    if (text.size() < suffix.size())
        return false;
    const qsizetype start = text.size() - suffix.size();
    for (qsizetype i = 0; i < suffix.size(); ++i) {
        char16_t c = text.at(start + i).unicode();
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != suffix.at(i).unicode())
            return false;
    }
    return true;
}

} // namespace

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

QString workbookPathFor(const QString& chosen) {
    if (endsWithAsciiCaseless(chosen, kWorkbookExtension))
        return chosen;
    return chosen + kWorkbookExtension;
}

} // namespace quorvia
