// The session worksheet cell by cell with its summary measures, the workbook's file name, and the
// file as written by the real writer and read back by openpyxl, cell by cell, kind included.
#include "platform/qtplatform.h"
#include "recording/keyinput.h"
#include "recording/numbers.h"
#include "recording/sessionclock.h"
#include "report/sessionsheet.h"
#include "report/workbookname.h"
#include "support/records.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
    for (const QString& word : session.script.split(u' ')) {
        for (int i = word.toInt(); i > 0; --i) // a number of seconds
            tick(record, 0);
        for (const QChar c : word.toInt() > 0 ? QString() : word)
            handleKey(record, c == u'#' ? QChar(kEscape) : c);
        if (word == u"#")
            record.writeEndEntry(kSessionTerminated);
    }
    SessionSheetInputs inputs{{}, QStringLiteral("09:05:07.25"), QStringLiteral("09:05:37.25")};
    for (const QChar mode : session.modes)
        inputs.slotControls.push_back({QStringLiteral("Behaviour"), mode.digitValue()});
    return buildSessionSheet(record, inputs);
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
QString readBack(const QString& path) {
    QProcess reader;
    reader.start(
        QStringLiteral("/usr/bin/python3"),
        {qEnvironmentVariable("QUORVIA_TEST_SOURCE_DIR") + "/tests/report/readworkbook.py", path});
    reader.waitForFinished(60000);
    return QString::fromUtf8(reader.readAllStandardOutput() + reader.readAllStandardError());
}

} // namespace

Q_DECLARE_METATYPE(Session)

class SessionSheetTest : public QObject {
    Q_OBJECT

private slots:
    void finishedSessionCellByCell() {
        // 3 intervals of 10 s, count key a pressed 2, 0 and 1 times: the whole sheet, row by row.
        QCOMPARE(
            cellsOf(sheetOf({"a", 30, 10, "aa 20 a 10", "0"})).split(u'|'),
            QStringLiteral(
                "|A1=s:Participant's ID :   P07|A2=s:Session No.     :   3|"
                "A3=s:Condition        :   base|A4=s:Observer's ID   :   KT|"
                "A5=s:Session Date   :   2026/12/06|A6=s:Session Started at   09:05:07.25|"
                "A7=s:Interval Length :   10|A8=s:Session Duration :   30|"
                "A9=s:Keys to Hit     :   a|A10=s:Session Finished at   09:05:37.25|"
                "A13=s:All Entry|D13=s:Interval Data|A14=s:Time|B14=s:Entry|D14=s:Key|E14=s:a|"
                "A15=s: 0:  0|B15=s:Started|D15=s:Behavior|E15=s:Behaviour|A16=s: 0:  0|B16=s:a|"
                "D16=s:Mode|E16=s:Hits|A17=s: 0:  0|B17=s:a|A18=s: 0:  20|B18=s:a|"
                "D18=s:full int'l %|A19=s: 0:  30|B19=s:Session Finished|D19=s:part. int'l %|"
                "D20=s:RPM|E20=n:6|D21=s:interval %|E21=s:66.67%|D23=s:Interval #|D24=n:1|E24=n:2|"
                "D25=n:2|E25=n:0|D26=n:3|E26=n:1|")
                .split(u'|'));
    }

    void layout_data() {
        QTest::addColumn<Session>("session");
        QTest::addColumn<QString>("cells"); // a value, or "-" for no cell

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

    void savedName() {
        // Any case of ".xlsx" stays; a long s folds to s in Unicode, but is no letter of it.
        QCOMPARE((QStringList{workbookPathFor("Results.XLSX"), workbookPathFor("a.xl\u017Fx")}),
                 (QStringList{"Results.XLSX", "a.xl\u017Fx.xlsx"}));
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

        // A failed write leaves the file there as it was, and nothing else.
        sheet.setText(30, 3, QString(32768, u'x')); // longer than a cell holds
        QVERIFY(!writer.write(sheet, path));
        QCOMPARE(readBack(path), expected);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"P07-3-base-KT.xlsx"});
    }

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
