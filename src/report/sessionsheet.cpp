#include "report/sessionsheet.h"

#include "base/keys.h"
#include "base/numbers.h"
#include "report/measures.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace quorvia {

namespace {

constexpr int kColumnA = 1;
constexpr int kColumnB = 2;

// Interval values of one slot, interval n at index n - 1: tallies, then codes or empty texts.
using SlotValues = std::vector<CellValue>;

struct SlotResult {
    SlotMode mode = SlotMode::None;
    std::optional<OnOffMeasures> onOff;
    std::optional<CountMeasures> count;
};

QString endLine(const SessionRecord& record, const QString& lastEvent, bool finished,
                const QString& endedAt) {
    if (finished)
        return kSessionFinished + QStringLiteral(" at   ") + endedAt;
    return lastEvent + QStringLiteral(" at   ") + endedAt + QStringLiteral(" (interval No.") +
           QString::number(record.currentInterval) + QLatin1Char(')');
}

void writeHeader(Worksheet& sheet, const SessionRecord& record, const SessionSheetInputs& inputs,
                 const QString& lastEvent, bool finished) {
    const QString values[] = {
        record.participantId,
        QString::number(record.sessionNumber),
        record.condition,
        record.observerId,
        record.sessionDate,
        inputs.startedAt,
        localeDecimal(record.intervalLength),
        localeDecimal(record.sessionDuration),
        record.keysToHit,
    };
    int row = 1;
    for (const QString& value : values) {
        sheet.setText(row, kColumnA, kHeaderLines[row - 1].label + value);
        ++row;
    }
    sheet.setText(row, kColumnA, endLine(record, lastEvent, finished, inputs.endedAt));
}

void writeCaptions(Worksheet& sheet) {
    sheet.setText(13, kColumnA, QStringLiteral("All Entry"));
    sheet.setText(14, kColumnA, QStringLiteral("Time"));
    sheet.setText(15, kColumnA, kClockTextAtStart);
    sheet.setText(14, kColumnB, QStringLiteral("Entry"));
    sheet.setText(15, kColumnB, QStringLiteral("Started"));
    const int d = kIntervalNumberColumn;
    sheet.setText(13, d, QStringLiteral("Interval Data"));
    sheet.setText(14, d, QStringLiteral("Key"));
    sheet.setText(15, d, QStringLiteral("Behavior"));
    sheet.setText(16, d, QStringLiteral("Mode"));
    sheet.setText(18, d, QStringLiteral("full int'l %"));
    sheet.setText(19, d, QStringLiteral("part. int'l %"));
    sheet.setText(20, d, QStringLiteral("RPM"));
    sheet.setText(21, d, QStringLiteral("interval %"));
    sheet.setText(23, d, QStringLiteral("Interval #"));
}

void writeSlotColumn(Worksheet& sheet, const SessionRecord& record, int slot,
                     const SlotControls& controls, const SlotResult& result,
                     const SlotValues& values) {
    const int column = kFirstSlotColumn + slot - 1;
    sheet.setText(kKeyRow, column, keyText(keyOfSlot(record.keysToHit, slot)));
    sheet.setText(15, column, controls.behaviour);
    if (result.mode == SlotMode::OnOff)
        sheet.setText(16, column, QStringLiteral("On/Off"));
    else if (result.mode == SlotMode::Count)
        sheet.setText(16, column, QStringLiteral("Hits"));
    if (result.onOff) {
        sheet.setText(18, column, percentText(result.onOff->fullPercent));
        sheet.setText(19, column, percentText(result.onOff->partialPercent));
    }
    if (result.count) {
        if (result.count->responsesPerMinute)
            sheet.setNumber(20, column, *result.count->responsesPerMinute);
        sheet.setText(21, column, percentText(result.count->intervalPercent));
    }
    int row = kFirstIntervalRow;
    for (const CellValue& value : values)
        sheet.set(row++, column, value);
}

} // namespace

Worksheet buildSessionSheet(const SessionRecord& record, const SessionSheetInputs& inputs) {
    const int keyCount = record.keyCount;
    if (keyCount < 0 || keyCount > countKeys(record.keysToHit) ||
        static_cast<std::size_t>(keyCount) > inputs.slotControls.size())
        throw std::out_of_range("key slots without their controls");
    if (record.currentInterval < 1 || record.currentInterval > record.intervalCount)
        throw std::out_of_range("current interval outside the session");

    const QString& lastEvent = record.entryEvent(record.nextEntry);
    const bool finished = lastEvent == kSessionFinished;
    const bool terminated = lastEvent == kSessionTerminated;
    const std::int64_t intervals = record.intervalCount;
    const std::int64_t current = record.currentInterval;

    std::vector<SlotValues> values(static_cast<std::size_t>(keyCount));
    for (int s = 1; s <= keyCount; ++s) {
        SlotValues& slotValues = values[static_cast<std::size_t>(s - 1)];
        slotValues.reserve(static_cast<std::size_t>(intervals));
        for (std::int64_t n = 1; n <= intervals; ++n) {
            // The intervals after the current one of a session that did not run to its end were
            // never recorded.
            if (!finished && n > current)
                slotValues.emplace_back(QString());
            else
                slotValues.emplace_back(static_cast<double>(record.intervalHits(s, n)));
        }
    }

    Worksheet sheet;
    writeHeader(sheet, record, inputs, lastEvent, finished);
    writeCaptions(sheet);

    std::vector<SlotResult> results(static_cast<std::size_t>(keyCount));
    for (int s = 1; s <= keyCount; ++s) {
        const auto index = static_cast<std::size_t>(s - 1);
        SlotResult& result = results[index];
        result.mode = slotModeFor(inputs.slotControls[index].checkValue);
        if (result.mode == SlotMode::OnOff) {
            result.onOff = onOffMeasures(record, s);
            std::size_t n = 0;
            for (const int code : result.onOff->codes)
                values[index][n++] = static_cast<double>(code);
        } else if (result.mode == SlotMode::Count) {
            result.count = countMeasures(record, s);
        }
    }

    for (int s = 1; s <= keyCount; ++s) {
        const auto index = static_cast<std::size_t>(s - 1);
        writeSlotColumn(sheet, record, s, inputs.slotControls[index], results[index],
                        values[index]);
    }

    for (std::int64_t n = 1; n <= record.nextEntry; ++n) {
        const auto row = static_cast<int>(kFirstEntryRow - 1 + n);
        sheet.setText(row, kColumnA, record.entryTime(n));
        sheet.setText(row, kColumnB, record.entryEvent(n));
    }

    const std::int64_t lastNumbered = finished ? current : std::min(current + 10, intervals);
    for (std::int64_t n = 1; n <= lastNumbered; ++n) {
        sheet.setNumber(static_cast<int>(kFirstIntervalRow - 1 + n), kIntervalNumberColumn,
                        static_cast<double>(n));
    }
    // Just below the last recorded interval, in the first slot's column (in place of its empty
    // text, or below the table when the session was terminated in its last interval).
    if (terminated)
        sheet.setText(static_cast<int>(kFirstIntervalRow + current), kFirstSlotColumn,
                      QStringLiteral("Session terminated in interval No.") +
                          QString::number(current));
    return sheet;
}

} // namespace quorvia
