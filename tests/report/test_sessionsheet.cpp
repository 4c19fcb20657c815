// The session worksheet cell by cell with its summary measures, the workbook's file name, and the
// file as written by the real writer and read back by openpyxl, cell by cell, kind included.
#include "base/numbers.h"
#include "report/sessionsheet.h"
#include "report/workbookname.h"
#include "support/records.h"
#include "support/sheets.h"
#include "workbook/xlsxworkbookwriter.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <sys/stat.h>

using namespace quorvia;

namespace {

// A session of P07, session 3, played: a number runs the clock that many seconds, "#" pauses and
// terminates, any other word is typed. Slot s: behaviour "Behaviour", mode check value modes[s-1].
struct Session {
    QString keys;
    double duration = 0;
    double intervalLength = 0;
    QString script;
    QString modes;
};

Worksheet sheetOf(const Session& session) {
    SessionRecord record =
        test::freshRecord(session.keys, session.duration, session.intervalLength);
    test::play(record, session.script);
    return test::sheetOf(record, session.modes);
}

// Every cell of the sheet, row by row, as "|E14=s:a|E20=n:6|" ("s:" a text, "n:" a number); or
// only those that a file keeps, without the empty texts.
QString cellsOf(const Worksheet& sheet, bool emptyTexts = true) {
    QString cells = QStringLiteral("|");
    for (const auto& [at, value] : sheet.cells()) {
        const auto* text = std::get_if<QString>(&value);
        const QString shown = text ? "s:" + *text : "n:" + shortestDecimal(std::get<double>(value));
        if (emptyTexts || shown != u"s:")
            cells += columnLetters(at.second) + QString::number(at.first) + u'=' + shown + u'|';
    }
    return cells;
}

// "sheets=" and their number, then the cells that hold a value (as cellsOf()), read by openpyxl.
QString readBack(const QString& path, const QString& part = {}) { // or a part as it is stored
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {qEnvironmentVariable("QUORVIA_TEST_SOURCE_DIR") + "/tests/report/readworkbook.py",
                  path, part});
    reader.waitForFinished(60000);
    return QString::fromUtf8(reader.readAllStandardOutput() + reader.readAllStandardError());
}

} // namespace

Q_DECLARE_METATYPE(Session)

