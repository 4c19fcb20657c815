// Session workbooks read back: written by the program, re-saved by LibreOffice, or refused.
#include "base/numbers.h"
#include "recording/keyinput.h"
#include "recording/sessionclock.h"
#include "report/sessionsheet.h"
#include "report/sessionworkbook.h"
#include "support/records.h"
#include "workbook/workbookreader.h"
#include "workbook/xlsxworkbookwriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <sys/stat.h>

#include <clocale>

using namespace quorvia;

namespace {

// The controls of slots 1, 2, ...: behaviour "B1", "B2", ..., slot s the mode value modes[s-1].
std::vector<SlotSetup> slotsOf(const QString& modes) {
    std::vector<SlotSetup> slotSetups;
    for (int s = 0; s < modes.size(); ++s)
        slotSetups.push_back({QStringLiteral("B%1").arg(s + 1), modes[s].digitValue()});
    return slotSetups;
}

// A session of P07 played from a script: a number runs the clock that many seconds, "#" pauses
// and terminates, any other word is typed. The slots' controls are slotsOf(modes).
Worksheet sheetOf(const QString& keys, double duration, double length, const QString& script,
                  const QString& modes) {
    SessionRecord record = test::freshRecord(keys, duration, length);
    for (const QString& word : script.split(u' ')) {
        for (int i = word.toInt(); i > 0; --i)
            tick(record, 0);
        for (const QChar c : word.toInt() > 0 ? QString() : word)
            handleKey(record, c == u'#' ? kEscape : c.unicode());
        if (word == u"#")
            record.writeEndEntry(kSessionTerminated);
    }
    return buildSessionSheet(
        record, {slotsOf(modes), QStringLiteral("09:05:07.25"), QStringLiteral("09:05:37.25")});
}

QString shown(const std::optional<double>& number) {
    return number ? shortestDecimal(*number) : QStringLiteral("-");
}

// The session read, as "header|intervals|key:behaviour:mode:full/partial/rpm/interval%:values".
QString summary(const SessionWorkbookResult& result) {
    if (!result.workbook)
        return result.error;
    const SessionWorkbook& book = *result.workbook;
    QStringList parts{book.participantId,
                      QString::number(book.sessionNumber),
                      book.condition,
                      book.observerId,
                      book.sessionDate,
                      book.startedAt,
                      shortestDecimal(book.intervalLength),
                      shortestDecimal(book.sessionDuration),
                      book.keysToHit,
                      QString::number(book.intervalCount)};
    for (const WorkbookSlot& slot : book.keySlots) {
        QStringList values;
        for (const double value : slot.values)
            values << shortestDecimal(value);
        parts << QStringList{slot.key, slot.behaviour, slot.mode,
                             QStringList{shown(slot.fullPercent), shown(slot.partialPercent),
                                         shown(slot.responsesPerMinute),
                                         shown(slot.intervalPercent)}
                                 .join(u'/'),
                             values.join(u',')}
                     .join(u':');
    }
    return parts.join(u'|');
}

// The zip at path written again with the first match of pattern in its part replaced (with only
// that part when the zip is not there).
bool rewrite(const QString& path, const QByteArray& part, const QString& pattern,
             const QString& replacement) {
    std::vector<std::pair<QByteArray, QByteArray>> parts{{part, {}}};
    unzFile in = unzOpen64(QFile::encodeName(path).constData());
    for (int at = unzGoToFirstFile(in); in && at == UNZ_OK; at = unzGoToNextFile(in)) {
        char name[256];
        unz_file_info64 info{};
        unzGetCurrentFileInfo64(in, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        QByteArray bytes(static_cast<qsizetype>(info.uncompressed_size), '\0');
        unzOpenCurrentFile(in);
        unzReadCurrentFile(in, bytes.data(), static_cast<unsigned>(bytes.size()));
        unzCloseCurrentFile(in);
        (name == part ? parts.front().second : parts.emplace_back(name, QByteArray()).second) =
            bytes;
    }
    unzClose(in);
    parts.front().second = QString::fromUtf8(parts.front().second)
                               .replace(QRegularExpression(pattern), replacement)
                               .toUtf8();
    zipFile out = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    for (const auto& [name, bytes] : parts) {
        zipOpenNewFileInZip(out, name.constData(), nullptr, nullptr, 0, nullptr, 0, nullptr,
                            Z_DEFLATED, Z_DEFAULT_COMPRESSION);
        zipWriteInFileInZip(out, bytes.constData(), static_cast<unsigned>(bytes.size()));
        zipCloseFileInZip(out);
    }
    return zipClose(out, nullptr) == ZIP_OK;
}

const QString kHeader = QStringLiteral("P07|3|base|KT|2026/12/06|09:05:07.25|");
// Count key a: 2, 0, 1; On/Off key b pressed in intervals 1 and 2: codes 1, 1, 0.
const QString kFinished = QStringLiteral("aa b 10 b 10 a 10");

} // namespace

class WorkbookReaderTest : public QObject {
    Q_OBJECT

private slots:
    // Written and read under a locale with a decimal comma, the C library's and Qt's.
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8"), "see scripts/install-deps.sh");
    }

