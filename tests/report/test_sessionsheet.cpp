// The session worksheet cell by cell, the summary measures included; the name the workbook is
// saved under; and the file as another program reads it: written by the real writer, read back
// with openpyxl and compared cell by cell, kind included.
#include "platform/qtplatform.h"
#include "report/workbookname.h"
#include "sessionscript.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;
using namespace quorvia::test;

namespace {

// A played session (see played()) and the mode check values of its slots, one digit per slot.
struct Session {
    QString keys;
    double duration = 0;
    double intervalLength = 0;
    QString script;
    QString modes;
};

// The sheet of a record whose slot s has the mode check value modes[s - 1] and the behaviour
// "Behaviour s".
Worksheet sheetOf(const SessionRecord& record, const QString& modes) {
    SessionSheetInputs inputs{{}, QStringLiteral("09:05:07.25"), QStringLiteral("09:05:37.25")};
    for (qsizetype s = 0; s < modes.size(); ++s)
        inputs.slotControls.push_back(
            {QStringLiteral("Behaviour %1").arg(s + 1), modes.at(s).digitValue()});
    return buildSessionSheet(record, inputs);
}

// "sheets=" and their number, then every cell that holds a value, as openpyxl reads the file.
QStringList readBack(const QString& path) {
    QProcess reader;
    reader.start(
        QStringLiteral("/usr/bin/python3"),
        {qEnvironmentVariable("QUORVIA_TEST_SOURCE_DIR") + "/tests/report/readworkbook.py", path});
    reader.waitForFinished(60000);
    if (reader.exitCode() != 0)
        return {QString::fromUtf8(reader.readAllStandardError())};
    return QString::fromUtf8(reader.readAllStandardOutput()).split(QChar(0));
}

} // namespace

Q_DECLARE_METATYPE(Session)

