#pragma once

#include "recording/sessionrecord.h"

#include <QString>

#include <cstddef>
#include <cstdint>

// The layout of the session worksheet: where each part of a session goes, the labels and captions
// there and the form of its end line. The writer (buildSessionSheet) puts the cells by it and the
// reader (parseSessionWorkbook) finds them by it.
namespace quorvia {

constexpr int kColumnA = 1;
constexpr int kColumnB = 2;
constexpr int kColumnC = 3;

// The header block in column A, rows 1 to 9 in this order: each line a label and the value after
// it. Row 10 holds the end line.
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

// The end line in row 10: "Session Finished at   <end time>" for a session that ran to its end,
// else "<last log event> at   <end time> (interval No.<current interval>)".
constexpr int kEndRow = 10;
QString finishedLine(const QString& endedAt);
QString endedEarlyLine(const QString& lastEvent, const QString& endedAt, std::int64_t interval);
bool isFinishedLine(const QString& line);
// The interval an end line of a session that did not run to its end names; 0 when it names none.
int intervalOfEndLine(const QString& line);

// Rows 1 to 12 of columns A to C hold the header; below, columns A and B the entry log.
constexpr int kSessionHeaderRows = 12;

// The entry log in columns A (clock text) and B (event): captions in rows 13 to 15, entry n of
// the log in row kFirstEntryRow - 1 + n.
constexpr int kCaptionRow = 13;
constexpr int kFirstEntryRow = 16;

// The interval table: captions in column D, slot s in column kFirstSlotColumn - 1 + s with its
// key, behaviour, mode and summary measures in the rows below, then interval n in row
// kFirstIntervalRow - 1 + n, numbered in column D.
constexpr int kIntervalNumberColumn = 4; // D
constexpr int kFirstSlotColumn = 5;      // E: slot s owns column 4 + s
constexpr int kKeyRow = 14;
constexpr int kBehaviourRow = 15;
constexpr int kModeRow = 16;
constexpr int kFullPercentRow = 18;
constexpr int kPartialPercentRow = 19;
constexpr int kResponsesPerMinuteRow = 20;
constexpr int kIntervalPercentRow = 21;
constexpr int kIntervalNumberRow = 23;
constexpr int kFirstIntervalRow = 24;

// The mode row's texts of an On/Off key and of a counted key.
inline const QString kOnOffMode = QStringLiteral("On/Off");
inline const QString kHitsMode = QStringLiteral("Hits");

// The captions of the entry log and of the interval table, each in its cell.
struct SheetCaption {
    int row;
    int column;
    QString text;
};
inline const SheetCaption kSheetCaptions[] = {
    {kCaptionRow, kColumnA, QStringLiteral("All Entry")},
    {kCaptionRow + 1, kColumnA, QStringLiteral("Time")},
    {kCaptionRow + 2, kColumnA, kClockTextAtStart},
    {kCaptionRow + 1, kColumnB, QStringLiteral("Entry")},
    {kCaptionRow + 2, kColumnB, QStringLiteral("Started")},
    {kCaptionRow, kIntervalNumberColumn, QStringLiteral("Interval Data")},
    {kKeyRow, kIntervalNumberColumn, QStringLiteral("Key")},
    {kBehaviourRow, kIntervalNumberColumn, QStringLiteral("Behavior")},
    {kModeRow, kIntervalNumberColumn, QStringLiteral("Mode")},
    {kFullPercentRow, kIntervalNumberColumn, QStringLiteral("full int'l %")},
    {kPartialPercentRow, kIntervalNumberColumn, QStringLiteral("part. int'l %")},
    {kResponsesPerMinuteRow, kIntervalNumberColumn, QStringLiteral("RPM")},
    {kIntervalPercentRow, kIntervalNumberColumn, QStringLiteral("interval %")},
    {kIntervalNumberRow, kIntervalNumberColumn, QStringLiteral("Interval #")},
};

// The note of a terminated session, in the first slot's column just below its last recorded
// interval.
QString terminationNote(std::int64_t interval);

} // namespace quorvia
