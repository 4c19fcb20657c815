#include "workbook/xlsxworkbookwriter.h"

#include "workbook/worksheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <locale.h>

#include <sys/stat.h>

namespace quorvia {

namespace {

// The most characters a cell holds.
constexpr qsizetype kCellTextLimit = 32767;

// Whether "_x" with four hexadecimal digits and "_" starts at i: the file format's escape of one
// character.
bool isEscapeAt(const QString& text, qsizetype i) {
    if (i + 7 > text.size() || text[i] != u'_' || (text[i + 1] != u'x' && text[i + 1] != u'X') ||
        text[i + 6] != u'_')
        return false;
    for (qsizetype k = i + 2; k < i + 6; ++k) {
        const char16_t c = text[k].unicode();
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return true;
}

// The text as its cell stores it. A literal escape sequence in it gets its underscore escaped as
// "_x005F_", so that every reader shows the text as typed. A text longer than a cell holds is cut
// at the limit (counted in the stored form, never inside a character or an escape): one long
// text must not cost the whole workbook.
QString storedCellText(const QString& text) {
    QString stored;
    stored.reserve(std::min(text.size(), kCellTextLimit));
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView piece = QStringView(text).mid(i, pair ? 2 : 1);
        const QStringView kept = isEscapeAt(text, i) ? QStringView(u"_x005F_") : piece;
        if (stored.size() + kept.size() > kCellTextLimit)
            break;
        stored += kept;
        i += piece.size();
    }
    return stored;
}

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
            error = worksheet_write_string(worksheet, row, column,
                                           storedCellText(*text).toUtf8().constData(), nullptr);
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

// The C library's number formats of the "C" locale on this thread while it lives, whatever the
// process's locale says: the library writes every number of the file (cell values, page margins,
// column widths) with printf, and under a locale with a decimal comma it would write "5,14", a
// number no reader takes. The other categories of the locale stay as they were.
class CNumbersOnThisThread {
public:
    CNumbersOnThisThread() {
        const locale_t base = ::duplocale(::uselocale(nullptr));
        if (base == nullptr)
            return;
        numbers_ = ::newlocale(LC_NUMERIC_MASK, "C", base);
        if (numbers_ == nullptr) {
            ::freelocale(base);
            return;
        }
        previous_ = ::uselocale(numbers_);
    }
    ~CNumbersOnThisThread() {
        if (numbers_ == nullptr)
            return;
        ::uselocale(previous_);
        ::freelocale(numbers_);
    }
    CNumbersOnThisThread(const CNumbersOnThisThread&) = delete;
    CNumbersOnThisThread& operator=(const CNumbersOnThisThread&) = delete;

    bool active() const { return numbers_ != nullptr; }

private:
    locale_t numbers_ = nullptr;
    locale_t previous_ = nullptr;
};

// The sheets written into a new workbook file, in order; an empty name takes the default one.
bool fillWorkbook(const std::vector<WorkbookWriter::NamedSheet>& sheets,
                  const QByteArray& fileName) {
    // Without the "C" number formats the numbers could be written in a form no reader takes:
    // better no file than a damaged one.
    const CNumbersOnThisThread numbers;
    if (!numbers.active())
        return false;
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
    // A symbolic link is followed to the file it names, which is then replaced in its own folder:
    // the link stays a link.
    QFileInfo target(path);
    for (int depth = 0; target.isSymLink(); ++depth) {
        if (depth == 40)
            return false; // links in a loop
        target = QFileInfo(target.symLinkTarget());
    }
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());

    QTemporaryFile reserve(target.absoluteDir().filePath(QStringLiteral(".quorvia-XXXXXX.xlsx")));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        return false;
    const QString temporary = reserve.fileName();
    reserve.close();

    // The reserved name was made private to us. A replaced file keeps its permission bits; a new
    // one gets those of any new document (0666 less the process's file mode mask).
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(targetName.constData(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const QByteArray temporaryName = QFile::encodeName(temporary);
    if (::chmod(temporaryName.constData(), mode) != 0 || !fillWorkbook(sheets, temporaryName) ||
        std::rename(temporaryName.constData(), targetName.constData()) != 0) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace quorvia

quorvia::WorkbookWriter* quorvia_create_workbook_writer() {
    return new quorvia::XlsxWorkbookWriter;
}
