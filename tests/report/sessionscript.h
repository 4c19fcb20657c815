#pragma once

// Records sessions for the report tests the way the window does: the set-up values, then ticks
// of the session clock and typed characters through the recording rules.

#include "recording/keyinput.h"
#include "recording/sessionclock.h"
#include "recording/sessionrecord.h"

#include <QList>
#include <QString>

namespace quorvia::test {

inline SessionRecord readyRecord(const QString& keys, double duration, double intervalLength) {
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
    record.state = SessionState::Recording;
    return record;
}

inline void type(SessionRecord& record, const QString& characters) {
    for (const QChar c : characters)
        handleKey(record, c);
}

inline void runSeconds(SessionRecord& record, int seconds) {
    for (int i = 0; i < seconds; ++i)
        tick(record, 0);
}

inline void pauseAndTerminate(SessionRecord& record) {
    handleKey(record, QChar(kEscape));
    record.writeEndEntry(kSessionTerminated);
}

// A record with the given presses per slot (one list per slot, one count per interval) and the
// clock left at the given interval and recorded seconds, as the tallies alone decide the measures.
inline SessionRecord recordWithTallies(const QList<QList<qint64>>& pressesPerSlot,
                                       qint64 currentInterval, qint64 elapsedSeconds,
                                       qint64 intervalCount) {
    QString keys;
    for (int s = 0; s < pressesPerSlot.size(); ++s)
        keys += QChar(u'a' + s);
    SessionRecord record = readyRecord(keys, 10.0 * static_cast<double>(intervalCount), 10.0);
    for (int s = 0; s < pressesPerSlot.size(); ++s) {
        for (int n = 0; n < pressesPerSlot[s].size(); ++n) {
            record.currentInterval = n + 1;
            for (qint64 k = 0; k < pressesPerSlot[s][n]; ++k)
                record.countPress(s + 1);
        }
    }
    record.currentInterval = currentInterval;
    record.elapsedSeconds = elapsedSeconds;
    return record;
}

} // namespace quorvia::test
