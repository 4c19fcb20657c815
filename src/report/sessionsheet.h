#pragma once

#include "recording/sessionrecord.h"
#include "workbook/worksheet.h"

#include <QString>

#include <vector>

// The session worksheet: header block, entry table and interval-data table, cell by cell.
namespace quorvia {

// What the window supplies beside the record, read at the moment of saving.
// A slot's controls: the text of its behaviour-name box, the value of its mode check box.
using SlotControls = SlotSetup;

struct SessionSheetInputs {
    std::vector<SlotControls> slotControls; // slots 1, 2, ... at index 0, 1, ...
    QString startedAt;                      // caption of the start-time label
    QString endedAt;                        // caption of the end-time label
};

// Rows and columns of the worksheet's fixed places.
constexpr int kKeyRow = 14;
constexpr int kFirstIntervalRow = 24;
constexpr int kFirstEntryRow = 16;
constexpr int kIntervalNumberColumn = 4; // D
constexpr int kFirstSlotColumn = 5;      // E: slot s owns column 4 + s

// The header block in column A, rows 1 to 9 in this order: each line a label and the value after
// it, written and read back through the one table below (row 10 holds the end line).
enum class HeaderField {
    Participant,
    Session,
    Condition,
    Observer,
    Date,
    Started,
    Interval,
    Duration,
    Keys
};
struct HeaderLine {
    QString label; // as written, such as "Session No.     :   "
    QString what;  // how a reading error names the value, such as "session number"
};
inline const HeaderLine kHeaderLines[] = {
    {QStringLiteral("Participant's ID :   "), QStringLiteral("participant's ID")},
    {QStringLiteral("Session No.     :   "), QStringLiteral("session number")},
    {QStringLiteral("Condition        :   "), QStringLiteral("condition")},
    {QStringLiteral("Observer's ID   :   "), QStringLiteral("observer's ID")},
    {QStringLiteral("Session Date   :   "), QStringLiteral("session date")},
    {QStringLiteral("Session Started at   "), QStringLiteral("start time")},
    {QStringLiteral("Interval Length :   "), QStringLiteral("interval length")},
    {QStringLiteral("Session Duration :   "), QStringLiteral("session duration")},
    {QStringLiteral("Keys to Hit     :   "), QStringLiteral("keys to hit")},
};
constexpr int headerRow(HeaderField field) {
    return static_cast<int>(field) + 1;
}
inline const HeaderLine& headerLine(HeaderField field) {
    return kHeaderLines[static_cast<std::size_t>(field)];
}

// The whole worksheet of an ended session. A session whose last log row is not "Session
// Finished" loses its intervals after the current one; one whose last row is "Session
// Terminated" gets the termination note. Throws std::out_of_range when the record and the inputs
// do not describe an ended session (no controls for a slot, an interval or row outside it).
Worksheet buildSessionSheet(const SessionRecord& record, const SessionSheetInputs& inputs);

} // namespace quorvia
