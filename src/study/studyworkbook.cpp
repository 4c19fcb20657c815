#include "study/studyworkbook.h"

#include "study/studytables.h"
#include "workbook/worksheet.h"

namespace quorvia {

namespace {

// Numbers as numbers, every other cell (n/a too) as text; empty cells stay empty.
Worksheet sheetOf(const StudyTable& table) {
    Worksheet sheet;
    for (qsizetype c = 0; c < table.header.size(); ++c)
        sheet.setText(1, static_cast<int>(c) + 1, table.header[c]);
    int row = 2;
    for (const std::vector<StudyCell>& cells : table.rows) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const int column = static_cast<int>(c) + 1;
            if (cells[c].number)
                sheet.setNumber(row, column, *cells[c].number);
            else if (!cells[c].text.isEmpty())
                sheet.setText(row, column, cells[c].text);
        }
        ++row;
    }
    return sheet;
}

} // namespace

bool writeStudyWorkbook(WorkbookWriter& writer, const Study& study, const QString& path) {
    const Worksheet sessions = sheetOf(studyTable(study, StudyTableKind::Sessions));
    const Worksheet agreement = sheetOf(studyTable(study, StudyTableKind::Agreement));
    const Worksheet summary = sheetOf(studyTable(study, StudyTableKind::Summary));
    return writer.writeSheets({{QStringLiteral("Sessions"), &sessions},
                               {QStringLiteral("Agreement"), &agreement},
                               {QStringLiteral("Summary"), &summary}},
                              path);
}

} // namespace quorvia
