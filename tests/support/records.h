#pragma once

// A session record as the check press leaves it, for tests and benchmarks that drive the rules
// without a window, and a session played on it.

#include "base/keys.h"
#include "recording/keyinput.h"
#include "recording/sessionclock.h"
#include "recording/sessionrecord.h"

namespace quorvia::test {

inline SessionRecord freshRecord(const QString& keys, double duration, double intervalLength) {
    SessionRecord record;
    record.participantId = QStringLiteral("P07");
    record.sessionNumber = 3;
    record.condition = QStringLiteral("base");
    record.observerId = QStringLiteral("KT");
    record.sessionDate = QStringLiteral("2026/12/06");
    record.keysToHit = keys;
    record.sessionDuration = duration;
    record.intervalLength = intervalLength;
    record.reset();
    return record;
}

// Plays a session on the record: a number runs the clock that many seconds, "#" pauses and
// terminates, any other word is typed, one key per character.
inline void play(SessionRecord& record, const QString& script) {
    record.state = SessionState::Recording;
    for (const QString& word : script.split(u' ')) {
        for (int i = word.toInt(); i > 0; --i)
            tick(record, 0);
        for (const char32_t c : keysOf(word.toInt() > 0 ? QString() : word))
            handleKey(record, c == u'#' ? kEscape : c);
        if (word == u"#")
            record.writeEndEntry(kSessionTerminated);
    }
}

} // namespace quorvia::test