    void readBack_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("modes");
        QTest::addColumn<QString>("changes"); // cells changed before writing: "E25=x;A9=..."
        QTest::addColumn<QString>("read");    // the summary, or a part of the error after the name

        QTest::newRow("finished, counted and On/Off")
            << "ab" << kFinished << "01"
            << ""
            << kHeader + "10|30|ab|3|a:B1:Hits:-/-/6/66.67:2,0,1|b:B2:On/Off:0/66.67/-/-:1,1,0";
        QTest::newRow("a greyed box: no mode")
            << "ab" << kFinished << "20"
            << "" << kHeader + "10|30|ab|3|a:B1::-/-/-/-:2,0,1|b:B2:Hits:-/-/4/66.67:1,1,0";
        // The values after interval 3 are empty; the note stands below interval 3 in column E.
        QTest::newRow("terminated in interval 3 of 20")
            << "ab"
            << "a 10 b 15 #"
            << "10"
            << ""
            << kHeader +
                   "10|200|ab|3|a:B1:On/Off:66.67/100/-/-:1,2,2|b:B2:Hits:-/-/2.4/33.33:0,1,0";
        QTest::newRow("Persian decimal separator, a key of two UTF-16 units")
            << "ab" << kFinished << "01"
            << "A7=Interval Length :   10\u066B0;A9=Keys to Hit     :   a\U0001F600;F14=\U0001F600"
            << kHeader + "10|30|a\U0001F600|3|a:B1:Hits:-/-/6/66.67:2,0,1|\U0001F600:B2:On/Off:0/"
                         "66.67/-/-:1,1,0";

