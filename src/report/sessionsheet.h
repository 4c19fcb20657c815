#pragma once

#include "recording/sessionrecord.h"
#include "report/sheetlayout.h"
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

// The whole worksheet of an ended session. A session whose last log row is not "Session
// Finished" loses its intervals after the current one; one whose last row is "Session
// Terminated" gets the termination note. Throws std::out_of_range when the record and the inputs
// do not describe an ended session (no controls for a slot, an interval or row outside it).
Worksheet buildSessionSheet(const SessionRecord& record, const SessionSheetInputs& inputs);

} // namespace quorvia
