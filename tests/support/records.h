#pragma once

// A session record as the check press leaves it, for tests and benchmarks that drive the rules
// without a window.

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

} // namespace quorvia::test
