#include "platform/qtplatform.h"

#include "report/worksheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cmath>
#include <cstdio>

namespace quorvia {

namespace {

bool fillWorksheet(lxw_workbook* workbook, const Worksheet& sheet, const QString& name) {
    const QByteArray sheetName = name.toUtf8();
    lxw_worksheet* worksheet =
        workbook_add_worksheet(workbook, name.isEmpty() ? nullptr : sheetName.constData());
    bool ok = worksheet != nullptr;
    for (auto it = sheet.cells().begin(); ok && it != sheet.cells().end(); ++it) {
        // A place outside the worksheet's grid must not wrap around onto another cell.
        if (it->first.first < 1 || it->first.first > static_cast<int>(LXW_ROW_MAX) ||
            it->first.second < 1 || it->first.second > static_cast<int>(LXW_COL_MAX)) {
            ok = false;
            break;
        }
        const auto row = static_cast<lxw_row_t>(it->first.first - 1);
        const auto column = static_cast<lxw_col_t>(it->first.second - 1);
        lxw_error error = LXW_NO_ERROR;
        if (const auto* text = std::get_if<QString>(&it->second)) {
            // An empty text is an empty cell: nothing to store.
            if (text->isEmpty())
                continue;
            // Written as a string record, so a leading "=" never becomes a formula.
            error =
                worksheet_write_string(worksheet, row, column, text->toUtf8().constData(), nullptr);
        } else {
            const double number = std::get<double>(it->second);
            // A workbook has no cell for an infinite or undefined number; its text would make the
            // whole file unreadable.
            error = std::isfinite(number)
                        ? worksheet_write_number(worksheet, row, column, number, nullptr)
                        : LXW_ERROR_PARAMETER_VALIDATION;
        }
        ok = error == LXW_NO_ERROR;
    }
    return ok;
}

// The sheets written into a new workbook file, in order; an empty name takes the default one.
bool fillWorkbook(const std::vector<WorkbookWriter::NamedSheet>& sheets,
                  const QByteArray& fileName) {
    lxw_workbook* workbook = workbook_new(fileName.constData());
    if (!workbook)
        return false;
    bool ok = true;
    for (const auto& sheet : sheets)
        ok = ok && sheet.sheet && fillWorksheet(workbook, *sheet.sheet, sheet.name);
    // The workbook is closed (and freed) in any case; its result tells whether the file is whole.
    const lxw_error closed = workbook_close(workbook);
    return ok && closed == LXW_NO_ERROR;
}

} // namespace

bool XlsxWorkbookWriter::write(const Worksheet& sheet, const QString& path) {
    return writeSheets({{QString(), &sheet}}, path);
}

bool XlsxWorkbookWriter::writeSheets(const std::vector<NamedSheet>& sheets, const QString& path) {
    const QFileInfo target(path);
    QTemporaryFile reserve(target.absoluteDir().filePath(QStringLiteral(".quorvia-XXXXXX.xlsx")));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        return false;
    const QString temporary = reserve.fileName();
    reserve.close();

    const QByteArray temporaryName = QFile::encodeName(temporary);
    // The reserved name was made private to us; the saved workbook is an ordinary document.
    QFile::setPermissions(temporary, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (!fillWorkbook(sheets, temporaryName) ||
        std::rename(temporaryName.constData(), QFile::encodeName(target.absoluteFilePath())) != 0) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace quorvia
