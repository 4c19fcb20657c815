#include "graph/effects.h"
#include "graph/tiers.h"

#include <QTest>

using namespace quorvia;

namespace {

// "session:condition:value ..." of participant id, key a counted; "-" for no value.
GraphTier tierOf(const QString& id, const QString& sessions) {
    std::vector<GraphInput> inputs;
    for (const QString& s : sessions.split(' ', Qt::SkipEmptyParts)) {
        const QStringList f = s.split(':');
        SessionWorkbook w;
        w.participantId = id;
        w.sessionNumber = static_cast<std::int16_t>(f[0].toInt());
        w.condition = f[1];
        std::optional<double> value;
        if (f[2] != "-")
            value = f[2].toDouble();
        w.keySlots.push_back({"a", "hitting", "Hits", {}, {}, value, {}, {}});
        inputs.push_back({s, {w, {}}});
    }
    GraphTier tier{id, groupSessions(inputs), {}};
    tier.data = graphData(tier.set, GraphMeasure::Rpm, {"a"});
    return tier;
}

std::vector<double> valuesOf(const QString& text) {
    std::vector<double> values;
    for (const QString& v : text.split(' ', Qt::SkipEmptyParts))
        values.push_back(v.toDouble());
    return values;
}

} // namespace

class TestTiers : public QObject {
    Q_OBJECT

private slots:
    void nonOverlap_data() {
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<QString>("later");
        QTest::addColumn<bool>("increase");
        QTest::addColumn<QString>("expected"); // PND NAP Tau
        const auto row = [](const char* tag, const char* earlier, const char* later, bool up,
                            const char* expected) {
            QTest::newRow(tag) << QString(earlier) << QString(later) << up << QString(expected);
        };
        row("increase, one tie", "3 5 4", "6 5 8", true, "66.67 0.944 0.889");
        row("the same phases, decrease", "3 5 4", "6 5 8", false, "0.00 0.056 -0.889");
        row("all tied", "2 2", "2 2", true, "0.00 0.500 0.000");
        row("one value each", "4", "6", true, "100.00 1.000 1.000");
        row("decrease below the lowest", "5 7 6", "4 5 2", false, "66.67 0.944 0.889");
        row("NAP 0.0625 to even", "5 6 7 8", "1 2 3 5.5", true, "0.00 0.062 -0.875");
        row("PND 1/8", "1 1", "2 1 1 1 1 1 1 1", true, "12.50 0.562 0.125");
    }
    void nonOverlap() {
        QFETCH(QString, earlier);
        QFETCH(QString, later);
        QFETCH(bool, increase);
        QFETCH(QString, expected);
        const NonOverlap o =
            quorvia::nonOverlap(valuesOf(earlier), valuesOf(later),
                                increase ? EffectGoal::Increase : EffectGoal::Decrease);
        QCOMPARE(QStringList({pndText(o), napText(o), tauText(o)}).join(' '), expected);
    }

    void meanAndMedian_data() {
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("mean");
        QTest::addColumn<QString>("median");
        const auto row = [](const char* tag, const char* values, const char* mean,
                            const char* median) {
            QTest::newRow(tag) << QString(values) << QString(mean) << QString(median);
        };
        row("0.025 to even", "0.02 0.03", "0.02", "0.02");
        row("2.875 up, 2.5 exact", "1 2 3 5.5", "2.88", "2.50");
        row("thirds", "33.33 66.67 33.33", "44.44", "33.33");
        row("one value", "7", "7.00", "7.00");
        row("none", "", "", "");
    }
    void meanAndMedian() {
        QFETCH(QString, values);
        QFETCH(QString, mean);
        QFETCH(QString, median);
        QCOMPARE(meanText(valuesOf(values)), mean);
        QCOMPARE(medianText(valuesOf(values)), median);
    }

