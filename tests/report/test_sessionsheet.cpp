// The session worksheet cell by cell, and the names of the workbook.
#include "report/sessionsheet.h"
#include "report/workbookname.h"
#include "sessionscript.h"

#include <QRegularExpression>
#include <QTest>

#include <stdexcept>

using namespace quorvia;
using namespace quorvia::test;

namespace {

using Cells = std::map<std::pair<int, int>, CellValue>;

const QString kStarted = QStringLiteral("09:05:07.25");
const QString kEnded = QStringLiteral("09:05:37.25");

std::pair<int, int> place(const QString& address) {
    static const QRegularExpression pattern(QStringLiteral("^([A-Z]+)([0-9]+)$"));
    const QRegularExpressionMatch match = pattern.match(address);
    Q_ASSERT(match.hasMatch());
    int column = 0;
    for (const QChar c : match.captured(1))
        column = column * 26 + (c.unicode() - u'A' + 1);
    return {match.captured(2).toInt(), column};
}

QString blanks(int n) {
    return QString(n, QLatin1Char(' '));
}

QString describe(const CellValue* value) {
    if (value == nullptr)
        return QStringLiteral("nothing");
    if (const auto* text = std::get_if<QString>(value))
        return QStringLiteral("text \"%1\"").arg(*text);
    return QStringLiteral("number %1").arg(std::get<double>(*value), 0, 'g', 17);
}

QString addressOf(const std::pair<int, int>& at) {
    return columnLetters(at.second) + QString::number(at.first);
}

// The first difference between the sheet and the expected cells, kind included; empty if none.
QString differenceFrom(const Worksheet& sheet, const Cells& expected) {
    for (const auto& [at, value] : expected) {
        const CellValue* actual = sheet.at(at.first, at.second);
        if (actual == nullptr || *actual != value)
            return QStringLiteral("%1 holds %2, expected %3")
                .arg(addressOf(at), describe(actual), describe(&value));
    }
    for (const auto& [at, value] : sheet.cells()) {
        if (expected.find(at) == expected.end())
            return QStringLiteral("%1 holds %2, expected nothing")
                .arg(addressOf(at), describe(&value));
    }
    return {};
}

// The header block and the fixed captions of a session of participant P07, session 3.
Cells headerAndCaptions(const QString& keys, const QString& intervalLength, const QString& duration,
                        const QString& endLine) {
    Cells cells;
    const auto text = [&cells](const char* address, const QString& value) {
        cells[place(QLatin1String(address))] = value;
    };
    const QString colon = QStringLiteral(":") + blanks(3);
    text("A1", QStringLiteral("Participant's ID") + blanks(1) + colon + QStringLiteral("P07"));
    text("A2", QStringLiteral("Session No.") + blanks(5) + colon + QStringLiteral("3"));
    text("A3", QStringLiteral("Condition") + blanks(8) + colon + QStringLiteral("base"));
    text("A4", QStringLiteral("Observer's ID") + blanks(3) + colon + QStringLiteral("KT"));
    text("A5", QStringLiteral("Session Date") + blanks(3) + colon + QStringLiteral("2026/12/06"));
    text("A6", QStringLiteral("Session Started at") + blanks(3) + kStarted);
    text("A7", QStringLiteral("Interval Length") + blanks(1) + colon + intervalLength);
    text("A8", QStringLiteral("Session Duration") + blanks(1) + colon + duration);
    text("A9", QStringLiteral("Keys to Hit") + blanks(5) + colon + keys);
    text("A10", endLine);
    text("A13", QStringLiteral("All Entry"));
    text("A14", QStringLiteral("Time"));
    text("B14", QStringLiteral("Entry"));
    text("A15", blanks(1) + QStringLiteral("0:") + blanks(2) + QStringLiteral("0"));
    text("B15", QStringLiteral("Started"));
    text("D13", QStringLiteral("Interval Data"));
    text("D14", QStringLiteral("Key"));
    text("D15", QStringLiteral("Behavior"));
    text("D16", QStringLiteral("Mode"));
    text("D18", QStringLiteral("full int'l %"));
    text("D19", QStringLiteral("part. int'l %"));
    text("D20", QStringLiteral("RPM"));
    text("D21", QStringLiteral("interval %"));
    text("D23", QStringLiteral("Interval #"));
    return cells;
}

void put(Cells& cells, const char* address, CellValue value) {
    cells[place(QLatin1String(address))] = std::move(value);
}

void putColumn(Cells& cells, const QString& column, int firstRow, const QList<CellValue>& values) {
    int row = firstRow;
    for (const CellValue& value : values)
        cells[place(column + QString::number(row++))] = value;
}

SessionSheetInputs inputsFor(const QList<SlotControls>& slotControls) {
    return {std::vector<SlotControls>(slotControls.begin(), slotControls.end()), kStarted, kEnded};
}

const CellValue* cell(const Worksheet& sheet, const char* address) {
    const auto at = place(QLatin1String(address));
    return sheet.at(at.first, at.second);
}

CellValue text(const char* value) {
    return QString::fromUtf8(value);
}

} // namespace

