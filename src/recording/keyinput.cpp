#include "recording/keyinput.h"

namespace quorvia {

KeyOutcome handleKey(SessionRecord& record, char32_t c) {
    KeyOutcome outcome;
    outcome.entryShown = record.nextEntry;
    record.lastKeySlot = slotOfKey(record.keysToHit, c);
    outcome.slot = record.lastKeySlot;
    if (outcome.slot > 0) {
        record.countPress(outcome.slot);
        record.appendEntry(keyText(c));
    } else if (c == kEscape) {
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