    // Tiers named in reverse: ordered by the first change, a tie by name, no change last.
    void tierOrder() {
        std::vector<GraphTier> tiers{
            tierOf("P04", "1:A:1 2:A:1"), tierOf("P03", "1:A:1 9:A:1 10:B:1"),
            tierOf("P02", "1:A:1 2:A:1 5:B:1"), tierOf("P01", "1:A:1 3:A:1 4:B:1 6:A:1")};
        orderTiers(tiers);
        QStringList names;
        for (const GraphTier& tier : tiers)
            names << tier.name;
        QCOMPARE(names.join(' '), "P01 P02 P03 P04");
    }

    // Changes half-way across a gap in the session numbers; the second change of the top tier
    // alone, the bottom tier's second change a path of its own.
    void steps() {
        const std::vector<GraphTier> tiers{tierOf("P01", "1:A:1 3:A:1 4:B:1 8:B:1 9:A:1"),
                                           tierOf("P02", "1:A:1 6:A:1 7:B:1"),
                                           tierOf("P03", "1:A:1 9:A:1 10:C:1 12:C:1 13:D:1")};
        QStringList lines;
        for (const StepLine& line : stepLines(tiers)) {
            QStringList points;
            for (const StepPoint& p : line.points)
                points << QStringLiteral("%1:%2%3").arg(p.tier).arg(p.session).arg(p.foot ? 'f'
                                                                                          : 't');
            lines << QStringLiteral("%1 %2").arg(line.change).arg(points.join(' '));
        }
        QCOMPARE(lines, QStringList({"1 0:3.5t 0:3.5f 0:6.5f 1:6.5t 1:6.5f 1:9.5f 2:9.5t 2:9.5f",
                                     "2 0:8.5t 0:8.5f", "2 2:12.5t 2:12.5f"}));
        const auto shown = [&](std::size_t t) {
            QString text;
            for (const bool b : conditionsShown(tiers, t))
                text += b ? '1' : '0';
            return text;
        };
        QCOMPARE(shown(0) + ' ' + shown(1) + ' ' + shown(2), "111 00 011");
    }

    void aids_data() {
        QTest::addColumn<int>("aid");
        QTest::addColumn<QString>("expected"); // phase: x1,y1 x2,y2
        QTest::newRow("mean") << int(PhaseAid::Mean) << "1: 0.75,5 3.25,5 2: 3.75,5 6.25,5";
        QTest::newRow("median") << int(PhaseAid::Median) << "1: 0.75,4 3.25,4 2: 3.75,5 6.25,5";
        QTest::newRow("trend, one value level")
            << int(PhaseAid::Trend) << "1: 0.75,0.625 3.25,9.375 2: 3.75,5 6.25,5";
    }
    void aids() {
        QFETCH(int, aid);
        QFETCH(QString, expected);
        const GraphTier tier = tierOf("P01", "1:A:2 2:A:4 3:A:9 4:B:- 6:B:5 7:C:-");
        QStringList lines;
        for (const AidLine& l : phaseAids(tier.set, tier.data.series.front(), PhaseAid(aid)))
            lines << QStringLiteral("%1: %2,%3 %4,%5")
                         .arg(l.phase)
                         .arg(l.x1)
                         .arg(l.y1)
                         .arg(l.x2)
                         .arg(l.y2);
        QCOMPARE(lines.join(' '), expected);
    }

    // A phase without values: n 0, its mean and median and the comparisons empty.
    void rows() {
        const std::vector<GraphTier> tiers{
            tierOf("P01", "1:A:3 2:A:5 3:A:4 4:B:6 5:B:5 6:B:8 7:A:-")};
        const QString csv =
            effectsCsv(effectRows(tiers, {{"a", EffectGoal::Increase}}, EffectGoal::Decrease));
        QCOMPARE(csv, "tier,key,behaviour,measure,from phase,from condition,to phase,to condition,"
                      "n from,n to,mean from,mean to,median from,median to,PND,NAP,Tau\r\n"
                      "P01,a,hitting,rpm,1,A,2,B,3,3,4.00,6.33,4.00,6.00,66.67,0.944,0.889\r\n"
                      "P01,a,hitting,rpm,2,B,3,A,3,0,6.33,,6.00,,,,\r\n");
    }
};

QTEST_MAIN(TestTiers)
#include "test_tiers.moc"
