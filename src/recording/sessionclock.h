#pragma once

#include "recording/sessionrecord.h"

#include <QString>
#include <QTime>

namespace quorvia {

struct TickOutcome {
    bool intervalEnded = false; // an interval ended on this tick (not on the last tick)
    bool beep = false;          // ... and the beep option asked for the tone
    bool finished = false;      // this tick reached the session duration and ended the session
};

// One second of recorded time. beepOption is the value of the beep check box (only 1 beeps).
// On the last tick the "Session Finished" entry is written at nextEntry without advancing it.
TickOutcome tick(SessionRecord& record, int beepOption);

// 1-based position of the last occurrence of pattern in text whose start lies at or before the
// last admissible start (search from the end when start is negative); 0 when there is none, -1
// when text or pattern is empty.
int findLastOccurrence(const QString& text, const QString& pattern, int start,
                       Qt::CaseSensitivity compare);

// The time of day in the given format ("hh:nn:ss": hours, minutes, seconds), with a point and the
// hundredths of the second inserted after the last "s". The hundredths come from the same reading
// and are truncated, so 09:05:07.999 gives "09:05:07.99".
QString timeWithHundredths(const QTime& timeOfDay, const QString& format);

} // namespace quorvia
