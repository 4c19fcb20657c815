#pragma once

// Helpers of the report tests: sessions recorded through the recording rules, and worksheets
// compared with cells written "E14=s:a" (a text), "E20=n:6" (a number) or "E18=-" (no cell).

#include "recording/keyinput.h"
#include "recording/sessionclock.h"
#include "recording/sessionrecord.h"
#include "report/sessionsheet.h"

#include <QStringList>

#include <set>

namespace quorvia::test {

// A session of participant P07, session 3, set up and recording; then the script is played: a
// number runs the clock that many seconds, "#" pauses and terminates, any other word is typed.
inline SessionRecord played(const QString& keys, double duration, double intervalLength,
                            const QString& script) {
    SessionRecord record;
    record.participantId = QStringLiteral("P07");
    record.sessionNumber = 3;
    record.condition = QStringLiteral("base");
    record.observerId = QStringLiteral("KT");
    record.sessionDate = QStringLiteral("2026/12/06");
    record.keysToHit = keys;
    record.sessionDuration = duration;
    record.intervalLength = intervalLength;
    record.reset();
    record.state = SessionState::Recording;
    for (const QString& word : script.split(u' ', Qt::SkipEmptyParts)) {
        if (word == u"#") {
            handleKey(record, QChar(kEscape));
            record.writeEndEntry(kSessionTerminated);
        } else if (word.front().isDigit()) {
            for (int i = word.toInt(); i > 0; --i)
                tick(record, 0);
        } else {
            for (const QChar c : word)
                handleKey(record, c);
        }
    }
    return record;
}

// A cell as the expectations write it: "s:" and the text, "n:" and the number, or "-".
inline QString cellText(const CellValue* value) {
    if (value == nullptr)
        return QStringLiteral("-");
    if (const auto* text = std::get_if<QString>(value))
        return QStringLiteral("s:") + *text;
    return QStringLiteral("n:") +
           QString::number(std::get<double>(*value), 'g', QLocale::FloatingPointShortest);
}

// The first cell of the sheet that differs from the expected ones (separated by "|"), or an empty
// text; when exact, a cell that is not expected is a difference too.
inline QString sheetDifference(const Worksheet& sheet, const QString& expected,
                               bool exact = false) {
    std::set<std::pair<int, int>> named;
    for (const QString& cell : expected.split(u'|', Qt::SkipEmptyParts)) {
        const QString address = cell.section(u'=', 0, 0); // one column letter, then the row
        const std::pair<int, int> at{address.mid(1).toInt(), address.at(0).unicode() - u'A' + 1};
        named.insert(at);
        const QString actual = cellText(sheet.at(at.first, at.second));
        if (actual != cell.section(u'=', 1))
            return QStringLiteral("%1 holds %2").arg(cell, actual);
    }
    for (const auto& [at, value] : sheet.cells()) {
        if (exact && named.count(at) == 0)
            return QStringLiteral("unexpected %1%2=%3")
                .arg(columnLetters(at.second), QString::number(at.first), cellText(&value));
    }
    return {};
}

} // namespace quorvia::test