        const QString refused = QStringLiteral("P07.xlsx is not a usable session workbook: ");
        QTest::newRow("another layout")
            << "a"
            << "a 30"
            << "0"
            << "A1=Name: P07" << refused + "cell A1 does not hold the participant's ID";
        QTest::newRow("missing interval rows")
            << "ab" << kFinished << "01"
            << "F26="
            << refused + "cell F26 (interval 3 of key b) is empty: the interval rows end early";
        QTest::newRow("value not a number")
            << "ab" << kFinished << "01"
            << "E25=two"
            << refused +
                   "cell E25 (interval 2 of key a) holds \u201Ctwo\u201D, which is not a number";
        QTest::newRow("code out of range")
            << "ab" << kFinished << "01"
            << "F24=3"
            << refused + "cell F24 (interval 1 of key b) holds 3, which is not an interval code";
        QTest::newRow("key differs from the keys to hit")
            << "ab" << kFinished << "01"
            << "F14=c"
            << refused + "cell F14 holds \u201Cc\u201D where the keys to hit give \u201Cb\u201D";
        QTest::newRow("no end of session") << "a"
                                           << "a 30"
                                           << "0"
                                           << "A10=Session" << refused + "cell A10 tells neither";
        const QString unreadable = QStringLiteral("P07.xlsx cannot be read: ");
        QTest::newRow("not a zip") << "a"
                                   << "a 30"
                                   << "0"
                                   << "#text" << unreadable + "it is not a workbook (.xlsx)";
        QTest::newRow("truncated zip")
            << "a"
            << "a 30"
            << "0"
            << "#truncate" << unreadable + "it is not a workbook (.xlsx)";
        QTest::newRow("zip without a workbook")
            << "a"
            << "a 30"
            << "0"
            << "#zip" << unreadable + "it is a zip file but no workbook";
    }

    void readBack() {
        QFETCH(QString, keys);
        QFETCH(QString, script);
        QFETCH(QString, modes);
        QFETCH(QString, changes);
        QFETCH(QString, read);
        Worksheet sheet = sheetOf(keys, script.contains(u'#') ? 200 : 30, 10, script, modes);
        for (const QString& change : changes.split(u';', Qt::SkipEmptyParts)) {
            if (change.startsWith(u'#'))
                continue;
            const QString place = change.section(u'=', 0, 0);
            const int column = place.at(0).unicode() - u'A' + 1;
            sheet.setText(place.mid(1).toInt(), column, change.section(u'=', 1));
        }
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("P07.xlsx"));
        QVERIFY(XlsxWorkbookWriter().write(sheet, path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        if (changes == u"#text")
            file.write("Participant's ID :   P07\n");
        if (changes == u"#truncate" || changes == u"#text")
            QVERIFY(file.resize(changes == u"#text" ? 25 : file.size() / 2));
        if (changes == u"#zip") { // the same zip with its workbook part renamed
            const QByteArray bytes = file.readAll();
            QVERIFY(file.seek(0));
            file.write(QByteArray(bytes).replace("xl/workbook.xml", "xl/w0rkbook.xml"));
        }
        file.close();

        const SessionWorkbookResult result = readSessionWorkbook(path);
        const QString got = summary(result);
        QVERIFY2(got.startsWith(read), qPrintable(got));
        // A workbook as written gives back the slots' names and modes as the controls held them.
        if (changes.isEmpty())
            QVERIFY(result.workbook && result.workbook->slotSetups == slotsOf(modes));
        // The file holds what the cells before it held.
        if (!changes.startsWith(u'#') && parseSessionWorkbook(sheet).workbook)
            QCOMPARE(summary(parseSessionWorkbook(sheet)), got);
    }

    // A part of the written workbook edited (every match of a pattern replaced), or another kind
    // of file: read as written when the XML says the same in another form (reason empty), and
    // refused at once with what is wrong when it was made to hurt the reader.
    void edited_data() {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("reason");
        const QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");
        const QString shared = QStringLiteral("xl/sharedStrings.xml");
        const QString e24 = QStringLiteral("(<c r=\"E24\"[^>]*><v>)");
        const QString e24value = QStringLiteral("(<c r=\"E24\"[^>]*><v>)2<");
        QTest::newRow("blanks and a reference in a value") << sheet << e24value << "\\1 &#x32; <"
                                                           << "";
        QTest::newRow("CDATA section") << sheet << e24value << "\\1<![CDATA[2]]><"
                                       << "";
        QTest::newRow("namespace prefixes") << sheet << "<(/?)(?=[a-z])"
                                            << "<\\1x:"
                                            << "";
        QTest::newRow("line ends and tabs in tags") << sheet << "<c r="
                                                    << "<c\r\n\tr = "
                                                    << "";
        QTest::newRow("comments and instructions between cells")
            << sheet << "</c>"
            << "</c><!-- <c r=\"A1\"> --><?x <v>?>"
            << "";
        // A file too large to be read into memory whole is read through the zip library's own
        // file access: random bytes in a part of their own that does not pack smaller.
        QByteArray noise(18 << 20, '\0');
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
        QTest::newRow("a file over 16 MB") << "xl/media/noise.bin"
                                           << "^" << QString::fromLatin1(noise.toBase64()) << "";
        QTest::newRow("end tag that does not match")
            << sheet << "(<c r=\"E24\"[^>]*><v>2)</v>"
            << "\\1</w>"
            << "its worksheet is not well-formed XML (line 2: an end tag that does not match";
        QTest::newRow("unknown reference") << sheet << e24value << "\\1&e;<"
                                           << "its worksheet is not well-formed XML (line 2: an "
                                              "unknown reference)";
        QTest::newRow("nested too deep") << sheet << "<sheetData>"
                                         << "<sheetData>" + QStringLiteral("<a>").repeated(300)
                                         << "its worksheet nests its elements deeper";
        QTest::newRow("more shared texts than cells")
            << shared << "</sst>" << QStringLiteral("<si/>").repeated(20000) + "</sst>"
            << "its part xl/sharedStrings.xml holds more shared texts than its worksheets have "
               "cells";
        QTest::newRow("document type")
            << shared << "<sst"
            << "<!DOCTYPE sst [<!ENTITY e \"eeee\">]><sst"
            << "its part xl/sharedStrings.xml declares a document type, which no workbook part "
               "does";
        QTest::newRow("shared text too long")
            << shared << "<t>"
            << "<t>" + QString(32768, u'y')
            << "its part xl/sharedStrings.xml holds a text longer than a cell can hold";
        QTest::newRow("blanks beyond any text") << sheet << e24 << "\\1" + QString(2 << 20, u' ')
                                                << "its worksheet (cell E24) holds a text longer";
        QTest::newRow("malformed number") << sheet << e24 << "\\1x"
                                          << "its worksheet holds a malformed number in cell E24";
        QTest::newRow("shared text not there")
            << sheet << QString(e24).replace("E24", "A1") << "\\19999"
            << "its worksheet refers to a shared text that is not there (cell A1)";
        QTest::newRow("cut off") << sheet << "(?s)<row r=\"25\".*"
                                 << "<row r=\"25\"><c r=\"E25\"><v>1"
                                 << "it is damaged (its worksheet is cut off)";
        QTest::newRow("spreadsheet of another format")
            << "#ods"
            << ""
            << ""
            << "it is an OpenDocument spreadsheet (.ods): save it again";
        QTest::newRow("folder") << "#folder"
                                << ""
                                << ""
                                << "it is not a regular file";
        QTest::newRow("named pipe") << "#fifo"
                                    << ""
                                    << ""
                                    << "it is not a regular file";
        QTest::newRow("link loop") << "#loop"
                                   << ""
                                   << ""
                                   << "it is not a regular file";
    }

    void edited() {
        QFETCH(QString, part);
        QFETCH(QString, pattern);
        QFETCH(QString, replacement);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("P07.xlsx"));
        const QByteArray name = QFile::encodeName(path);
        if (part == u"#ods") {
            QVERIFY(
                rewrite(path, "mimetype", "^", "application/vnd.oasis.opendocument.spreadsheet"));
        } else if (part.startsWith(u'#')) {
            QVERIFY(part == u"#folder" ? QDir().mkdir(path)
                    : part == u"#fifo" ? ::mkfifo(name.constData(), 0600) == 0
                                       : QFile::link(path, path));
        } else {
            QVERIFY(XlsxWorkbookWriter().write(sheetOf("ab", 30, 10, kFinished, "01"), path));
            QVERIFY(rewrite(path, part.toUtf8(), pattern, replacement));
        }
        const SessionWorkbookResult result = readSessionWorkbook(path);
        if (reason.isEmpty()) {
            QCOMPARE(summary(result), kHeader + "10|30|ab|3|a:B1:Hits:-/-/6/66.67:2,0,1|b:B2:On/"
                                                "Off:0/66.67/-/-:1,1,0");
            return;
        }
        QVERIFY(!result.workbook);
        QVERIFY2(result.error.startsWith("P07.xlsx cannot be read: " + reason),
                 qPrintable(result.error));
    }

    void resavedBySpreadsheetProgram() {
        // Made by the writer from the first session above (modes "01") and converted with
        //   soffice --headless --convert-to xlsx --outdir resaved P07.xlsx
        // (LibreOffice 7.4): shared strings of its own, numbers as numbers, styles and a sheet
        // name.
        const QString path = qEnvironmentVariable("QUORVIA_TEST_SOURCE_DIR") +
                             "/tests/workbook/resaved-by-libreoffice.xlsx";
        QCOMPARE(summary(readSessionWorkbook(path)),
                 kHeader + "10|30|ab|3|a:B1:Hits:-/-/6/66.67:2,0,1|b:B2:On/Off:0/66.67/-/-:1,1,0");
    }
};

QTEST_GUILESS_MAIN(WorkbookReaderTest)
#include "test_workbookreader.moc"
