#include "workbook/workbookreader.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QXmlStreamReader>

// The system's minizip, the same library the workbook writer zips with. (QuaZip carries its own
// copy of minizip under the same symbol names, so one process cannot hold both it and the writer.)
#include <minizip/unzip.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

namespace quorvia {

namespace {

// The largest session workbook (3600 s in 1-s intervals, ten keys, 100,000 log rows) has a
// worksheet of 11 MB and shared texts of 0.2 MB; a spreadsheet program that saves it again adds
// styles to every cell. Parts beyond these bounds are refused before they are unpacked.
constexpr qint64 kMaxSheetBytes = 64 * 1024 * 1024;
constexpr qint64 kMaxPartBytes = 16 * 1024 * 1024;
// The longest text a cell holds, and the longest run of a part's bytes without markup that can
// still hold one (every character written as a character reference, with room to spare).
constexpr qsizetype kMaxCellText = 32767;
constexpr qint64 kMaxRunBytes = 1024 * 1024;
// The fewest bytes of worksheet a cell that shows a shared text takes: <c t="s"><v>0</v></c>.
constexpr qint64 kLeastSharedCellBytes = 21;
constexpr int kMaxRow = 1048576;
constexpr int kMaxColumn = 16384;

struct Refusal {
    QString reason;
};

QString cellName(int row, int column) {
    return columnLetters(column) + QString::number(row);
}

QString tooLongText(const QString& place) {
    return QStringLiteral("%1 holds a text longer than a cell can hold (32,767 characters)")
        .arg(place);
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

// A part read as it is unzipped. It watches the bytes go by: no workbook part declares a document
// type (whose entities would multiply a small file many times over), and none holds a run of text
// longer than a cell can hold.
class PartDevice final : public QIODevice {
public:
    PartDevice(Zip& zip, const QString& name, const QString& what, qint64 limit)
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
        open(QIODevice::ReadOnly);
    }
    ~PartDevice() override { unzCloseCurrentFile(zip_.handle()); }

    bool isSequential() const override { return true; }
    // The cell the reader is in (row 0: none), for a refusal of a run that is too long.
    int row = 0;
    int column = 0;
    // What the bytes read so far showed to be wrong (the XML reader sees only its end).
    void check() const {
        if (!refusal_.isEmpty())
            throw Refusal{refusal_};
    }
    // At the end of the part: its checksum.
    void finish() {
        check();
        if (unzCloseCurrentFile(zip_.handle()) != UNZ_OK)
            throw Refusal{
                QStringLiteral("it is damaged (%1 does not match its checksum)").arg(what_)};
        unzOpenCurrentFile(zip_.handle()); // closed again by the destructor
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (!refusal_.isEmpty())
            return -1;
        const int got = unzReadCurrentFile(
            zip_.handle(), data, static_cast<unsigned>(std::min<qint64>(maxSize, 1 << 16)));
        if (got < 0)
            return fail(QStringLiteral("it is damaged (%1 cannot be unpacked)").arg(what_));
        for (int i = 0; i < got; ++i) {
            const char c = data[i];
            if (c == '<' || c == '>') {
                run_ = 0;
            } else if (++run_ > kMaxRunBytes) {
                return fail(tooLongText(
                    row == 0 ? what_
                             : QStringLiteral("%1 (cell %2)").arg(what_, cellName(row, column))));
            }
            // "<!DOCTYPE", across the ends of the blocks read.
            static constexpr char kDoctype[] = "<!DOCTYPE";
            matched_ = c == kDoctype[matched_] ? matched_ + 1 : (c == '<' ? 1 : 0);
            if (matched_ == sizeof kDoctype - 1)
                return fail(QStringLiteral("%1 declares a document type, which no workbook part "
                                           "does")
                                .arg(what_));
        }
        return got;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    qint64 fail(const QString& reason) {
        refusal_ = reason;
        return -1;
    }
    Zip& zip_;
    QString what_;
    QString refusal_;
    qint64 run_ = 0;
    std::size_t matched_ = 0;
};

// A part's XML, read as it is unzipped; every refusal names the part as what.
class PartXml {
public:
    PartXml(Zip& zip, const QString& name, const QString& what, qint64 limit)
        : device(zip, name, what, limit)
        , xml(&device)
        , what_(what) {}

    // The next token; a document type (in a part not in UTF-8) is refused here too.
    QXmlStreamReader::TokenType next() {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::DTD)
            throw Refusal{QStringLiteral("%1 declares a document type, which no workbook part does")
                              .arg(what_)};
        if (token == QXmlStreamReader::Invalid)
            failOnError();
        return token;
    }
    bool atEnd() const { return xml.atEnd(); }
    QStringView name() const { return xml.name(); }

    // The texts inside the current element, which must fit a cell; leaves the reader at its end.
    QString text(const QString& place) {
        QString text;
        for (int depth = 1; depth > 0;) {
            const auto token = next();
            if (token == QXmlStreamReader::StartElement)
                ++depth;
            else if (token == QXmlStreamReader::EndElement)
                --depth;
            else if (token == QXmlStreamReader::Characters ||
                     token == QXmlStreamReader::EntityReference)
                text += xml.text();
            else if (token == QXmlStreamReader::EndDocument)
                failOnError();
            if (text.size() > kMaxCellText)
                throw Refusal{tooLongText(place)};
        }
        return text;
    }

    void failOnError() const {
        device.check();
        if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            throw Refusal{QStringLiteral("it is damaged (%1 is cut off)").arg(what_)};
        if (xml.hasError())
            throw Refusal{QStringLiteral("%1 is not well-formed XML (line %2: %3)")
                              .arg(what_)
                              .arg(xml.lineNumber())
                              .arg(xml.errorString())};
    }
    void finish() {
        failOnError();
        device.finish();
    }

    PartDevice device;
    QXmlStreamReader xml;

private:
    QString what_;
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
    if (zip.unpackedSize(QStringLiteral("mimetype")) > 0 &&
        zip.unpackedSize(QStringLiteral("mimetype")) < 256) {
        PartDevice mimetype(zip, QStringLiteral("mimetype"), QStringLiteral("its mimetype"), 256);
        if (mimetype.readAll().startsWith("application/vnd.oasis.opendocument.spreadsheet"))
            throw Refusal{QStringLiteral("it is an OpenDocument spreadsheet (.ods)") + again};
    }
}

WorkbookParts findParts(Zip& zip) {
    const QString workbookName = QStringLiteral("xl/workbook.xml");
    if (!zip.has(workbookName))
        refuseOtherDocument(zip);
    PartXml workbook(zip, workbookName, partName(workbookName), kMaxPartBytes);
    QString sheetId;
    while (sheetId.isEmpty() && !workbook.atEnd()) {
        if (workbook.next() == QXmlStreamReader::StartElement && workbook.name() == u"sheet") {
            for (const QXmlStreamAttribute& attribute : workbook.xml.attributes()) {
                if (attribute.name() == u"id")
                    sheetId = attribute.value().toString();
            }
        }
    }
    workbook.failOnError();
    if (sheetId.isEmpty())
        throw Refusal{QStringLiteral("its workbook lists no worksheet")};

    const QString relsName = QStringLiteral("xl/_rels/workbook.xml.rels");
    PartXml rels(zip, relsName, partName(relsName), kMaxPartBytes);
    WorkbookParts parts;
    QStringList sheets;
    while (!rels.atEnd()) {
        if (rels.next() != QXmlStreamReader::StartElement || rels.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes attributes = rels.xml.attributes();
        const QString target = partPath(attributes.value(QLatin1String("Target")).toString());
        const auto type = attributes.value(QLatin1String("Type"));
        if (attributes.value(QLatin1String("Id")) == sheetId)
            parts.firstSheet = target;
        else if (type.endsWith(u"/sharedStrings"))
            parts.sharedStrings = target;
        if ((type.endsWith(u"/worksheet") || parts.firstSheet == target) &&
            !sheets.contains(target))
            sheets << target;
    }
    rels.finish();
    if (parts.firstSheet.isEmpty())
        throw Refusal{QStringLiteral("its first worksheet has no part")};
    for (const QString& sheet : sheets)
        parts.sheetBytes = std::min(parts.sheetBytes + std::max<qint64>(zip.unpackedSize(sheet), 0),
                                    kMaxSheetBytes);
    return parts;
}

// The texts of the <t> elements inside the current element (a shared string or an inline string),
// without the phonetic runs. Leaves the reader at the element's end.
QString stringItem(PartXml& xml, const QString& place) {
    QString text;
    int phonetic = 0;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        const auto token = xml.next();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"t" && phonetic == 0) {
                text += xml.text(place);
                if (text.size() > kMaxCellText)
                    throw Refusal{tooLongText(place)};
                continue; // at the end of the <t> again
            }
            ++depth;
            if (xml.name() == u"rPh")
                ++phonetic;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
            if (xml.name() == u"rPh")
                --phonetic;
        }
    }
    return text;
}

