#pragma once

#include "recording/sessionparameters.h"
#include "workbook/worksheet.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// A session workbook read back: what the program wrote at the end of a session, taken from the
// cells of its one worksheet.
namespace quorvia {

// One key slot's column (E for slot 1, F for slot 2, ...).
struct WorkbookSlot {
    QString key;       // the key's character (one code point: one or two UTF-16 units)
    QString behaviour; // row 15, the behaviour name as typed
    QString mode;      // row 16: "On/Off", "Hits", or empty for a slot written without a mode
    // The summary measures of rows 18 to 21 as numbers (a percentage without its "%"); none
    // where the cell is empty.
    std::optional<double> fullPercent;
    std::optional<double> partialPercent;
    std::optional<double> responsesPerMinute;
    std::optional<double> intervalPercent;
    // One value per recorded interval from row 24 down, interval 1 at index 0: the interval
    // codes 0, 1, 2 of an On/Off key, the press counts of a counted key.
    std::vector<double> values;
};

// The header's parameters (the session date as typed) are its base, its slot set-ups the
// behaviour names of row 15 with the mode values their row-16 texts were written from.
struct SessionWorkbook : SessionParameters {
    QString startedAt;
    std::int64_t intervalCount = 0; // recorded intervals, the length of every slot's values
    // Key slots 1, 2, ... at index 0, 1, ... ("slots" is taken by a Qt keyword macro).
    std::vector<WorkbookSlot> keySlots;
};

// The workbook, or what is wrong with it: a sentence that names the place in the sheet but not
// the file (the caller puts the file's name in front).
struct SessionWorkbookResult {
    std::optional<SessionWorkbook> workbook;
    QString error;
};

// Reads the session out of the cells of its worksheet, as written by the program or by a
// spreadsheet program that opened and saved it again (numbers as numbers or as texts).
SessionWorkbookResult parseSessionWorkbook(const Worksheet& cells);

// A session workbook from a file: the cells read and parsed. The error names the file and what is
// wrong with it.
SessionWorkbookResult readSessionWorkbook(const QString& path);

} // namespace quorvia
