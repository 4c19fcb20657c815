#pragma once

#include "workbook/worksheet.h"

#include <QString>

#include <functional>

namespace quorvia {

// Reads the cells of the first worksheet of an .xlsx workbook: texts (shared or inline strings)
// as texts, numbers as numbers. Returns false with the reason in error (a sentence without the
// file's name) when the file is not a readable workbook.
bool readWorkbookCells(const QString& path, Worksheet& cells, QString& error);

// The same, keeping only the cells for which keep(row, column) is true, and stopping before a
// row for which stopBefore(the cells so far, row) is true (each when it is set).
using CellFilter = std::function<bool(int row, int column)>;
struct CellReading {
    CellFilter keep;
    std::function<bool(const Worksheet& cells, int row)> stopBefore;
};
bool readWorkbookCells(const QString& path, Worksheet& cells, QString& error,
                       const CellReading& reading);

} // namespace quorvia