class SessionSheetTest : public QObject {
    Q_OBJECT

private slots:
    // A decimal comma in the C library's locale (from the environment): openpyxl refuses "2,4".
    void initTestCase() { QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8"), "see install-deps.sh"); }

    void layout_data() {
        QTest::addColumn<Session>("session");
        QTest::addColumn<QString>("cells"); // a value, or "-" for no cell

        // 3 intervals of 10 s, count key a pressed 2, 0 and 1 times, to the end.
        QTest::newRow("finished") << Session{"a", 30, 10, "aa 20 a 10", "0"}
                                  << "A10=s:Session Finished at   09:05:37.25|A15=s: 0:  0|"
                                     "B15=s:Started|B16=s:a|A18=s: 0:  20|B18=s:a|A19=s: 0:  30|"
                                     "B19=s:Session Finished|A20=-|E14=s:a|E15=s:Behaviour|"
                                     "E16=s:Hits|E20=n:6|E21=s:66.67%|D24=n:1|E24=n:2|D25=n:2|"
                                     "E25=n:0|D26=n:3|E26=n:1|D27=-|F14=-";

        // Count key a and On/Off key b; paused after 25 s in interval 3 of 20 and terminated.
        QTest::newRow("terminated in interval 3 of 20")
            << Session{"ab", 200, 10, "a 10 b 15 #", "01"}
            << "A10=s:Session Terminated at   09:05:37.25 (interval No.3)|E20=n:2.4|E21=s:33.33%|"
               "F16=s:On/Off|F18=s:33.33%|F19=s:66.67%|F20=-|F21=-|E24=n:1|E25=n:0|E26=n:0|F24=n:0|"
               "F25=n:1|F26=n:2|E27=s:Session terminated in interval No.3|F27=s:|E43=s:|F43=s:|"
               "E44=-|F44=-|G27=-|D36=n:13|D37=-";

        // No time recorded: no rate, and the sheet is still built. Numbers stop at the last
        // interval, although 10 more than the current one would be numbered.
        QTest::newRow("terminated before the first tick")
            << Session{"a", 60, 10, "a #", "0"}
            << "E20=-|E21=s:100%|D29=n:6|D30=-|E25=s:Session terminated in interval No.1";

        // Summary measures: interval codes 1, 2, 2, 1, 2, 1, 0, 0 (3 full, 6 partial of 8).
        QTest::newRow("On/Off, presses 1-0-0-2-0-1-0-0")
            << Session{"a", 80, 10, "a 30 aa 20 a 30", "1"}
            << "E18=s:37.5%|E19=s:75%|E24=n:1|E25=n:2|E26=n:2|E27=n:1|E28=n:2|E29=n:1|"
               "E30=n:0|E31=n:0";
        // 3.125 and 0.125 are exact halves: they go to the even neighbour.
        QTest::newRow("count, 1 press in 32 intervals of 15 s")
            << Session{"a", 480, 15, "a 480", "0"} << "E20=n:0.12|E21=s:3.12%";
        // 40001 presses, beyond 16 bits: an odd number leaves the On/Off state on.
        const QString many = QString(40001, u'a') + u' ' + QString(40001, u'b') + u' ';
        // An emoji is one key: one column, one count and one entry per press.
        QTest::newRow("emoji key") << Session{"a😀", 20, 10, "😀a😀 20", "00"}
                                   << "A9=s:Keys to Hit     :   a😀|E14=s:a|F14=s:😀|G14=-|"
                                      "B16=s:😀|B17=s:a|E24=n:1|F24=n:2";
        QTest::newRow("40001 presses")
            << Session{"ab", 20, 10, many + "20", "10"} << "E24=n:1|E25=n:2|F20=n:120003";
    }

    void layout() {
        QFETCH(Session, session);
        QFETCH(QString, cells);
        const QString all = cellsOf(sheetOf(session));
        for (const QString& cell : cells.split(u'|')) {
            const bool none = cell.endsWith(u"=-"); // no cell there
            QVERIFY2(all.contains(u'|' + (none ? cell.chopped(1) : cell + u'|')) != none,
                     qPrintable(cell));
        }
    }

    void workbookFileReadsBackCellByCell() {
        // A terminated session (its columns end in empty texts, which are empty cells), a fraction
        // and texts that a spreadsheet would take for formulas.
        Worksheet sheet = sheetOf({"ab", 200, 10, "a 10 b 15 #", "01"});
        sheet.setText(11, 1, QStringLiteral("=SUM(E24:E30)"));
        sheet.setText(11, 2, QStringLiteral("+1 Käse ☕ 日本"));
        sheet.setNumber(11, 3, 18.46);
        const QString expected = QStringLiteral("sheets=1") + cellsOf(sheet, false);

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("P07-3-base-KT.xlsx"));
        XlsxWorkbookWriter writer;
        QVERIFY(writer.write(Worksheet(), path)); // replaced by the next
        QVERIFY(writer.write(sheet, path));
        QCOMPARE(readBack(path), expected);
        const QString part = readBack(path, QStringLiteral("xl/worksheets/sheet1.xml"));
        QVERIFY2(part.contains("<v>18.46</v>") && part.contains("left=\"0.7\""), qPrintable(part));

        // A failed write leaves the file there as it was, and nothing else.
        sheet.setNumber(30, 3, qQNaN()); // no number a cell holds
        QVERIFY(!writer.write(sheet, path));
        QCOMPARE(readBack(path), expected);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"P07-3-base-KT.xlsx"});
    }

    // Texts as stored: cut to a cell's 32,767 units, not inside a pair or escape; escapes escaped.
    void storedTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("box"); // 0 participant, 1 condition, 2 observer, 3 date
        QTest::addColumn<QString>("stored");
        const QString p(32767, 'p'), d(32741, 'd'), e = QString("😀").repeated(16383);
        QTest::newRow("participant") << p << 0 << ":   " + p.left(32746);
        QTest::newRow("observer, pairs") << e << 2 << ":   " + e.left(32746);
        QTest::newRow("date, escape") << d + "_x0041_" << 3 << ":   " + d + "_x005F_";
        QTest::newRow("escapes") << "_X00e9__x005F_" << 1 << "   _x005F_X00e9__x005F_x005F_";
        QTest::newRow("controls") << "_x0041_\t/\x7f\u0085" << 0 << "   _x005F_x0041_\t/\x7f\u0085";
    }

    void storedTexts() {
        QFETCH(QString, text);
        QFETCH(int, box);
        QFETCH(QString, stored);
        SessionRecord record = test::freshRecord("a", 10, 10);
        *QList{&record.participantId, &record.condition, &record.observerId,
               &record.sessionDate}[box] = text;
        QTemporaryDir dir;
        QVERIFY(XlsxWorkbookWriter().write(buildSessionSheet(record, {{{"B", 0}}, "", ""}),
                                           dir.filePath("a.xlsx")));
        QVERIFY(readBack(dir.filePath("a.xlsx"), "xl/sharedStrings.xml").contains(stored + "</t>"));
        for (const QChar c : defaultWorkbookName(record))
            QVERIFY(c != u'/' && c.category() != QChar::Other_Control); // the cells keep them
    }

    // Saving over links replaces the file they name and keeps them; a replaced file keeps its mode.
    void savedOver_data() {
        QTest::addColumn<QString>("chain");    // the chosen name, then what each link names
        QTest::addColumn<QList<int>>("modes"); // of the file before (-1 for none), mask, after
        QTest::newRow("two links") << "a.xlsx>b>d/c" << QList{0604, 077, 0604};
        QTest::newRow("dangling link, new file") << "a.xlsx>d/c" << QList{-1, 027, 0640};
    }

    void savedOver() {
        QFETCH(QString, chain);
        QFETCH(QList<int>, modes);
        QTemporaryDir dir;
        const QStringList names = chain.split('>');
        QVERIFY(QDir::setCurrent(dir.path()) && QDir().mkdir("d"));
        for (qsizetype i = 1; i < names.size(); ++i)
            QVERIFY(QFile::link(names[i], names[i - 1]));
        QVERIFY(modes[0] < 0 || (QFile(names.last()).open(QIODevice::WriteOnly) &&
                                 ::chmod(qPrintable(names.last()), mode_t(modes[0])) == 0));
        const mode_t saved = ::umask(mode_t(modes[1]));
        QVERIFY(XlsxWorkbookWriter().write(Worksheet(), "a.xlsx"));
        ::umask(saved);
        struct stat status {};
        QVERIFY(::stat("a.xlsx", &status) == 0 && int(status.st_mode & 07777) == modes[2]);
        QCOMPARE(QFileInfo("a.xlsx").isSymLink(), names.size() > 1);
        QCOMPARE(readBack("a.xlsx"), "sheets=1|");
    }

    // Two observers' workbooks of one session, kept in the build folder for the package check.
    void twoObserversOfOneSessionReadBack() {
        int observer = 0;
        for (const QString script : {"a 10 ab 20 b 30", "a 12 a 8 bb 40"}) {
            const Worksheet sheet = sheetOf({"ab", 60, 10, script, "01"});
            const QString path = QStringLiteral(QUORVIA_SAMPLES "/observer%1.xlsx").arg(++observer);
            QVERIFY(XlsxWorkbookWriter().write(sheet, path));
            QCOMPARE(readBack(path), QStringLiteral("sheets=1") + cellsOf(sheet, false));
        }
    }
};

QTEST_GUILESS_MAIN(SessionSheetTest)
#include "test_sessionsheet.moc"
