#pragma once

#include <QString>

#include <vector>

namespace quorvia {

class Worksheet;

// Writes a worksheet as a one-sheet workbook file. Returns false when the file could not be
// written completely; a file already at that path is then left as it was.
class WorkbookWriter {
public:
    virtual ~WorkbookWriter() = default;
    virtual bool write(const Worksheet& sheet, const QString& path) = 0;
    // Several named worksheets in one workbook, in order, saved the same way.
    struct NamedSheet {
        QString name;
        const Worksheet* sheet = nullptr;
    };
    virtual bool writeSheets(const std::vector<NamedSheet>& sheets, const QString& path) = 0;
};

} // namespace quorvia
