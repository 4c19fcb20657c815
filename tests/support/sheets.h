#pragma once

// The worksheet of a session record, for tests that write or read session workbooks.

#include "report/sessionsheet.h"

namespace quorvia::test {

// The record's worksheet, started at 09:05:07.25 and ended at 09:05:37.25; slot s is named
// names[s - 1] ("Behaviour" when not given), with the check value of digit s of modes.
inline Worksheet sheetOf(const SessionRecord& record, const QString& modes,
                         const QStringList& names = {}) {
    SessionSheetInputs inputs{{}, QStringLiteral("09:05:07.25"), QStringLiteral("09:05:37.25")};
    for (qsizetype s = 0; s < modes.size(); ++s)
        inputs.slotControls.push_back(
            {names.value(s, QStringLiteral("Behaviour")), modes.at(s).digitValue()});
    return buildSessionSheet(record, inputs);
}

} // namespace quorvia::test