class SessionSheetTest : public QObject {
    Q_OBJECT

private slots:
    void layout_data() {
        QTest::addColumn<Session>("session");
        QTest::addColumn<bool>("exact"); // no other cell may exist
        QTest::addColumn<QString>("cells");

        QTest::newRow("finished, 3 intervals, count key")
            << Session{"a", 30, 10, "aa 20 a 10", "0"} << true
            << "A1=s:Participant's ID :   P07|A2=s:Session No.     :   3|"
               "A3=s:Condition        :   base|A4=s:Observer's ID   :   KT|"
               "A5=s:Session Date   :   2026/12/06|A6=s:Session Started at   09:05:07.25|"
               "A7=s:Interval Length :   10|A8=s:Session Duration :   30|"
               "A9=s:Keys to Hit     :   a|A10=s:Session Finished at   09:05:37.25|"
               "A13=s:All Entry|A14=s:Time|B14=s:Entry|A15=s: 0:  0|B15=s:Started|"
               "A16=s: 0:  0|B16=s:a|A17=s: 0:  0|B17=s:a|A18=s: 0:  20|B18=s:a|A19=s: 0:  30|"
               "B19=s:Session Finished|D13=s:Interval Data|D14=s:Key|D15=s:Behavior|D16=s:Mode|"
               "D18=s:full int'l %|D19=s:part. int'l %|D20=s:RPM|D21=s:interval %|"
               "D23=s:Interval #|E14=s:a|E15=s:Behaviour 1|E16=s:Hits|E20=n:6|E21=s:66.67%|"
               "D24=n:1|D25=n:2|D26=n:3|E24=n:2|E25=n:0|E26=n:1";

        // Count key a and On/Off key b; paused after 25 s in interval 3 of 20 and terminated.
        QTest::newRow("terminated in interval 3 of 20")
            << Session{"ab", 200, 10, "a 10 b 15 #", "01"} << false
            << "A10=s:Session Terminated at   09:05:37.25 (interval No.3)|A18=s: 0:  25|"
               "B18=s:Session Paused|A19=s: 0:  25|B19=s:Session Terminated|A20=-|E20=n:2.4|"
               "E21=s:33.33%|F16=s:On/Off|F18=s:33.33%|F19=s:66.67%|F20=-|F21=-|E24=n:1|E25=n:0|"
               "E26=n:0|F24=n:0|F25=n:1|F26=n:2|E27=s:Session terminated in interval No.3|F27=s:|"
               "E28=s:|F28=s:|E43=s:|F43=s:|E44=-|F44=-|G27=-|D24=n:1|D26=n:3|D36=n:13|D37=-";

        // No time recorded: no rate, and the sheet is still built.
        QTest::newRow("terminated before the first tick")
            << Session{"ab", 60, 10, "ab #", "01"} << false
            << "E20=-|E21=s:100%|F18=s:0%|F19=s:100%|E24=n:1|F24=n:1|F25=s:|"
               "E25=s:Session terminated in interval No.1|"
               "A10=s:Session Terminated at   09:05:37.25 (interval No.1)";
        QTest::newRow("terminated in interval 15 of 20")
            << Session{"a", 200, 10, "145 #", "0"} << false
            << "D43=n:20|D44=-|E38=n:0|E39=s:Session terminated in interval No.15|E40=s:";
        QTest::newRow("terminated in the last interval")
            << Session{"a", 200, 10, "195 #", "0"} << false
            << "D43=n:20|E43=n:0|E44=s:Session terminated in interval No.20";
        QTest::newRow("no key press")
            << Session{"x", 10, 5, "10", "0"} << false
            << "A16=s: 0:  10|B16=s:Session Finished|A17=-|E20=n:0|E21=s:0%|E24=n:0|E25=n:0|E26=-";
        // With intervals of 7.5 s the clock never ends one: later intervals keep their tally and
        // get no number.
        QTest::newRow("finished in interval 1 of 2")
            << Session{"a", 15, 7.5, "a 15", "1"} << false
            << "A7=s:Interval Length :   7.5|E19=s:100%|E24=n:1|E25=n:0|D24=n:1|D25=-";
        QTest::newRow("greyed mode box") << Session{"a", 20, 10, "aaa 20", "2"} << false
                                         << "E16=-|E18=-|E19=-|E20=-|E21=-|E24=n:3|E25=n:0";

        // Summary measures.
        QTest::newRow("On/Off, presses 1-0-0-2-0-1-0-0")
            << Session{"a", 80, 10, "a 30 aa 20 a 30", "1"} << false
            << "E18=s:37.5%|E19=s:75%|E20=-|E21=-|E24=n:1|E25=n:2|E26=n:2|E27=n:1|E28=n:2|E29=n:1|"
               "E30=n:0|E31=n:0";
        QTest::newRow("On/Off, never pressed")
            << Session{"a", 40, 10, "40", "1"} << false << "E18=s:0%|E19=s:0%|E24=n:0|E27=n:0";
        QTest::newRow("On/Off, pressed once in interval 1 of 4")
            << Session{"a", 40, 10, "a 40", "1"} << false
            << "E18=s:75%|E19=s:100%|E24=n:1|E25=n:2|E26=n:2|E27=n:2";
        QTest::newRow("count, 7 presses in 45 s")
            << Session{"a", 60, 10, "aaaaaaa 45 #", "0"} << false << "E20=n:9.33";
        // 3.125 and 0.125 are exact halves: they go to the even neighbour.
        QTest::newRow("count, 1 press in 32 intervals of 15 s")
            << Session{"a", 480, 15, "a 480", "0"} << false << "E20=n:0.12|E21=s:3.12%";
        // 40001 presses, beyond 16 bits: an odd number leaves the On/Off state on.
        const QString many = QString(40001, u'a') + u' ' + QString(40001, u'b') + u' ';
        QTest::newRow("40001 presses")
            << Session{"ab", 20, 10, many + "20", "10"} << false << "E24=n:1|E25=n:2|F20=n:120003";

        // Columns E to N, keys as typed (the key counter shows them in upper case).
        QTest::newRow("ten slots")
            << Session{"aBcdefghiJ", 20, 10, "aBcdefghiJ 20", "1010101010"} << false
            << "A9=s:Keys to Hit     :   aBcdefghiJ|E14=s:a|F14=s:B|G14=s:c|H14=s:d|I14=s:e|"
               "J14=s:f|K14=s:g|L14=s:h|M14=s:i|N14=s:J|O14=-|E15=s:Behaviour 1|"
               "N15=s:Behaviour 10|E24=n:1|E25=n:2|F24=n:1|F25=n:0|N24=n:1|N25=n:0|O24=-";
    }

