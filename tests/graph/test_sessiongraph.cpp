#include "graph/sessiongraph.h"

#include <QTest>

using namespace quorvia;

namespace {

// "file number condition [date [participant [keys]]]"; a file starting with "!" cannot be read.
// Key a is On/Off, key b counted; their measures grow with the session number.
std::vector<GraphInput> inputsOf(const QStringList& descriptions) {
    std::vector<GraphInput> inputs;
    for (const QString& description : descriptions) {
        const QStringList f = description.split(QLatin1Char(' '));
        if (f.at(0).startsWith(QLatin1Char('!'))) {
            inputs.push_back({f.at(0), {std::nullopt, QStringLiteral("not a workbook")}});
            continue;
        }
        SessionWorkbook w;
        w.sessionNumber = static_cast<std::int16_t>(f.at(1).toInt());
        w.condition = QString(f.at(2)).replace(QLatin1Char('_'), QLatin1Char(' '));
        w.sessionDate = f.value(3, QStringLiteral("2026/12/01"));
        w.participantId = f.value(4, QStringLiteral("P07"));
        w.keysToHit = f.value(5, QStringLiteral("ab"));
        const double n = w.sessionNumber;
        w.keySlots.push_back({"a", "out of seat", "On/Off", n * 10, n * 20, {}, {}, {}});
        w.keySlots.push_back(
            {"b", n > 1 ? "hit, kick" : "hit", "Hits", {}, {}, n + 0.5, 100 / 3.0, {}});
        inputs.push_back({f.at(0), {w, {}}});
    }
    return inputs;
}

} // namespace

class TestSessionGraph : public QObject {
    Q_OBJECT

private slots:
    void grouping_data() {
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<QString>("order");  // files drawn, in session order
        QTest::addColumn<QString>("phases"); // phase of each drawn session
        QTest::addColumn<QStringList>("skipped");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("paths"); // session numbers that key a's path joins
        const auto row = [](const char* tag, const QStringList& descriptions, const char* order,
                            const char* phases, const char* paths, const QStringList& skipped = {},
                            const char* refusal = "") {
            QTest::newRow(tag) << descriptions << QString(order) << QString(phases) << skipped
                               << QString(refusal) << QString(paths);
        };
        row("A A B B A: three phases", {"s1 1 A", "s2 2 A", "s3 3 B", "s4 4 B", "s5 5 A"},
            "s1 s2 s3 s4 s5", "1 1 2 2 3", "1 2|3 4|5");
        row("ordered by number, not as given or as text",
            {"s10 10 B", "s2 2 A", "s1 1 A", "s9 9 B"}, "s1 s2 s9 s10", "1 1 2 2", "1 2|9 10");
        row("blanks around a condition do not split a phase", {"s1 1 A", "s2 2 _A_"}, "s1 s2",
            "1 1", "1 2");
        row("same number: the earlier date is drawn",
            {"late 3 A 2026/12/07", "early 3 A 2026/12/06", "s4 4 B"}, "early s4", "1 2", "3|4",
            {"late: session 3 is already drawn from early."});
        row("a missing session breaks the path", {"s1 1 A", "s2 2 A", "s4 4 A", "s5 5 B"},
            "s1 s2 s4 s5", "1 1 1 2", "1 2|4|5");
        row("unreadable named, the rest drawn", {"!bad", "s1 1 A"}, "s1", "1", "1",
            {"!bad: not a workbook"});
        row("participants differ", {"s1 1 A 1/1 P07", "s2 2 A 1/1 P08", "s3 3 A 1/1 P07"}, "", "",
            "", {}, "The workbooks are of different participants: P07 (s1, s3); P08 (s2).");
        row("a key gained in a later session", {"s1 1 A 1/1 P07 ab", "s2 2 A 1/1 P07 abc"}, "s1 s2",
            "1 1", "1 2");
        row("nothing readable", {"!bad"}, "", "", "", {"!bad: not a workbook"},
            "None of the workbooks could be read.");
    }
    void grouping() {
        QFETCH(QStringList, descriptions);
        QFETCH(QString, order);
        QFETCH(QString, phases);
        QFETCH(QStringList, skipped);
        QFETCH(QString, refusal);
        QFETCH(QString, paths);
        const SessionSet set = groupSessions(inputsOf(descriptions));
        QStringList files;
        QStringList phaseNumbers;
        for (const GraphSession& s : set.sessions) {
            files << s.file;
            phaseNumbers << QString::number(s.phase);
        }
        QCOMPARE(files.join(' '), order);
        QCOMPARE(phaseNumbers.join(' '), phases);
        QCOMPARE(set.skipped, skipped);
        QCOMPARE(set.refusal, refusal);
        if (!set.phases.empty()) {
            QCOMPARE(set.phases.front().firstSession, set.sessions.front().workbook.sessionNumber);
            QCOMPARE(set.phases.back().lastSession, set.sessions.back().workbook.sessionNumber);
        }
        QStringList joined;
        for (const GraphSeries& series : graphData(set, GraphMeasure::Full, {"a"}).series) {
            for (const auto& stretch : graphPaths(set, series)) {
                QStringList numbers;
                for (const auto& [number, value] : stretch)
                    numbers << QString::number(number);
                joined << numbers.join(' ');
            }
        }
        QCOMPARE(joined.join('|'), paths);
    }

    void plotted_data() {
        QTest::addColumn<QString>("measure");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("csv"); // or the error
        const QString head = "session,date,condition,phase,key,behaviour,measure,value\r\n";
        QTest::newRow("rpm: the name of each session, quoted where it has a comma")
            << "rpm" << QStringList{"b"}
            << head + "1,2026/12/01,A,1,b,hit,rpm,1.5\r\n"
                      "2,2026/12/01,B,2,b,\"hit, kick\",rpm,2.5\r\n";
        QTest::newRow("interval: the percentage as a number")
            << "interval" << QStringList()
            << head + "1,2026/12/01,A,1,b,hit,interval,33.3333333333333\r\n"
                      "2,2026/12/01,B,2,b,\"hit, kick\",interval,33.3333333333333\r\n";
        QTest::newRow("a key not among the keys")
            << "partial" << QStringList{"x"} << "Key x has no partial value in these sessions.";
        QTest::newRow("a counted key for an On/Off measure")
            << "full" << QStringList{"a", "b"} << "Key b has no full value in these sessions.";
    }
    void plotted() {
        QFETCH(QString, measure);
        QFETCH(QStringList, keys);
        QFETCH(QString, csv);
        const SessionSet set = groupSessions(inputsOf({"s2 2 B", "s1 1 A"}));
        const GraphData data = graphData(set, *graphMeasureFromWord(measure), keys);
        QCOMPARE(data.error.isEmpty() ? graphCsv(set, data) : data.error, csv);
        if (data.error.isEmpty()) {
            QCOMPARE(data.participantId, QString("P07"));
            QCOMPARE(data.series.front().behaviour, data.series.front().points.back().behaviour);
        }
    }
};

QTEST_GUILESS_MAIN(TestSessionGraph)
#include "test_sessiongraph.moc"