// The shared texts, no more of them than the worksheets have room for cells that show them.
std::vector<QString> readSharedStrings(Zip& zip, const WorkbookParts& parts) {
    std::vector<QString> strings;
    if (parts.sharedStrings.isEmpty() || !zip.has(parts.sharedStrings))
        return strings;
    const QString what = partName(parts.sharedStrings);
    PartXml xml(zip, parts.sharedStrings, what, kMaxPartBytes);
    const auto room = static_cast<std::size_t>(parts.sheetBytes / kLeastSharedCellBytes);
    while (!xml.atEnd()) {
        if (xml.next() == QXmlStreamReader::StartElement && xml.name() == u"si") {
            if (strings.size() >= room)
                throw Refusal{QStringLiteral("%1 holds more shared texts than its worksheets "
                                             "have cells")
                                  .arg(what)};
            strings.push_back(stringItem(xml, what));
        }
    }
    xml.finish();
    return strings;
}

// "E24" as row 24, column 5; false for anything else.
bool parseReference(QStringView reference, int& row, int& column) {
    qsizetype i = 0;
    column = 0;
    for (; i < reference.size() && reference[i] >= u'A' && reference[i] <= u'Z'; ++i) {
        column = column * 26 + (reference[i].unicode() - u'A' + 1);
        if (column > kMaxColumn)
            return false;
    }
    if (i == 0 || i == reference.size())
        return false;
    bool ok = false;
    row = reference.mid(i).toInt(&ok);
    return ok && reference[i] != u'+' && row >= 1 && row <= kMaxRow;
}

