#pragma once

#include "report/sessionworkbook.h"
#include "report/worksheet.h"

#include <QString>

namespace quorvia {

// Reads the cells of the first worksheet of an .xlsx workbook: texts (shared or inline strings)
// as texts, numbers as numbers. Returns false with the reason in error (a sentence without the
// file's name) when the file is not a readable workbook.
bool readWorkbookCells(const QString& path, Worksheet& cells, QString& error);

// A session workbook from a file: the cells read and parsed. The error names the file and what is
// wrong with it.
SessionWorkbookResult readSessionWorkbook(const QString& path);

} // namespace quorvia
