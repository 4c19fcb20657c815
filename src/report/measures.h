#pragma once

#include "recording/sessionrecord.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The summary measures of one key slot, computed from the tallies of a session when it is saved.
namespace quorvia {

// The mode of a key slot as its check box holds it: 0 clear (count mode), 1 ticked (On/Off
// mode); any other value (a greyed box) gives the slot no measures.
enum class SlotMode { Count, OnOff, None };
SlotMode slotModeFor(int checkValue);

// Interval codes of an On/Off slot for the intervals whose press counts are given, in order:
// 1 when the key was pressed in the interval, otherwise 2 when an odd number of presses came
// before (the state is on throughout) and 0 when an even number did (off throughout).
std::vector<int> intervalCodes(const std::vector<std::int64_t>& pressesPerInterval);

struct OnOffMeasures {
    std::vector<int> codes;    // one per recorded interval
    double fullPercent = 0;    // intervals with code 2, per cent of the recorded intervals
    double partialPercent = 0; // intervals with code 1 or 2, likewise
};

struct CountMeasures {
    std::int64_t pressTotal = 0;
    // Presses per recorded minute; none when no time was recorded (a rate over no time is
    // undefined).
    std::optional<double> responsesPerMinute;
    float intervalPercent = 0; // intervals with a press, per cent of the recorded intervals
};

// The measures of slot s over intervals 1 to currentInterval of the record. Percentages divide
// by currentInterval, the rate by elapsedSeconds; each is rounded half-to-even to 2 decimals.
// Throws std::out_of_range when the record holds no such slot or no recorded interval.
OnOffMeasures onOffMeasures(const SessionRecord& record, int slot);
CountMeasures countMeasures(const SessionRecord& record, int slot);

// Text forms of the worksheet: the shortest decimal text with the locale's separator, then "%".
QString percentText(double percent);
QString percentText(float percent);

} // namespace quorvia
