#include "report/measures.h"

#include "base/numbers.h"

#include <stdexcept>

namespace quorvia {

namespace {

// Press counts of the slot for intervals 1 to currentInterval.
std::vector<std::int64_t> recordedPresses(const SessionRecord& record, int slot) {
    if (slot < 1 || slot > record.keyCount)
        throw std::out_of_range("no such key slot");
    if (record.currentInterval < 1 || record.currentInterval > record.intervalCount)
        throw std::out_of_range("no recorded interval");
    std::vector<std::int64_t> presses;
    presses.reserve(static_cast<std::size_t>(record.currentInterval));
    for (std::int64_t n = 1; n <= record.currentInterval; ++n)
        presses.push_back(record.intervalHits(slot, n));
    return presses;
}

double percentOf(double part, std::int64_t whole) {
    return roundHalfEven2(part / static_cast<double>(whole) * 100.0);
}

} // namespace

SlotMode slotModeFor(int checkValue) {
    switch (checkValue) {
    case 0:
        return SlotMode::Count;
    case 1:
        return SlotMode::OnOff;
    default:
        return SlotMode::None;
    }
}

std::vector<int> intervalCodes(const std::vector<std::int64_t>& pressesPerInterval) {
    std::vector<int> codes;
    codes.reserve(pressesPerInterval.size());
    std::int64_t total = 0;
    for (const std::int64_t presses : pressesPerInterval) {
        if (presses > 0) {
            total += presses;
            codes.push_back(1);
        } else {
            codes.push_back(total % 2 == 1 ? 2 : 0);
        }
    }
    return codes;
}

OnOffMeasures onOffMeasures(const SessionRecord& record, int slot) {
    OnOffMeasures measures;
    measures.codes = intervalCodes(recordedPresses(record, slot));
    std::int64_t full = 0;
    std::int64_t partial = 0;
    for (const int code : measures.codes) {
        if (code == 2)
            ++full;
        if (code != 0)
            ++partial;
    }
    measures.fullPercent = percentOf(static_cast<double>(full), record.currentInterval);
    measures.partialPercent = percentOf(static_cast<double>(partial), record.currentInterval);
    return measures;
}

CountMeasures countMeasures(const SessionRecord& record, int slot) {
    CountMeasures measures;
    float hitIntervals = 0;
    for (const std::int64_t presses : recordedPresses(record, slot)) {
        measures.pressTotal += presses;
        if (presses > 0)
            hitIntervals += 1.0f;
    }
    measures.intervalPercent =
        static_cast<float>(percentOf(static_cast<double>(hitIntervals), record.currentInterval));
    if (record.elapsedSeconds > 0)
        measures.responsesPerMinute =
            roundHalfEven2(static_cast<double>(measures.pressTotal) /
                           static_cast<double>(record.elapsedSeconds) * 60.0);
    return measures;
}

QString percentText(double percent) {
    return localeDecimal(percent) + QLatin1Char('%');
}

QString percentText(float percent) {
    return localeDecimal(percent) + QLatin1Char('%');
}

} // namespace quorvia
