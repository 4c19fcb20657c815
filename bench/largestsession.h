#pragma once

// The largest session the program records: 3600 s in 1-s intervals, ten keys (five On/Off, five
// counted) and 100,000 rows of entry log, for the benchmarks of what reads and writes workbooks.

#include "recording/keyinput.h"
#include "recording/sessionclock.h"
#include "report/sessionsheet.h"
#include "support/records.h"

namespace bench {

constexpr int kLargestSeconds = 3600;
constexpr std::int64_t kLargestLogRows = 100000;

// 99,999 key entries spread evenly over the seconds; the finish entry makes row 100,000. With
// missEvery > 0, every missEvery-th press is typed as an unbound character instead (a second
// observer who missed it), so the log keeps its length.
inline quorvia::SessionRecord largestSession(int missEvery = 0) {
    quorvia::SessionRecord record =
        quorvia::test::freshRecord(QStringLiteral("abcdefghij"), kLargestSeconds, 1);
    record.state = quorvia::SessionState::Recording;
    const std::int64_t keyEntries = kLargestLogRows - 1;
    std::int64_t typed = 0;
    for (int second = 0; second < kLargestSeconds; ++second) {
        const std::int64_t due = keyEntries * (second + 1) / kLargestSeconds;
        for (; typed < due; ++typed) {
            const QChar key = record.keysToHit.at(static_cast<qsizetype>(typed % 10));
            quorvia::handleKey(record,
                               missEvery > 0 && typed % missEvery == 0 ? U'z' : key.unicode());
        }
        quorvia::tick(record, 0);
    }
    return record;
}

// Its ten behaviours (odd slots On/Off) and its start and end stamps.
inline quorvia::SessionSheetInputs largestSessionInputs() {
    quorvia::SessionSheetInputs inputs{
        {}, QStringLiteral("09:00:00.00"), QStringLiteral("10:00:00.00")};
    for (int s = 1; s <= 10; ++s)
        inputs.slotControls.push_back({QStringLiteral("behaviour %1").arg(s), s % 2});
    return inputs;
}

} // namespace bench
