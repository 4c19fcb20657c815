// The commands that need one of the program's modules, run as the user runs them: from the build
// folder, where the modules lie beside the program, and from a copy of the program that has none.
#include "support/records.h"
#include "support/sheets.h"
#include "workbook/workbookreader.h"
#include "workbook/xlsxworkbookwriter.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;

class TestModules : public QObject {
    Q_OBJECT

private slots:
    void commands_data() {
        QTest::addColumn<bool>("modulesBeside");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("errorPart");
        QTest::addColumn<bool>("workbookWritten");
        const QStringList agreement{"agreement", "primary.xlsx", "reliability.xlsx", "--output",
                                    "agreement.xlsx"};
        const QStringList graph{"graph", "primary.xlsx", "--measure", "rpm", "--csv"};
        QTest::newRow("agreement workbook") << true << agreement << 0 << "" << true;
        QTest::newRow("agreement, no writer module")
            << false << agreement << 2 << "agreement.xlsx could not be written." << false;
        QTest::newRow("graph, no graph module")
            << false << graph << 2 << "quorvia: the graph module could not be loaded" << false;
    }

    void commands() {
        QFETCH(bool, modulesBeside);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, errorPart);
        QFETCH(bool, workbookWritten);
        QTemporaryDir dir;
        SessionRecord record = test::freshRecord(QStringLiteral("ab"), 20, 10);
        test::play(record, "abb 20");
        const Worksheet sheet = test::sheetOf(record, "10", {"out of seat", "call out"});
        for (const char* name : {"primary.xlsx", "reliability.xlsx"})
            QVERIFY(XlsxWorkbookWriter().write(sheet, dir.filePath(name)));

        QString program = QStringLiteral(QUORVIA_EXECUTABLE);
        if (!modulesBeside) {
            program = dir.filePath("quorvia");
            QVERIFY(QFile::copy(QStringLiteral(QUORVIA_EXECUTABLE), program));
        }
        QProcess command;
        command.setWorkingDirectory(dir.path());
        command.start(program, arguments);
        QVERIFY(command.waitForFinished(60000));
        const QString error = QString::fromUtf8(command.readAllStandardError());
        QVERIFY2(error.contains(errorPart), qPrintable(error));
        QCOMPARE(command.exitCode(), exitCode);
        Worksheet written;
        QString readError;
        QCOMPARE(readWorkbookCells(dir.filePath("agreement.xlsx"), written, readError),
                 workbookWritten);
    }
};

QTEST_GUILESS_MAIN(TestModules)
#include "test_modules.moc"
