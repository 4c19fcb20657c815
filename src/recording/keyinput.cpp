#include "recording/keyinput.h"

namespace quorvia {

KeyOutcome handleKey(SessionRecord& record, QChar c) {
    KeyOutcome outcome;
    outcome.entryShown = record.nextEntry;
    const qsizetype position = record.keysToHit.indexOf(c, 0, Qt::CaseSensitive);
    record.lastKeySlot = position < 0 ? 0 : static_cast<int>(position) + 1;
    outcome.slot = record.lastKeySlot;
    if (outcome.slot > 0) {
        record.countPress(outcome.slot);
        record.appendEntry(QString(c));
    } else if (c.unicode() == kEscape) {
        record.state = SessionState::Paused;
        record.appendEntry(kSessionPaused);
        outcome.paused = true;
    }
    record.growLogIfFull();
    return outcome;
}

QString toggledOnOff(const QString& caption) {
    return caption == QLatin1String("On") ? QStringLiteral("Off") : QStringLiteral("On");
}

} // namespace quorvia
