#include "workbook/workbookreader.h"


#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QXmlStreamReader>

// The system's minizip, the same library the workbook writer zips with. (QuaZip carries its own
// copy of minizip under the same symbol names, so one process cannot hold both it and the writer.)
#include <minizip/unzip.h>

#include <algorithm>
#include <vector>

namespace quorvia {

namespace {

// No part of a session workbook comes near this; a larger one is refused before it fills memory.
constexpr qint64 kMaxPartBytes = 256 * 1024 * 1024;
constexpr int kMaxRow = 1048576;
constexpr int kMaxColumn = 16384;

struct Refusal {
    QString reason;
};

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

private:
    unzFile file_;
};

QByteArray readPart(Zip& zip, const QString& name, bool required) {
    if (unzLocateFile(zip.handle(), name.toUtf8().constData(), 1) != UNZ_OK) {
        if (!required)
            return {};
        throw Refusal{QStringLiteral("it is a zip file but no workbook: it has no %1").arg(name)};
    }
    if (unzOpenCurrentFile(zip.handle()) != UNZ_OK)
        throw Refusal{QStringLiteral("its part %1 cannot be opened").arg(name)};
    QByteArray bytes;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip.handle(), &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK)
        bytes.reserve(
            static_cast<qsizetype>(std::min<ZPOS64_T>(info.uncompressed_size, kMaxPartBytes)));
    char buffer[65536];
    int got = 0;
    while ((got = unzReadCurrentFile(zip.handle(), buffer, sizeof buffer)) > 0) {
        if (bytes.size() + got > kMaxPartBytes) {
            unzCloseCurrentFile(zip.handle());
            throw Refusal{QStringLiteral("its part %1 is too large").arg(name)};
        }
        bytes.append(buffer, got);
    }
    // Closing checks the part's checksum once it was read to its end.
    if (unzCloseCurrentFile(zip.handle()) != UNZ_OK || got < 0)
        throw Refusal{QStringLiteral("its part %1 is damaged").arg(name)};
    return bytes;
}

// A part read as it is unzipped, for the worksheet: most of it is the entry log, which the
// reader may stop before.
class PartDevice final : public QIODevice {
public:
    PartDevice(Zip& zip, const QString& name)
        : zip_(zip)
        , name_(name) {
        if (unzLocateFile(zip.handle(), name.toUtf8().constData(), 1) != UNZ_OK)
            throw Refusal{
                QStringLiteral("it is a zip file but no workbook: it has no %1").arg(name)};
        if (unzOpenCurrentFile(zip.handle()) != UNZ_OK)
            throw Refusal{QStringLiteral("its part %1 cannot be opened").arg(name)};
        open(QIODevice::ReadOnly);
    }
    ~PartDevice() override { unzCloseCurrentFile(zip_.handle()); }

