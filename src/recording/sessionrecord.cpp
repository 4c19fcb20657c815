#include "recording/sessionrecord.h"

#include "base/keys.h"
#include "base/numbers.h"

#include <cmath>
#include <stdexcept>

namespace quorvia {

std::int64_t intervalCountFor(double sessionDuration, double intervalLength) {
    if (!(intervalLength > 0) || !std::isfinite(intervalLength) || !std::isfinite(sessionDuration))
        return 0;
    double count = roundHalfEven(sessionDuration / intervalLength);
    if (count * intervalLength < sessionDuration)
        count += 1;
    if (count < 0)
        return 0;
    return static_cast<std::int64_t>(count);
}

QString clockTextFor(std::int64_t minutes, std::int64_t seconds) {
    return blankLed(minutes) + QStringLiteral(": ") + blankLed(seconds);
}

void SessionRecord::reset() {
    elapsedSeconds = 0;
    clockSeconds = 0;
    clockMinutes = 0;
    currentInterval = 1;
    nextEntry = 1;
    clockText = kClockTextAtStart;
    keyCount = countKeys(keysToHit);
    intervalCount = intervalCountFor(sessionDuration, intervalLength);
    entryCapacity = kInitialEntryCapacity;
    log_.assign(static_cast<std::size_t>(entryCapacity), Row{});
    const auto slotTotal = static_cast<std::size_t>(keyCount + 1);
    intervalHits_.assign(slotTotal * static_cast<std::size_t>(intervalCount), 0);
    keyHits_.assign(slotTotal, 0);
}

std::size_t SessionRecord::rowIndex(std::int64_t row) const {
    if (row < 1 || row > entryCapacity)
        throw std::out_of_range("entry row outside the log");
    return static_cast<std::size_t>(row - 1);
}

std::size_t SessionRecord::tallyIndex(int slot, std::int64_t interval) const {
    if (slot < 0 || slot > keyCount || interval < 1 || interval > intervalCount)
        throw std::out_of_range("tally outside the session");
    return static_cast<std::size_t>(slot) * static_cast<std::size_t>(intervalCount) +
           static_cast<std::size_t>(interval - 1);
}

std::int64_t SessionRecord::intervalHits(int slot, std::int64_t interval) const {
    return intervalHits_.at(tallyIndex(slot, interval));
}

void SessionRecord::countPress(int slot) {
    intervalHits_.at(tallyIndex(slot, currentInterval)) += 1;
    keyHits_.at(static_cast<std::size_t>(slot)) += 1;
}

void SessionRecord::appendEntry(const QString& event) {
    writeEndEntry(event);
    nextEntry += 1;
}

void SessionRecord::writeEndEntry(const QString& event) {
    Row& row = log_.at(rowIndex(nextEntry));
    row.time = clockText;
    row.event = event;
}

bool SessionRecord::growLogIfFull() {
    if (nextEntry != entryCapacity)
        return false;
    entryCapacity += kEntryCapacityStep;
    log_.resize(static_cast<std::size_t>(entryCapacity));
    return true;
}

} // namespace quorvia
