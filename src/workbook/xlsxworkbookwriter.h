#pragma once

#include "workbook/workbookwriter.h"

namespace quorvia {

// Writes the workbook with libxlsxwriter into a temporary file beside the target and renames it
// into place, so that no half-written file is ever left at the target path. A symbolic link is
// followed to the file it names, and a replaced file keeps its permission bits. Every text is
// stored so that it reads back as typed; one longer than a cell holds (32,767 characters) is cut.
// Numbers are written in the file format's own form (a full stop) whatever the locale.
class XlsxWorkbookWriter final : public WorkbookWriter {
public:
    bool write(const Worksheet& sheet, const QString& path) override;
    bool writeSheets(const std::vector<NamedSheet>& sheets, const QString& path) override;
};

} // namespace quorvia

// The module's entry point: a new writer, owned by the caller.
extern "C" Q_DECL_EXPORT quorvia::WorkbookWriter* quorvia_create_workbook_writer();