    bool isSequential() const override { return true; }
    // Whether the part was damaged or too large (the XML reader sees only its end).
    void check() const {
        if (damaged_)
            throw Refusal{QStringLiteral("its part %1 is damaged").arg(name_)};
        if (read_ > kMaxPartBytes)
            throw Refusal{QStringLiteral("its part %1 is too large").arg(name_)};
    }
    // At the end of the part: its checksum.
    void finish() {
        check();
        if (unzCloseCurrentFile(zip_.handle()) != UNZ_OK)
            throw Refusal{QStringLiteral("its part %1 is damaged").arg(name_)};
        unzOpenCurrentFile(zip_.handle()); // closed again by the destructor
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (damaged_ || read_ > kMaxPartBytes)
            return -1;
        const int got = unzReadCurrentFile(
            zip_.handle(), data, static_cast<unsigned>(std::min<qint64>(maxSize, 1 << 20)));
        if (got < 0) {
            damaged_ = true;
            return -1;
        }
        read_ += got;
        return read_ > kMaxPartBytes ? -1 : got;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    Zip& zip_;
    QString name_;
    qint64 read_ = 0;
    bool damaged_ = false;
};

void failOnXmlError(const QXmlStreamReader& xml, const QString& part) {
    if (xml.hasError())
        throw Refusal{QStringLiteral("its part %1 is not well-formed XML (line %2: %3)")
                          .arg(part)
                          .arg(xml.lineNumber())
                          .arg(xml.errorString())};
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
};

WorkbookParts findParts(Zip& zip) {
    const QString workbookName = QStringLiteral("xl/workbook.xml");
    QXmlStreamReader workbook(readPart(zip, workbookName, true));
    QString sheetId;
    while (sheetId.isEmpty() && !workbook.atEnd()) {
        if (workbook.readNext() == QXmlStreamReader::StartElement && workbook.name() == u"sheet") {
            for (const QXmlStreamAttribute& attribute : workbook.attributes()) {
                if (attribute.name() == u"id")
                    sheetId = attribute.value().toString();
            }
        }
    }
    failOnXmlError(workbook, workbookName);
    if (sheetId.isEmpty())
        throw Refusal{QStringLiteral("its workbook lists no worksheet")};

    const QString relsName = QStringLiteral("xl/_rels/workbook.xml.rels");
    QXmlStreamReader rels(readPart(zip, relsName, true));
    WorkbookParts parts;
    while (!rels.atEnd()) {
        if (rels.readNext() != QXmlStreamReader::StartElement || rels.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes attributes = rels.attributes();
        const QString target = partPath(attributes.value(QLatin1String("Target")).toString());
        if (attributes.value(QLatin1String("Id")) == sheetId)
            parts.firstSheet = target;
        else if (attributes.value(QLatin1String("Type")).endsWith(u"/sharedStrings"))
            parts.sharedStrings = target;
    }
    failOnXmlError(rels, relsName);
    if (parts.firstSheet.isEmpty())
        throw Refusal{QStringLiteral("its first worksheet has no part")};
    return parts;
}

// The texts of the <t> elements inside the current element (a shared string or an inline string),
// without the phonetic runs. Leaves the reader at the element's end.
QString stringItem(QXmlStreamReader& xml) {
    QString text;
    int phonetic = 0;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"t" && phonetic == 0) {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
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

std::vector<QString> readSharedStrings(Zip& zip, const QString& name) {
    std::vector<QString> strings;
    if (name.isEmpty())
        return strings;
    QXmlStreamReader xml(readPart(zip, name, false));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings.push_back(stringItem(xml));
    }
    failOnXmlError(xml, name);
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
    PartDevice part(zip, name);
    QXmlStreamReader xml(&part);
    const CellFilter& keep = reading.keep;
    int row = 0;
    int column = 0;
    bool inSheetData = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"sheetData")
            inSheetData = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView element = xml.name();
        if (element == u"sheetData") {
            inSheetData = true;
        } else if (inSheetData && element == u"row") {
            const auto rowNumber = xml.attributes().value(QLatin1String("r"));
            row = rowNumber.isEmpty() ? row + 1 : rowNumber.toInt();
            column = 0;
            if (row < 1 || row > kMaxRow)
                throw Refusal{QStringLiteral("its worksheet has a row outside the sheet")};
            if (reading.stopBefore && reading.stopBefore(cells, row))
                return part.check();
        } else if (inSheetData && element == u"c") {
            const QXmlStreamAttributes attributes = xml.attributes();
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
            if (keep && !keep(row, column)) {
                xml.skipCurrentElement();
                continue;
            }
            const QString type = attributes.value(QLatin1String("t")).toString();
            QString value;
            bool hasValue = false;
            bool inlineText = false;
            while (!xml.atEnd()) {
                const auto inner = xml.readNext();
                if (inner == QXmlStreamReader::EndElement && xml.name() == u"c")
                    break;
                if (inner != QXmlStreamReader::StartElement)
                    continue;
                if (xml.name() == u"v") {
                    value = xml.readElementText();
                    hasValue = true;
                } else if (xml.name() == u"is") {
                    value = stringItem(xml);
                    hasValue = inlineText = true;
                } else {
                    xml.skipCurrentElement();
                }
            }
            if (!hasValue)
                continue;
            if (type == u"s") {
                bool ok = false;
                const qulonglong index = value.toULongLong(&ok);
                if (!ok || index >= shared.size())
                    throw Refusal{QStringLiteral("its worksheet refers to a shared text that is "
                                                 "not there (cell %1)")
                                      .arg(reference.left(20))};
                cells.setText(row, column, shared[index]);
            } else if (inlineText || type == u"str" || type == u"inlineStr" || type == u"e" ||
                       type == u"d") {
                cells.setText(row, column, value);
            } else {
                bool ok = false;
                const double number = QLocale::c().toDouble(value.trimmed(), &ok);
                if (!ok)
                    throw Refusal{QStringLiteral("its worksheet holds a malformed number in a "
                                                 "cell (row %1)")
                                      .arg(row)};
                cells.setNumber(row, column, number);
            }
        }
    }
    part.check();
    failOnXmlError(xml, name);
    part.finish();
}

} // namespace

bool readWorkbookCells(const QString& path, Worksheet& cells, QString& error) {
    return readWorkbookCells(path, cells, error, CellReading{});
}

bool readWorkbookCells(const QString& path, Worksheet& cells, QString& error,
                       const CellReading& reading) {
    cells = Worksheet();
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("the file does not exist");
        return false;
    }
    Zip zip(path);
    if (!zip.isOpen()) {
        error = QStringLiteral("it is not a workbook (.xlsx): not a readable zip file");
        return false;
    }
    try {
        const WorkbookParts parts = findParts(zip);
        readSheet(zip, parts.firstSheet, readSharedStrings(zip, parts.sharedStrings), cells,
                  reading);
    } catch (const Refusal& refusal) {
        cells = Worksheet();
        error = refusal.reason;
        return false;
    }
    return true;
}

} // namespace quorvia