    void layout() {
        QFETCH(Session, session);
        QFETCH(bool, exact);
        QFETCH(QString, cells);
        const SessionRecord record =
            played(session.keys, session.duration, session.intervalLength, session.script);
        QCOMPARE(sheetDifference(sheetOf(record, session.modes), cells, exact), QString());
    }

    void savedName_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension") << "results" << QStringLiteral("results.xlsx");
        QTest::newRow("upper case") << "Results.XLSX" << QStringLiteral("Results.XLSX");
        QTest::newRow("older extension") << "data.xls" << QStringLiteral("data.xls.xlsx");
        // A long s folds to s in Unicode case rules, but is no letter of the extension.
        QTest::newRow("long s") << QStringLiteral("a.xl\u017Fx")
                                << QStringLiteral("a.xl\u017Fx.xlsx");
    }

    void savedName() {
        QFETCH(QString, chosen);
        QFETCH(QString, saved);
        QCOMPARE(workbookPathFor(chosen), saved);
    }

    void workbookFileReadsBackCellByCell() {
        // A terminated session of two keys, with texts that a spreadsheet would take for formulas.
        SessionRecord record =
            played(QStringLiteral("a="), 300, 7, QStringLiteral("a=a 9 =a 4 a #"));
        record.condition = QStringLiteral("Käse ☕ 日本");
        Worksheet sheet = buildSessionSheet(
            record, {{{QStringLiteral("=SUM(E24:E30)"), 0}, {QStringLiteral("+1"), 1}},
                     QStringLiteral("09:05:07.25"),
                     QStringLiteral("09:05:20.25")});
        // A fractional rate (4 presses in 13 s), a key "=" and a column that ends in empty texts.
        QCOMPARE(sheetDifference(sheet, QStringLiteral("E20=n:18.46|F14=s:=|F40=s:")), QString());
        QStringList expected{QStringLiteral("sheets=1")};
        for (const auto& [at, value] : sheet.cells()) {
            if (value != CellValue(QString())) // an empty text is an empty cell
                expected << columnLetters(at.second) + QString::number(at.first) + u'=' +
                                cellText(&value);
        }

        QTemporaryDir folder;
        const QDir files(folder.path(), {}, QDir::Name,
                         QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        const QString path = folder.filePath(QStringLiteral("P07-3-base-KT.xlsx"));
        XlsxWorkbookWriter writer;
        QVERIFY(writer.write(Worksheet(), path)); // replaced by the next
        QVERIFY(writer.write(sheet, path));
        QCOMPARE(readBack(path), expected);

        // Failing to fill the workbook, or to put it in place of a folder, leaves no trace.
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder.xlsx")));
        QVERIFY(!writer.write(sheet, folder.filePath(QStringLiteral("folder.xlsx"))));
        sheet.setText(30, 3, QString(32768, u'x')); // longer than a cell holds
        QVERIFY(!writer.write(sheet, path));
        QCOMPARE(readBack(path), expected);
        QCOMPARE(files.entryList(), (QStringList{"P07-3-base-KT.xlsx", "folder.xlsx"}));
    }
};

QTEST_GUILESS_MAIN(SessionSheetTest)
#include "test_sessionsheet.moc"
