// The graph command run as the user runs it, and the window, on workbooks the program wrote.
#include "graphview/graphwindow.h"
#include "support/fakeplatform.h"
#include "support/records.h"
#include "support/sheets.h"
#include "workbook/xlsxworkbookwriter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;

namespace {

// Three intervals of 10 s, keys a (On/Off, pressed once at the start) and b (counted: 2, 0, 1).
bool writeSession(const QString& path, const QString& participant, int number) {
    SessionRecord record = test::freshRecord(QStringLiteral("ab"), 30, 10);
    record.participantId = participant;
    record.sessionNumber = static_cast<std::int16_t>(number);
    test::play(record, "abb 10 10 b 10");
    return XlsxWorkbookWriter().write(test::sheetOf(record, "10", {"out of seat", "call out"}),
                                      path);
}

} // namespace

class TestGraphCommand : public QObject {
    Q_OBJECT

private slots:
    void command_data() {
        QTest::addColumn<QStringList>("files"); // P07-n, P08-n: a session; else not a workbook
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QString>("errorPart");
        // Files and options each as one text; --csv is added to the options.
        const auto test = [](const char* tag, const char* files, const char* options, int exitCode,
                             const QString& csv, const char* errorPart = "") {
            QTest::newRow(tag) << QString(files).split(' ')
                               << (QString(options) + " --csv").split(' ', Qt::SkipEmptyParts)
                               << exitCode << csv << QString(errorPart);
        };
        const QString head = "session,date,condition,phase,key,behaviour,measure,value\r\n";
        const QString row = "%1,2026/12/06,base,1,%2,%3,%4\r\n";
        const QString rpm3 = row.arg(3).arg("b", "call out", "rpm,6");
        test("full-interval % read back", "P07-4 P07-3", "--measure full", 0,
             head + row.arg(3).arg("a", "out of seat", "full,66.67") +
                 row.arg(4).arg("a", "out of seat", "full,66.67"));
        test("responses per minute, key chosen", "P07-3", "--measure rpm --key b", 0, head + rpm3);
        test("one file unreadable: the rest drawn, exit 1", "P07-3 notes", "--measure rpm", 1,
             head + rpm3, "notes.xlsx");
        test("nothing readable", "notes", "--measure rpm", 2, "",
             "None of the workbooks could be read.");
        test("two participants: a tier each", "P08-4 P07-3", "--measure rpm", 0,
             "tier," + head + "P07," + rpm3 + "P08," + row.arg(4).arg("b", "call out", "rpm,6"));
        test("key tiers of two participants", "P07-3 P08-4", "--measure rpm --tiers key", 2, "",
             "P07 (P07-3.xlsx); P08 (P08-4.xlsx). Key tiers are the keys of one participant.");
        test("goal without effects", "P07-3", "--measure rpm --goal increase", 2, "",
             "--goal goes with --effects.");
        test("no measure", "P07-3", "", 2, "", "--measure must be");
    }
    void command() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, csv);
        QFETCH(QString, errorPart);
        QTemporaryDir dir;
        QStringList arguments{"graph"};
        for (const QString& file : files) {
            const QString name = file + ".xlsx";
            if (file.startsWith('P'))
                QVERIFY(writeSession(dir.filePath(name), file.left(3), file.mid(4).toInt()));
            else
                QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
            arguments << name;
        }
        QProcess command;
        command.setWorkingDirectory(dir.path());
        command.start(QUORVIA_EXECUTABLE, arguments + options);
        QVERIFY(command.waitForFinished(60000));
        const QString error = QString::fromUtf8(command.readAllStandardError());
        QCOMPARE(QString::fromUtf8(command.readAllStandardOutput()), csv);
        QVERIFY2(error.contains(errorPart), qPrintable(error));
        QCOMPARE(command.exitCode(), exitCode);
    }

    // The window through its file dialogs: files added, a folder that brings another participant
    // drawn in tiers until that workbook is removed, the table exported as the command prints it,
    // to a name typed without the ending of the filter chosen.
    void window() {
        QTemporaryDir dir;
        for (const QString name : {"P07-3", "P07-4", "P08-5"})
            QVERIFY(writeSession(dir.filePath(name + ".xlsx"), name.left(3), name.mid(4).toInt()));
        test::FakePlatform fake;
        fake.dialogs.answers = {dir.filePath("P07-4.xlsx") + '\n' + dir.filePath("P07-3.xlsx"),
                                dir.path(), dir.filePath("table")};
        fake.dialogs.chosenFilter = "Table of values (*.csv)"; // its ending is added
        GraphWindow window(fake.platform);
        const auto click = [&](const char* name) {
            window.findChild<QPushButton*>(name)->click();
        };
        auto* status = window.findChild<QLabel*>("StatusLabel");
        auto* table = window.findChild<QTableWidget*>("ValueTable");
        click("AddFilesButton");
        QCOMPARE(status->text(), "Sessions: 2, phases: 1.");
        QCOMPARE(table->item(1, 0)->text(), "4");
        click("AddFolderButton");
        QCOMPARE(status->text(), "Tiers: 2, sessions: 3.");
        QCOMPARE(table->item(2, 0)->text(), "P08");
        auto* list = window.findChild<QListWidget*>("SessionList");
        list->findItems("P08-5", Qt::MatchContains).front()->setSelected(true);
        click("RemoveButton");
        QCOMPARE(table->rowCount(), 2);
        // The study's tabs: two sessions of two keys, two measures each; no agreement yet.
        QCOMPARE(window.findChild<QTableWidget*>("StudySessionsTable")->rowCount(), 8);
        QCOMPARE(window.findChild<QTableWidget*>("StudySummaryTable")->item(0, 11)->text(), "n/a");
        click("ExportButton");
        QFile csv(dir.filePath("table.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count("out of seat,full,66.67\r\n"), 2);
        window.findChild<QComboBox*>("TierBox")->setCurrentIndex(2); // a tier per key
        window.findChild<QCheckBox*>("TrendAid")->setChecked(true);
        QCOMPARE(status->text(), "Tiers: 1, sessions: 2.");
        QCOMPARE(table->item(0, 0)->text(), "out of seat");
    }
};

QTEST_MAIN(TestGraphCommand)
#include "test_graphcommand.moc"
