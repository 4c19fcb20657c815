#include "report/sessionsheet.h"
#include "report/sessionworkbook.h"
#include "workbook/workbookreader.h"

#include <QFileInfo>

#include <new>

namespace quorvia {

SessionWorkbookResult readSessionWorkbook(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    Worksheet cells;
    QString error;
    // The entry log (columns A and B below the header) is not part of the session read back,
    // nor is anything right of the tenth key's column.
    CellReading reading;
    reading.keep = [](int row, int column) {
        return (row <= kSessionHeaderRows || column > kColumnC) &&
               column < kFirstSlotColumn + kSlotCount;
    };
    // The interval table is a block of rows from kFirstIntervalRow with cells right of column C;
    // below it only the entry log goes on.
    reading.stopBefore = [](const Worksheet& sofar, int row) {
        if (row <= kFirstIntervalRow)
            return false;
        const auto& all = sofar.cells();
        const auto from = all.lower_bound({row - 1, kIntervalNumberColumn});
        return from == all.end() || from->first.first != row - 1;
    };
    if (!readWorkbookCells(path, cells, error, reading))
        return {std::nullopt, QStringLiteral("%1 cannot be read: %2.").arg(name, error)};
    SessionWorkbookResult result;
    try {
        result = parseSessionWorkbook(cells);
    } catch (const std::bad_alloc&) {
        result = {std::nullopt, QStringLiteral("there is not enough memory to read it")};
    }
    if (!result.workbook)
        result.error =
            QStringLiteral("%1 is not a usable session workbook: %2.").arg(name, result.error);
    return result;
}

} // namespace quorvia