void readSheet(Zip& zip, const QString& name, const std::vector<QString>& shared, Worksheet& cells,
               const CellReading& reading) {
    PartXml xml(zip, name, QStringLiteral("its worksheet"), kMaxSheetBytes);
    const CellFilter& keep = reading.keep;
    int row = 0;
    int column = 0;
    bool inSheetData = false;
    while (!xml.atEnd()) {
        const auto token = xml.next();
        // The cells end with the sheet's data: what follows (page set-up) is not read.
        if (token == QXmlStreamReader::EndElement && xml.name() == u"sheetData")
            return xml.device.check();
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView element = xml.name();
        if (element == u"sheetData") {
            inSheetData = true;
        } else if (inSheetData && element == u"row") {
            const auto rowNumber = xml.xml.attributes().value(QLatin1String("r"));
            row = rowNumber.isEmpty() ? row + 1 : rowNumber.toInt();
            column = 0;
            if (row < 1 || row > kMaxRow)
                throw Refusal{QStringLiteral("its worksheet has a row outside the sheet")};
            if (reading.stopBefore && reading.stopBefore(cells, row))
                return xml.device.check();
        } else if (inSheetData && element == u"c") {
            const QXmlStreamAttributes attributes = xml.xml.attributes();
            const auto reference = attributes.value(QLatin1String("r"));
            if (reference.isEmpty()) {
                ++column;
            } else if (!parseReference(reference, row, column)) {
                throw Refusal{QStringLiteral("its worksheet has a cell \u201C%1\u201D outside the "
                                             "sheet")
                                  .arg(reference.left(20))};
            }
            if (row < 1 || column < 1 || column > kMaxColumn)
                throw Refusal{QStringLiteral("its worksheet has a cell outside the sheet")};
            const auto place = [&] {
                return QStringLiteral("its worksheet (cell %1)").arg(cellName(row, column));
            };
            xml.device.row = row;
            xml.device.column = column;
            const bool kept = !keep || keep(row, column);
            const QString type = attributes.value(QLatin1String("t")).toString();
            QString value;
            bool hasValue = false;
            bool inlineText = false;
            for (int depth = 1; depth > 0;) {
                const auto inner = xml.next();
                if (inner == QXmlStreamReader::EndElement) {
                    --depth;
                } else if (inner == QXmlStreamReader::Invalid) {
                    xml.failOnError();
                } else if (inner != QXmlStreamReader::StartElement) {
                    continue;
                } else if (kept && depth == 1 && xml.name() == u"v") {
                    value = xml.text(place());
                    hasValue = true;
                } else if (kept && depth == 1 && xml.name() == u"is") {
                    value = stringItem(xml, place());
                    hasValue = inlineText = true;
                } else {
                    ++depth;
                }
            }
            xml.device.row = 0;
            if (!hasValue)
                continue;
            if (type == u"s") {
                bool ok = false;
                const qulonglong index = value.toULongLong(&ok);
                if (!ok || index >= shared.size())
                    throw Refusal{QStringLiteral("its worksheet refers to a shared text that is "
                                                 "not there (cell %1)")
                                      .arg(cellName(row, column))};
                cells.setText(row, column, shared[index]);
            } else if (inlineText || type == u"str" || type == u"inlineStr" || type == u"e" ||
                       type == u"d") {
                cells.setText(row, column, value);
            } else {
                bool ok = false;
                const double number = QLocale::c().toDouble(value.trimmed(), &ok);
                if (!ok)
                    throw Refusal{QStringLiteral("its worksheet holds a malformed number in cell "
                                                 "%1")
                                      .arg(cellName(row, column))};
                cells.setNumber(row, column, number);
            }
        }
    }
    xml.finish();
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
        readSheet(zip, parts.firstSheet, readSharedStrings(zip, parts), cells, reading);
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
