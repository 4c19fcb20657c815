#include "workbook/workbookreader.h"

#include "workbook/xmlscanner.h"

#include <QFile>
#include <QStringList>

// The system's minizip, the same library the workbook writer zips with. (QuaZip carries its own
// copy of minizip under the same symbol names, so one process cannot hold both it and the writer.)
#include <minizip/unzip.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace quorvia {

namespace {

// The largest session workbook (3600 s in 1-s intervals, ten keys, 100,000 log rows) has a
// worksheet of 11 MB and shared texts of 0.2 MB; a spreadsheet program that saves it again adds
// styles to every cell. Parts beyond these bounds are refused before they are unpacked.
constexpr qint64 kMaxSheetBytes = 64 * 1024 * 1024;
constexpr qint64 kMaxPartBytes = 16 * 1024 * 1024;
// The fewest bytes of worksheet a cell that shows a shared text takes: <c t="s"><v>0</v></c>.
constexpr qint64 kLeastSharedCellBytes = 21;
// Four times the cells of the largest session workbook.
constexpr std::size_t kMaxCells = 1000000;
constexpr int kMaxRow = 1048576;
constexpr int kMaxColumn = 16384;

QString cellName(int row, int column) {
    return columnLetters(column) + QString::number(row);
}

// An open zip file, closed when it goes.
class Zip {
public:
    explicit Zip(const QString& path)
        : file_(unzOpen64(QFile::encodeName(path).constData())) {}
    ~Zip() {
        if (file_)
            unzClose(file_);
    }
    Zip(const Zip&) = delete;
    Zip& operator=(const Zip&) = delete;
    bool isOpen() const { return file_ != nullptr; }
    unzFile handle() const { return file_; }
    bool has(const QString& name) const {
        return unzLocateFile(file_, name.toUtf8().constData(), 1) == UNZ_OK;
    }
    // The size a part says it unpacks to (minizip never unpacks more); -1 when it is not there.
    qint64 unpackedSize(const QString& name) const {
        unz_file_info64 info{};
        if (!has(name) ||
            unzGetCurrentFileInfo64(file_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return -1;
        return static_cast<qint64>(std::min<ZPOS64_T>(info.uncompressed_size, 1ULL << 62));
    }

private:
    unzFile file_;
};

// A part of the zip as it is unpacked, checked against its checksum at its end.
class Part {
public:
    Part(Zip& zip, const QString& name, const QString& what, qint64 limit)
        : zip_(zip)
        , what_(what) {
        const qint64 size = zip.unpackedSize(name);
        if (size < 0)
            throw Refusal{
                QStringLiteral("it is a zip file but no workbook: it has no %1").arg(name)};
        if (size > limit)
            throw Refusal{QStringLiteral("%1 is too large (more than %2 MB unpacked, far more "
                                         "than any session workbook needs)")
                              .arg(what)
                              .arg(limit / (1024 * 1024))};
        if (unzOpenCurrentFile(zip.handle()) != UNZ_OK)
            throw Refusal{QStringLiteral("%1 cannot be opened").arg(what)};
    }
    ~Part() { unzCloseCurrentFile(zip_.handle()); }
    Part(const Part&) = delete;
    Part& operator=(const Part&) = delete;

    XmlScanner::Source source() {
        return [this](char* data, qint64 size) -> qint64 {
            return unzReadCurrentFile(zip_.handle(), data, static_cast<unsigned>(size));
        };
    }
    // At the end of the part: its checksum.
    void finish() {
        if (unzCloseCurrentFile(zip_.handle()) != UNZ_OK)
            throw Refusal{
                QStringLiteral("it is damaged (%1 does not match its checksum)").arg(what_)};
        unzOpenCurrentFile(zip_.handle()); // closed again by the destructor
    }

private:
    Zip& zip_;
    QString what_;
};

// A part's XML, scanned as it is unzipped; every refusal names the part as what.
struct PartXml {
    PartXml(Zip& zip, const QString& name, const QString& what, qint64 limit, bool keepAll = false)
        : part(zip, name, what, limit)
        , xml(what, part.source(), keepAll) {}
    // Reads to the end of the part, which must be well-formed throughout.
    void finish() {
        while (xml.next() != XmlScanner::Token::EndOfPart) {
        }
        part.finish();
    }
    Part part;
    XmlScanner xml;
};

QString partName(const QString& name) {
    return QStringLiteral("its part %1").arg(name);
}

// A target of a relationship of xl/workbook.xml as a path inside the zip.
QString partPath(const QString& target) {
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    return QStringLiteral("xl/") + target;
}

struct WorkbookParts {
    QString firstSheet;
    QString sharedStrings;
    qint64 sheetBytes = 0; // of all the worksheets, as their parts say
};

// A zip that holds another kind of document than a workbook of this format.
void refuseOtherDocument(Zip& zip) {
    const QString again = QStringLiteral(": save it again as an .xlsx workbook");
    if (zip.has(QStringLiteral("xl/workbook.bin")))
        throw Refusal{QStringLiteral("it is a binary workbook (.xlsb)") + again};
    const QString mimetype = QStringLiteral("mimetype");
    const qint64 size = zip.unpackedSize(mimetype);
    if (size > 0 && size < 256) {
        Part part(zip, mimetype, mimetype, 256);
        char bytes[256];
        const qint64 got = part.source()(bytes, sizeof bytes);
        if (std::string_view(bytes, static_cast<std::size_t>(std::max<qint64>(got, 0)))
                .starts_with("application/vnd.oasis.opendocument.spreadsheet"))
            throw Refusal{QStringLiteral("it is an OpenDocument spreadsheet (.ods)") + again};
    }
}

using Token = XmlScanner::Token;

WorkbookParts findParts(Zip& zip) {
    const QString workbookName = QStringLiteral("xl/workbook.xml");
    if (!zip.has(workbookName))
        refuseOtherDocument(zip);
    QString sheetId;
    {
        PartXml workbook(zip, workbookName, partName(workbookName), kMaxPartBytes);
        for (Token token; sheetId.isEmpty() && (token = workbook.xml.next()) != Token::EndOfPart;) {
            if (token == Token::StartElement && workbook.xml.localName() == "sheet")
                sheetId = workbook.xml.attribute("id");
        }
    }
    if (sheetId.isEmpty())
        throw Refusal{QStringLiteral("its workbook lists no worksheet")};

    const QString relsName = QStringLiteral("xl/_rels/workbook.xml.rels");
    PartXml rels(zip, relsName, partName(relsName), kMaxPartBytes);
    WorkbookParts parts;
    QStringList sheets;
    for (Token token; (token = rels.xml.next()) != Token::EndOfPart;) {
        if (token != Token::StartElement || rels.xml.localName() != "Relationship")
            continue;
        const QString target = partPath(rels.xml.attribute("Target"));
        const std::string_view type = rels.xml.rawAttribute("Type");
        if (rels.xml.attribute("Id") == sheetId)
            parts.firstSheet = target;
        else if (type.ends_with("/sharedStrings"))
            parts.sharedStrings = target;
        if ((type.ends_with("/worksheet") || parts.firstSheet == target) &&
            !sheets.contains(target))
            sheets << target;
    }
    rels.part.finish();
    if (parts.firstSheet.isEmpty())
        throw Refusal{QStringLiteral("its first worksheet has no part")};
    for (const QString& sheet : sheets)
        parts.sheetBytes = std::min(parts.sheetBytes + std::max<qint64>(zip.unpackedSize(sheet), 0),
                                    kMaxSheetBytes);
    return parts;
}

// The texts of the <t> elements inside the current element (a shared string or an inline string),
// without the phonetic runs, as spans of the part. Leaves the scanner at the element's end.
template <typename Piece> void stringItem(XmlScanner& xml, Piece&& piece) {
    const int depth = xml.depth();
    int phonetic = 0;
    int inText = 0; // the depth of the <t> being read, 0 outside one
    for (;;) {
        const Token token = xml.next();
        if (token == Token::StartElement) {
            if (xml.localName() == "rPh")
                ++phonetic;
            else if (xml.localName() == "t" && phonetic == 0 && inText == 0)
                inText = xml.depth();
        } else if (token == Token::EndElement) {
            if (xml.depth() < depth)
                return;
            if (xml.localName() == "rPh")
                --phonetic;
            if (xml.depth() < inText)
                inText = 0;
        } else if (token == Token::Text && inText > 0) {
            piece(xml.textSpan());
        }
    }
}

// The shared texts, no more of them than the worksheets have room for cells that show them. The
// part is held as it is written; a text is decoded when a cell first shows it.
class SharedStrings {
public:
    SharedStrings(Zip& zip, const WorkbookParts& parts) {
        if (parts.sharedStrings.isEmpty() || !zip.has(parts.sharedStrings))
            return;
        const QString what = partName(parts.sharedStrings);
        xml_.emplace(zip, parts.sharedStrings, what, kMaxPartBytes, true);
        XmlScanner& xml = xml_->xml;
        const auto room = static_cast<std::size_t>(parts.sheetBytes / kLeastSharedCellBytes);
        for (Token token; (token = xml.next()) != Token::EndOfPart;) {
            if (token != Token::StartElement || xml.localName() != "si")
                continue;
            if (items_.size() >= room)
                throw Refusal{QStringLiteral("%1 holds more shared texts than its worksheets "
                                             "have cells")
                                  .arg(what)};
            Item item{static_cast<quint32>(pieces_.size()), 0};
            std::size_t bytes = 0;
            stringItem(xml, [&](XmlScanner::Span span) {
                pieces_.push_back(span);
                ++item.pieces;
                bytes += span.end - span.begin;
            });
            items_.push_back(item);
            // A text of more bytes than a cell holds characters may still fit: decode it.
            if (bytes > static_cast<std::size_t>(kMaxCellText) &&
                decode(item).size() > kMaxCellText)
                throw Refusal{tooLongText(what)};
        }
        xml_->part.finish();
    }

    std::size_t size() const { return items_.size(); }
    const QString& at(std::size_t index) {
        const auto [it, added] = decoded_.try_emplace(static_cast<quint32>(index));
        if (added)
            it->second = decode(items_[index]);
        return it->second;
    }

private:
    struct Item {
        quint32 first;
        quint32 pieces;
    };
    QString decode(Item item) const {
        QString text;
        for (quint32 i = item.first; i < item.first + item.pieces; ++i)
            xml_->xml.appendDecoded(pieces_[i], text);
        return text;
    }
    std::optional<PartXml> xml_;
    std::vector<XmlScanner::Span> pieces_;
    std::vector<Item> items_;
    std::unordered_map<quint32, QString> decoded_;
};

// "E24" as row 24, column 5; false for anything else.
bool parseReference(std::string_view reference, int& row, int& column) {
    std::size_t i = 0;
    column = 0;
    for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z'; ++i) {
        column = column * 26 + (reference[i] - 'A' + 1);
        if (column > kMaxColumn)
            return false;
    }
    if (i == 0 || i == reference.size())
        return false;
    const auto [end, ec] =
        std::from_chars(reference.data() + i, reference.data() + reference.size(), row);
    return ec == std::errc() && end == reference.data() + reference.size() && row >= 1 &&
           row <= kMaxRow;
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r';
    };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A value as written in the format: an optional sign, digits, a point, an exponent.
template <typename Number> bool parseNumber(std::string_view text, Number& number) {
    text = trimmed(text);
    if (text.starts_with('+') && text.size() > 1 && text[1] != '-')
        text.remove_prefix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if constexpr (std::is_floating_point_v<Number>) {
        if (!std::isfinite(number))
            return false;
    }
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// The texts of a cell's <v>: usually one run of plain bytes, kept as they are.
struct CellText {
    std::string raw;
    QString decoded; // when there is more than one run, or a CDATA section
    bool isDecoded = false;

    void add(const XmlScanner& xml, XmlScanner::Span span, bool first) {
        if (first && !span.cdata) {
            raw.assign(xml.raw(span));
            return;
        }
        if (!isDecoded) {
            xml.appendDecoded(raw, false, decoded);
            isDecoded = true;
        }
        xml.appendDecoded(span, decoded);
    }
    QString text(const XmlScanner& xml) const {
        if (isDecoded)
            return decoded;
        QString text;
        xml.appendDecoded(raw, false, text);
        return text;
    }
    // The text's bytes, references resolved, for a number.
    std::string bytes(const XmlScanner& xml) const {
        if (!isDecoded && raw.find('&') == std::string::npos)
            return raw;
        return text(xml).toStdString();
    }
};

void readSheet(Zip& zip, const QString& name, SharedStrings& shared, Worksheet& cells,
               const CellReading& reading) {
    PartXml part(zip, name, QStringLiteral("its worksheet"), kMaxSheetBytes);
    XmlScanner& xml = part.xml;
    const CellFilter& keep = reading.keep;
    int row = 0;
    int column = 0;
    std::size_t count = 0;
    bool inSheetData = false;
    for (Token token; (token = xml.next()) != Token::EndOfPart;) {
        // The cells end with the sheet's data: what follows (page set-up) is not read.
        if (token == Token::EndElement && xml.localName() == "sheetData")
            return;
        if (token != Token::StartElement)
            continue;
        const std::string_view element = xml.localName();
        if (element == "sheetData") {
            inSheetData = true;
        } else if (inSheetData && element == "row") {
            const std::string_view rowNumber = xml.rawAttribute("r");
            if (rowNumber.empty())
                ++row;
            else if (!parseNumber(rowNumber, row))
                row = 0;
            column = 0;
            if (row < 1 || row > kMaxRow)
                throw Refusal{QStringLiteral("its worksheet has a row outside the sheet")};
            if (reading.stopBefore && reading.stopBefore(cells, row))
                return;
        } else if (inSheetData && element == "c") {
            const std::string_view reference = xml.rawAttribute("r");
            if (reference.empty()) {
                ++column;
            } else if (!parseReference(reference, row, column)) {
                throw Refusal{QStringLiteral("its worksheet has a cell \u201C%1\u201D outside the "
                                             "sheet")
                                  .arg(xml.attribute("r").left(20))};
            }
            if (row < 1 || column < 1 || column > kMaxColumn)
                throw Refusal{QStringLiteral("its worksheet has a cell outside the sheet")};
            const auto place = [&] {
                return QStringLiteral("its worksheet (cell %1)").arg(cellName(row, column));
            };
            xml.row = row;
            xml.column = column;
            const bool kept = !keep || keep(row, column);
            const std::string type(xml.rawAttribute("t"));
            const int depth = xml.depth();
            CellText value;
            QString inlineText;
            bool hasValue = false;
            bool isInline = false;
            for (;;) {
                const Token inner = xml.next();
                if (inner == Token::EndElement && xml.depth() < depth)
                    break;
                if (!kept || inner != Token::StartElement || xml.depth() != depth + 1)
                    continue;
                if (xml.localName() == "v") {
                    int pieces = 0;
                    for (Token t; (t = xml.next()) != Token::EndElement || xml.depth() > depth;) {
                        if (t == Token::Text)
                            value.add(xml, xml.textSpan(), pieces++ == 0);
                    }
                    hasValue = true;
                } else if (xml.localName() == "is") {
                    inlineText.clear();
                    stringItem(xml, [&](XmlScanner::Span span) {
                        xml.appendDecoded(span, inlineText);
                        if (inlineText.size() > kMaxCellText)
                            throw Refusal{tooLongText(place())};
                    });
                    hasValue = isInline = true;
                }
            }
            xml.row = 0;
            if (!hasValue)
                continue;
            if (++count > kMaxCells)
                throw Refusal{QStringLiteral("its worksheet has more cells than any session "
                                             "workbook")};
            if (isInline) {
                cells.setText(row, column, inlineText);
            } else if (type == "s") {
                std::size_t index = 0;
                if (!parseNumber(std::string_view(value.bytes(xml)), index) ||
                    index >= shared.size())
                    throw Refusal{QStringLiteral("its worksheet refers to a shared text that is "
                                                 "not there (cell %1)")
                                      .arg(cellName(row, column))};
                cells.setText(row, column, shared.at(index));
            } else if (type == "str" || type == "inlineStr" || type == "e" || type == "d") {
                const QString text = value.text(xml);
                if (text.size() > kMaxCellText)
                    throw Refusal{tooLongText(place())};
                cells.setText(row, column, text);
            } else {
                double number = 0;
                if (!parseNumber(std::string_view(value.bytes(xml)), number))
                    throw Refusal{QStringLiteral("its worksheet holds a malformed number in cell "
                                                 "%1")
                                      .arg(cellName(row, column))};
                cells.setNumber(row, column, number);
            }
        }
    }
    part.part.finish();
}

// Why the file at path cannot be opened as a workbook; empty when it can be tried.
QString fileProblem(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR
                   ? QStringLiteral("the file does not exist")
                   : QStringLiteral("it is not a regular file (%1)")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(status.st_mode))
        return S_ISDIR(status.st_mode) ? QStringLiteral("it is not a regular file but a folder")
                                       : QStringLiteral("it is not a regular file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("it cannot be opened (%1)").arg(file.errorString());
    if (file.read(8) == QByteArray::fromHex("d0cf11e0a1b11ae1"))
        return QStringLiteral("it is a workbook of the older .xls format: save it again as an "
                              ".xlsx workbook");
    return {};
}

} // namespace

bool readWorkbookCells(const QString& path, Worksheet& cells, QString& error) {
    return readWorkbookCells(path, cells, error, CellReading{});
}

bool readWorkbookCells(const QString& path, Worksheet& cells, QString& error,
                       const CellReading& reading) {
    cells = Worksheet();
    error = fileProblem(path);
    if (!error.isEmpty())
        return false;
    Zip zip(path);
    if (!zip.isOpen()) {
        error = QStringLiteral("it is not a workbook (.xlsx): not a readable zip file");
        return false;
    }
    try {
        const WorkbookParts parts = findParts(zip);
        SharedStrings shared(zip, parts);
        readSheet(zip, parts.firstSheet, shared, cells, reading);
    } catch (const Refusal& refusal) {
        cells = Worksheet();
        error = refusal.reason;
        return false;
    } catch (const std::bad_alloc&) { // the last line: the bounds above keep well below this
        cells = Worksheet();
        error = QStringLiteral("there is not enough memory to read it");
        return false;
    }
    return true;
}

QString columnLetters(int column) {
    QString letters;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        letters.prepend(QChar(u'A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

} // namespace quorvia
