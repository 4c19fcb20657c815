// The workbook file as another program reads it: written by the real writer, read back with
// openpyxl, compared cell by cell with the worksheet, kind included.
#include "platform/qtplatform.h"
#include "report/sessionsheet.h"
#include "sessionscript.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace quorvia;
using namespace quorvia::test;

namespace {

struct ReadBack {
    QStringList sheets;
    // (row, column) -> (openpyxl data type, value)
    std::map<std::pair<int, int>, std::pair<QString, QJsonValue>> cells;
    QString error;
};

ReadBack readWithOpenpyxl(const QString& path) {
    ReadBack result;
    const QString script = qEnvironmentVariable("QUORVIA_TEST_SOURCE_DIR") +
                           QStringLiteral("/tests/report/readworkbook.py");
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"), {script, path});
    if (!reader.waitForFinished(60000) || reader.exitStatus() != QProcess::NormalExit ||
        reader.exitCode() != 0) {
        result.error = QString::fromUtf8(reader.readAllStandardError());
        if (result.error.isEmpty())
            result.error = QStringLiteral("the reader did not run");
        return result;
    }
    const QJsonObject root = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    for (const QJsonValue& name : root.value(QStringLiteral("sheets")).toArray())
        result.sheets << name.toString();
    for (const QJsonValue& entry : root.value(QStringLiteral("cells")).toArray()) {
        const QJsonArray cell = entry.toArray();
        result.cells[{cell.at(0).toInt(), cell.at(1).toInt()}] = {cell.at(2).toString(),
                                                                  cell.at(3)};
    }
    return result;
}

// The first difference between what was written and what was read back; empty when none. An
// empty text is an empty cell.
QString differenceBetween(const Worksheet& sheet, const ReadBack& file) {
    std::size_t stored = 0;
    for (const auto& [at, value] : sheet.cells()) {
        const QString address = columnLetters(at.second) + QString::number(at.first);
        const auto found = file.cells.find(at);
        if (const auto* text = std::get_if<QString>(&value)) {
            if (text->isEmpty()) {
                if (found != file.cells.end())
                    return address + QStringLiteral(" should be empty");
                continue;
            }
            ++stored;
            if (found == file.cells.end() || found->second.first != QLatin1String("s") ||
                found->second.second.toString() != *text)
                return address + QStringLiteral(" should be the text \"%1\"").arg(*text);
        } else {
            ++stored;
            const double number = std::get<double>(value);
            if (found == file.cells.end() || found->second.first != QLatin1String("n") ||
                !found->second.second.isDouble() || found->second.second.toDouble() != number)
                return address + QStringLiteral(" should be the number %1").arg(number, 0, 'g', 17);
        }
    }
    if (stored != file.cells.size())
        return QStringLiteral("the file holds %1 cells, the worksheet %2")
            .arg(file.cells.size())
            .arg(stored);
    return {};
}

// A terminated two-key session whose texts include formula-like, blank-edged and non-ASCII ones.
Worksheet sampleSheet() {
    SessionRecord record = readyRecord(QStringLiteral("a="), 300, 7);
    record.participantId = QStringLiteral("=HYPERLINK(\"http://example.org\")");
    record.condition = QStringLiteral("Käse ☕ 日本");
    type(record, QStringLiteral("a=a"));
    runSeconds(record, 9);
    type(record, QStringLiteral("=a"));
    runSeconds(record, 4);
    type(record, QStringLiteral("a"));
    pauseAndTerminate(record);
    SessionSheetInputs inputs;
    inputs.slotControls = {{QStringLiteral("=SUM(E24:E30)"), 0}, {QStringLiteral("+1"), 1}};
    inputs.startedAt = QStringLiteral("09:05:07.25");
    inputs.endedAt = QStringLiteral("  -2 @x  ");
    return buildSessionSheet(record, inputs);
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

class WorkbookFileTest : public QObject {
    Q_OBJECT

private slots:
    void sessionSheetReadsBackCellByCell();
    void replacesAnExistingFile();
    void failedWriteLeavesTheFolderAsItWas_data();
    void failedWriteLeavesTheFolderAsItWas();
};

void WorkbookFileTest::sessionSheetReadsBackCellByCell() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("P07-3-base-KT.xlsx"));
    const Worksheet sheet = sampleSheet();
    // The rate is a fraction (4 presses in 13 s) and one slot column ends in empty texts.
    QCOMPARE(*sheet.at(20, 5), CellValue(18.46));
    QCOMPARE(*sheet.at(40, 6), CellValue(QString()));

    XlsxWorkbookWriter writer;
    QVERIFY(writer.write(sheet, path));
    const ReadBack file = readWithOpenpyxl(path);
    QVERIFY2(file.error.isEmpty(), qPrintable(file.error));
    QCOMPARE(file.sheets.size(), 1);
    const QString difference = differenceBetween(sheet, file);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    // Texts that a spreadsheet would take for formulas stay texts.
    QCOMPARE(file.cells.at({1, 1}).first, QStringLiteral("s"));
    QCOMPARE(file.cells.at({15, 5}).second.toString(), QStringLiteral("=SUM(E24:E30)"));
    QCOMPARE(file.cells.at({15, 5}).first, QStringLiteral("s"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("P07-3-base-KT.xlsx")});
}

void WorkbookFileTest::replacesAnExistingFile() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("session.xlsx"));
    Worksheet first;
    first.setText(1, 1, QStringLiteral("first"));
    first.setNumber(2, 2, 1);
    Worksheet second;
    second.setText(3, 1, QStringLiteral("second"));
    XlsxWorkbookWriter writer;
    QVERIFY(writer.write(first, path));
    QVERIFY(writer.write(second, path));
    const ReadBack file = readWithOpenpyxl(path);
    QVERIFY2(file.error.isEmpty(), qPrintable(file.error));
    QCOMPARE(file.cells.size(), std::size_t(1));
    QCOMPARE(file.cells.at({3, 1}).second.toString(), QStringLiteral("second"));
}

void WorkbookFileTest::failedWriteLeavesTheFolderAsItWas_data() {
    QTest::addColumn<QString>("failure");
    QTest::newRow("folder missing") << "folder";
    QTest::newRow("a folder at the target") << "directory";
    QTest::newRow("text longer than a cell holds") << "text";
    QTest::newRow("number without a value") << "number";
    QTest::newRow("row beyond the grid") << "row";
}

void WorkbookFileTest::failedWriteLeavesTheFolderAsItWas() {
    QFETCH(QString, failure);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QString path = folder.filePath(QStringLiteral("session.xlsx"));
    const QByteArray earlier("an earlier file of that name");
    Worksheet sheet = sampleSheet();

    if (failure == QLatin1String("folder")) {
        path = folder.filePath(QStringLiteral("missing/session.xlsx"));
    } else if (failure == QLatin1String("directory")) {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("session.xlsx")));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(earlier);
        file.close();
        if (failure == QLatin1String("text"))
            sheet.setText(30, 3, QString(32768, QLatin1Char('x')));
        else if (failure == QLatin1String("number"))
            sheet.setNumber(30, 3, std::numeric_limits<double>::infinity());
        else
            sheet.setText(1048577, 1, QStringLiteral("below the last row"));
    }
    const QStringList before =
        QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    XlsxWorkbookWriter writer;
    QVERIFY(!writer.write(sheet, path));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             before);
    if (failure == QLatin1String("directory"))
        QVERIFY(QFileInfo(path).isDir());
    else if (failure != QLatin1String("folder"))
        QCOMPARE(contentOf(path), earlier);
}

QTEST_GUILESS_MAIN(WorkbookFileTest)
#include "test_workbookfile.moc"