class SessionSheetTest : public QObject {
    Q_OBJECT

private slots:
    void finishedThreeIntervalSession();
    void terminatedInIntervalThreeOfTwenty();
    void noKeyPressRunToItsEnd();
    void tenSlotsFillColumnsEToN();
    void keysAsTyped();
    void terminatedBeforeTheFirstTick();
    void intervalNumbersOfTerminatedSession_data();
    void intervalNumbersOfTerminatedSession();
    void finishedWithIntervalsBeyondTheClock();
    void greyedModeBoxGivesNoMeasures();
    void slotWithoutControlsFails();
    void defaultName_data();
    void defaultName();
    void chosenName_data();
    void chosenName();
    void columnLettersRun_data();
    void columnLettersRun();
};

void SessionSheetTest::finishedThreeIntervalSession() {
    // One count key a (Talking), presses 2, 0, 1 in three intervals of 10 seconds.
    SessionRecord record = readyRecord(QStringLiteral("a"), 30, 10);
    type(record, QStringLiteral("aa"));
    runSeconds(record, 20);
    type(record, QStringLiteral("a"));
    runSeconds(record, 10);
    QCOMPARE(record.state, SessionState::SavePending);

    const Worksheet sheet = buildSessionSheet(record, inputsFor({{QStringLiteral("Talking"), 0}}));

    Cells expected =
        headerAndCaptions(QStringLiteral("a"), QStringLiteral("10"), QStringLiteral("30"),
                          QStringLiteral("Session Finished at   ") + kEnded);
    putColumn(expected, QStringLiteral("A"), 16,
              {text(" 0:  0"), text(" 0:  0"), text(" 0:  20"), text(" 0:  30")});
    putColumn(expected, QStringLiteral("B"), 16,
              {text("a"), text("a"), text("a"), text("Session Finished")});
    put(expected, "E14", text("a"));
    put(expected, "E15", text("Talking"));
    put(expected, "E16", text("Hits"));
    put(expected, "E20", 6.0);
    put(expected, "E21", text("66.67%"));
    putColumn(expected, QStringLiteral("D"), 24, {1.0, 2.0, 3.0});
    putColumn(expected, QStringLiteral("E"), 24, {2.0, 0.0, 1.0});
    const QString difference = differenceFrom(sheet, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void SessionSheetTest::terminatedInIntervalThreeOfTwenty() {
    // Count key a and On/Off key b; 20 intervals of 10 s, paused after 25 s and terminated.
    SessionRecord record = readyRecord(QStringLiteral("ab"), 200, 10);
    QCOMPARE(record.intervalCount, 20);
    type(record, QStringLiteral("a"));
    runSeconds(record, 10);
    type(record, QStringLiteral("b"));
    runSeconds(record, 15);
    pauseAndTerminate(record);

    const Worksheet sheet = buildSessionSheet(
        record, inputsFor({{QStringLiteral("Talking"), 0}, {QStringLiteral("Seated"), 1}}));

    Cells expected = headerAndCaptions(
        QStringLiteral("ab"), QStringLiteral("10"), QStringLiteral("200"),
        QStringLiteral("Session Terminated at   ") + kEnded + QStringLiteral(" (interval No.3)"));
    putColumn(expected, QStringLiteral("A"), 16,
              {text(" 0:  0"), text(" 0:  10"), text(" 0:  25"), text(" 0:  25")});
    putColumn(expected, QStringLiteral("B"), 16,
              {text("a"), text("b"), text("Session Paused"), text("Session Terminated")});
    put(expected, "E14", text("a"));
    put(expected, "E15", text("Talking"));
    put(expected, "E16", text("Hits"));
    put(expected, "E20", 2.4); // 1 press in 25 s
    put(expected, "E21", text("33.33%"));
    put(expected, "F14", text("b"));
    put(expected, "F15", text("Seated"));
    put(expected, "F16", text("On/Off"));
    put(expected, "F18", text("33.33%"));
    put(expected, "F19", text("66.67%"));
    putColumn(expected, QStringLiteral("E"), 24, {1.0, 0.0, 0.0});
    putColumn(expected, QStringLiteral("F"), 24, {0.0, 1.0, 2.0});
    for (int row = 27; row <= 43; ++row) {
        expected[{row, 5}] = QString();
        expected[{row, 6}] = QString();
    }
    put(expected, "E27", text("Session terminated in interval No.3"));
    for (int n = 1; n <= 13; ++n)
        expected[{23 + n, 4}] = double(n);
    const QString difference = differenceFrom(sheet, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void SessionSheetTest::noKeyPressRunToItsEnd() {
    SessionRecord record = readyRecord(QStringLiteral("x"), 10, 5);
    runSeconds(record, 10);
    const Worksheet sheet = buildSessionSheet(record, inputsFor({{QString(), 0}}));

    QCOMPARE(*cell(sheet, "A16"), text(" 0:  10"));
    QCOMPARE(*cell(sheet, "B16"), text("Session Finished"));
    QCOMPARE(cell(sheet, "A17"), nullptr);
    QCOMPARE(*cell(sheet, "E24"), CellValue(0.0));
    QCOMPARE(*cell(sheet, "E25"), CellValue(0.0));
    QCOMPARE(cell(sheet, "E26"), nullptr);
    QCOMPARE(*cell(sheet, "E20"), CellValue(0.0));
    QCOMPARE(*cell(sheet, "E21"), text("0%"));
    QCOMPARE(*cell(sheet, "E15"), text(""));
}

void SessionSheetTest::tenSlotsFillColumnsEToN() {
    const QString keys = QStringLiteral("abcdefghij");
    SessionRecord record = readyRecord(keys, 20, 10);
    type(record, keys);
    runSeconds(record, 20);
    QList<SlotControls> controls;
    for (int s = 1; s <= 10; ++s)
        controls.append({QStringLiteral("behaviour %1").arg(s), s % 2});
    const Worksheet sheet = buildSessionSheet(record, inputsFor(controls));

    for (int s = 1; s <= 10; ++s) {
        QCOMPARE(*sheet.at(14, 4 + s), CellValue(QString(keys.at(s - 1))));
        QCOMPARE(*sheet.at(15, 4 + s), CellValue(QStringLiteral("behaviour %1").arg(s)));
        QCOMPARE(*sheet.at(24, 4 + s), CellValue(1.0));
        QCOMPARE(*sheet.at(25, 4 + s), CellValue(s % 2 == 1 ? 2.0 : 0.0));
    }
    for (const auto& [at, value] : sheet.cells()) {
        QVERIFY2(at.second != 3 && at.second <= 14, qPrintable(addressOf(at)));
    }
}

void SessionSheetTest::keysAsTyped() {
    // The key counter shows keys in upper case; the worksheet keeps them as typed.
    SessionRecord record = readyRecord(QStringLiteral("aB"), 10, 10);
    type(record, QStringLiteral("Ab"));
    runSeconds(record, 10);
    const Worksheet sheet = buildSessionSheet(record, inputsFor({{}, {}}));
    QCOMPARE(*cell(sheet, "E14"), text("a"));
    QCOMPARE(*cell(sheet, "F14"), text("B"));
    QCOMPARE(*cell(sheet, "A9"), CellValue(QStringLiteral("Keys to Hit     :   aB")));
    // "A" and "b" are bound to no slot: nothing counted, nothing logged.
    QCOMPARE(*cell(sheet, "E24"), CellValue(0.0));
    QCOMPARE(*cell(sheet, "B16"), text("Session Finished"));
}

void SessionSheetTest::terminatedBeforeTheFirstTick() {
    SessionRecord record = readyRecord(QStringLiteral("ab"), 60, 10);
    type(record, QStringLiteral("ab"));
    pauseAndTerminate(record);
    QCOMPARE(record.elapsedSeconds, 0);

    const Worksheet sheet = buildSessionSheet(record, inputsFor({{}, {QString(), 1}}));
    QCOMPARE(cell(sheet, "E20"), nullptr); // no rate over no recorded time
    QCOMPARE(*cell(sheet, "E21"), text("100%"));
    QCOMPARE(*cell(sheet, "F18"), text("0%"));
    QCOMPARE(*cell(sheet, "F19"), text("100%"));
    QCOMPARE(*cell(sheet, "E24"), CellValue(1.0));
    QCOMPARE(*cell(sheet, "E25"), text("Session terminated in interval No.1"));
    QCOMPARE(*cell(sheet, "F25"), text(""));
    QCOMPARE(*cell(sheet, "A10"), CellValue(QStringLiteral("Session Terminated at   ") + kEnded +
                                            QStringLiteral(" (interval No.1)")));
}

void SessionSheetTest::intervalNumbersOfTerminatedSession_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("currentInterval");
    QTest::addColumn<int>("lastNumber");
    QTest::addColumn<QString>("note");

    // 20 intervals of 10 s: the numbers run ten past the current interval, at most to 20.
    QTest::newRow("interval 3") << 25 << 3 << 13 << "E27";
    QTest::newRow("interval 10") << 95 << 10 << 20 << "E34";
    QTest::newRow("interval 15") << 145 << 15 << 20 << "E39";
    // In the last interval the note falls just below the table.
    QTest::newRow("interval 20") << 195 << 20 << 20 << "E44";
}

void SessionSheetTest::intervalNumbersOfTerminatedSession() {
    QFETCH(int, seconds);
    QFETCH(int, currentInterval);
    QFETCH(int, lastNumber);
    QFETCH(QString, note);

    SessionRecord record = readyRecord(QStringLiteral("a"), 200, 10);
    runSeconds(record, seconds);
    pauseAndTerminate(record);
    QCOMPARE(record.currentInterval, currentInterval);
    const Worksheet sheet = buildSessionSheet(record, inputsFor({{}}));

    for (int n = 1; n <= lastNumber; ++n)
        QCOMPARE(*sheet.at(23 + n, 4), CellValue(double(n)));
    QCOMPARE(sheet.at(24 + lastNumber, 4), nullptr);
    const auto at = place(note);
    QCOMPARE(
        *sheet.at(at.first, at.second),
        CellValue(QStringLiteral("Session terminated in interval No.%1").arg(currentInterval)));
    for (int n = currentInterval + 2; n <= 20; ++n)
        QCOMPARE(*sheet.at(23 + n, 5), CellValue(QString()));
}

void SessionSheetTest::finishedWithIntervalsBeyondTheClock() {
    // With intervals of 7.5 s the clock never ends one, so a finished session stays in interval 1;
    // the later intervals keep their tally and get no number.
    SessionRecord record = readyRecord(QStringLiteral("a"), 15, 7.5);
    QCOMPARE(record.intervalCount, 2);
    type(record, QStringLiteral("a"));
    runSeconds(record, 15);
    QCOMPARE(record.currentInterval, 1);
    const Worksheet sheet = buildSessionSheet(record, inputsFor({{QString(), 1}}));
    QCOMPARE(*cell(sheet, "A7"), CellValue(QStringLiteral("Interval Length :   7.5")));
    QCOMPARE(*cell(sheet, "E24"), CellValue(1.0));
    QCOMPARE(*cell(sheet, "E25"), CellValue(0.0));
    QCOMPARE(*cell(sheet, "D24"), CellValue(1.0));
    QCOMPARE(cell(sheet, "D25"), nullptr);
    QCOMPARE(*cell(sheet, "E19"), text("100%"));
}

void SessionSheetTest::greyedModeBoxGivesNoMeasures() {
    SessionRecord record = readyRecord(QStringLiteral("a"), 20, 10);
    type(record, QStringLiteral("aaa"));
    runSeconds(record, 20);
    const Worksheet sheet = buildSessionSheet(record, inputsFor({{QStringLiteral("x"), 2}}));
    for (const char* address : {"E16", "E18", "E19", "E20", "E21"})
        QVERIFY2(cell(sheet, address) == nullptr, address);
    QCOMPARE(*cell(sheet, "E24"), CellValue(3.0));
    QCOMPARE(*cell(sheet, "E25"), CellValue(0.0));
}

void SessionSheetTest::slotWithoutControlsFails() {
    SessionRecord record = readyRecord(QStringLiteral("ab"), 10, 10);
    runSeconds(record, 10);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, buildSessionSheet(record, inputsFor({{}})));
}

void SessionSheetTest::defaultName_data() {
    QTest::addColumn<QString>("participant");
    QTest::addColumn<int>("session");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("observer");
    QTest::addColumn<QString>("name");
    QTest::newRow("example") << "P07" << 3 << "base"
                             << "KT"
                             << "P07-3-base-KT.xlsx";
    QTest::newRow("parts unchanged") << "A/B" << 12 << "x y"
                                     << "K.T."
                                     << "A/B-12-x y-K.T..xlsx";
    QTest::newRow("negative number") << "P" << -4 << "c"
                                     << "o"
                                     << "P--4-c-o.xlsx";
}

void SessionSheetTest::defaultName() {
    QFETCH(QString, participant);
    QFETCH(int, session);
    QFETCH(QString, condition);
    QFETCH(QString, observer);
    QFETCH(QString, name);
    SessionRecord record;
    record.participantId = participant;
    record.sessionNumber = static_cast<std::int16_t>(session);
    record.condition = condition;
    record.observerId = observer;
    QCOMPARE(defaultWorkbookName(record), name);
}

void SessionSheetTest::chosenName_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("path");
    QTest::newRow("no extension") << "/home/o/results"
                                  << "/home/o/results.xlsx";
    QTest::newRow("upper case extension") << "/home/o/Results.XLSX"
                                          << "/home/o/Results.XLSX";
    QTest::newRow("mixed case extension") << "/home/o/r.XlSx"
                                          << "/home/o/r.XlSx";
    QTest::newRow("older extension") << "/home/o/data.xls"
                                     << "/home/o/data.xls.xlsx";
    QTest::newRow("extension not at the end") << "/home/o/a.xlsx.bak"
                                              << "/home/o/a.xlsx.bak.xlsx";
    QTest::newRow("letters without the point") << "/home/o/xlsx"
                                               << "/home/o/xlsx.xlsx";
    QTest::newRow("extension alone") << "/home/o/.xlsx"
                                     << "/home/o/.xlsx";
    // A long s folds to s in Unicode case rules, but is no letter of the extension.
    QTest::newRow("long s") << QStringLiteral("/home/o/a.xl\u017Fx")
                            << QStringLiteral("/home/o/a.xl\u017Fx.xlsx");
}

void SessionSheetTest::chosenName() {
    QFETCH(QString, chosen);
    QFETCH(QString, path);
    QCOMPARE(workbookPathFor(chosen), path);
}

void SessionSheetTest::columnLettersRun_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("letters");
    QTest::newRow("1") << 1 << "A";
    QTest::newRow("14") << 14 << "N";
    QTest::newRow("26") << 26 << "Z";
    QTest::newRow("27") << 27 << "AA";
    QTest::newRow("52") << 52 << "AZ";
    QTest::newRow("53") << 53 << "BA";
    QTest::newRow("702") << 702 << "ZZ";
    QTest::newRow("703") << 703 << "AAA";
}

void SessionSheetTest::columnLettersRun() {
    QFETCH(int, column);
    QFETCH(QString, letters);
    QCOMPARE(columnLetters(column), letters);
}

QTEST_APPLESS_MAIN(SessionSheetTest)
#include "test_sessionsheet.moc"
