#include "report/sessionsheet.h"

#include "base/keys.h"
#include "base/numbers.h"
#include "report/measures.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace quorvia {

namespace {

// Interval values of one slot, interval n at index n - 1: tallies, then codes or empty texts.
using SlotValues = std::vector<CellValue>;

struct SlotResult {
    SlotMode mode = SlotMode::None;
    std::optional<OnOffMeasures> onOff;
    std::optional<CountMeasures> count;
};

QString endLine(const SessionRecord& record, const QString& lastEvent, bool finished,
                const QString& endedAt) {
    return finished ? finishedLine(endedAt)
                    : endedEarlyLine(lastEvent, endedAt, record.currentInterval);
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
    std::size_t field = 0;
    for (const QString& value : values) {
        const auto which = static_cast<HeaderField>(field++);
        sheet.setText(headerRow(which), kColumnA, headerLine(which).label + value);
    }
    sheet.setText(kEndRow, kColumnA, endLine(record, lastEvent, finished, inputs.endedAt));
}

void writeCaptions(Worksheet& sheet) {
    for (const SheetCaption& caption : kSheetCaptions)
        sheet.setText(caption.row, caption.column, caption.text);
}

void writeSlotColumn(Worksheet& sheet, const SessionRecord& record, int slot,
                     const SlotControls& controls, const SlotResult& result,
                     const SlotValues& values) {
    const int column = kFirstSlotColumn + slot - 1;
    sheet.setText(kKeyRow, column, keyText(keyOfSlot(record.keysToHit, slot)));
    sheet.setText(kBehaviourRow, column, controls.behaviour);
    if (result.mode == SlotMode::OnOff)
        sheet.setText(kModeRow, column, kOnOffMode);
    else if (result.mode == SlotMode::Count)
        sheet.setText(kModeRow, column, kHitsMode);
    if (result.onOff) {
        sheet.setText(kFullPercentRow, column, percentText(result.onOff->fullPercent));
        sheet.setText(kPartialPercentRow, column, percentText(result.onOff->partialPercent));
    }
    if (result.count) {
        if (result.count->responsesPerMinute)
            sheet.setNumber(kResponsesPerMinuteRow, column, *result.count->responsesPerMinute);
        sheet.setText(kIntervalPercentRow, column, percentText(result.count->intervalPercent));
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
                      terminationNote(current));
    return sheet;
}

} // namespace quorvia
