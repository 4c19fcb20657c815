// The agreement measures on worked examples and on the cases that divide 0 by 0, the matching of
// two workbooks, and the CSV table.
#include "agreement/agreement.h"

#include <QTest>

using namespace quorvia;

namespace {

std::vector<double> numbers(const QString& text) {
    std::vector<double> values;
    for (const QString& value : text.split(u' ', Qt::SkipEmptyParts))
        values.push_back(value.toDouble());
    return values;
}

QString shown(const std::optional<double>& value) {
    return value ? QString::number(*value) : QStringLiteral("n/a");
}

// A workbook of P07 with keys "ab": a counted (values a), b On/Off (codes b).
SessionWorkbook book(const QString& a, const QString& b) {
    SessionWorkbook workbook;
    workbook.participantId = QStringLiteral("P07");
    workbook.sessionNumber = 3;
    workbook.sessionDate = QStringLiteral("2026/12/06");
    workbook.intervalLength = 10;
    workbook.keysToHit = QStringLiteral("ab");
    workbook.keySlots = {{"a", "Talking, \"loud\"", "Hits", {}, {}, {}, {}, numbers(a)},
                         {"b", "Out of seat", "On/Off", {}, {}, {}, {}, numbers(b)}};
    workbook.intervalCount = static_cast<std::int64_t>(workbook.keySlots[0].values.size());
    return workbook;
}

} // namespace

Q_DECLARE_METATYPE(SessionWorkbook)

class AgreementTest : public QObject {
    Q_OBJECT

private slots:
    // Count measures (total, mean per interval, exact per interval) or occurrence measures
    // (interval-by-interval, scored, unscored, kappa), where any value above 0 is scored.
    void measures_data() {
        QTest::addColumn<bool>("counted");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("measures");
        const auto row = [](const char* tag, bool counted, const QString& first,
                            const QString& second, const char* measures) {
            QTest::newRow(tag) << counted << first << second << QString(measures);
        };
        row("counts, worked example", true, "2 0 1 0 3 1", "2 0 0 0 2 1", "71.43 77.78 66.67");
        row("counts, no responses by either", true, "0 0 0", "0 0 0", "n/a 100 100");
        // 1/32 is 3.125 %, an exact half: to the even 3.12.
        row("counts, halves to even", true, QString("1 ").repeated(32),
            QString("0 ").repeated(31) + "1", "3.12 3.12 3.12");
        row("worked example", false, "1 0 1 1 0 0 0 1 0 0", "1 0 0 1 0 0 0 1 1 0",
            "80 60 71.43 0.583");
        row("nothing scored by either", false, "0 0 0 0", "0 0 0 0", "100 n/a 100 n/a");
        row("everything scored by both", false, "1 1 1", "1 1 1", "100 100 n/a n/a");
        row("worse than chance", false, "1 1 1 0 0", "0 1 0 1 1", "20 20 0 -0.667");
        row("opposite halves", false, "1 1 0 0", "0 0 1 1", "0 0 0 -1");
    }

    void measures() {
        QFETCH(bool, counted);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, measures);
        const auto scored = [](const QString& text) {
            std::vector<bool> values;
            for (const double value : numbers(text))
                values.push_back(value > 0);
            return values;
        };
        QStringList got;
        if (counted) {
            const CountAgreement c = countAgreement(numbers(first), numbers(second), 1000);
            got << shown(c.totalCount) << shown(c.meanPerInterval) << shown(c.exactPerInterval);
        } else {
            const OccurrenceAgreement o = occurrenceAgreement(scored(first), scored(second));
            got << shown(o.intervalByInterval) << shown(o.scored) << shown(o.unscored)
                << shown(o.kappa);
        }
        QCOMPARE(got.join(u' '), measures);
    }

    void matching_data() {
        QTest::addColumn<SessionWorkbook>("reliability");
        QTest::addColumn<QString>("outcome"); // the error, or the warnings and intervals compared
        // The primary's workbook, book("1 0", "0 1"), changed by change.
        const auto row = [](const char* tag, const QString& outcome, auto change) {
            SessionWorkbook reliability = book("1 0", "0 1");
            change(reliability);
            QTest::newRow(tag) << reliability << outcome;
        };
        row("mismatched keys",
            "the keys to hit are \u201Cab\u201D and \u201Cac\u201D. Nothing was compared.",
            [](SessionWorkbook& w) { w.keysToHit = QStringLiteral("ac"); });
        row("behaviour names",
            "The behaviour names of key b differ: \u201COut of seat\u201D and "
            "\u201Ckicking\u201D.|2",
            [](SessionWorkbook& w) { w.keySlots[1].behaviour = QStringLiteral("kicking"); });
        // The same day in a German short date: no warning.
        row("a date in another locale's form", "2",
            [](SessionWorkbook& w) { w.sessionDate = QStringLiteral("06.12.26"); });
        row("interval length", "the interval lengths are 10 s and 7.5 s",
            [](SessionWorkbook& w) { w.intervalLength = 7.5; });
        row("mode", "key b is in mode \u201COn/Off\u201D and \u201CHits\u201D",
            [](SessionWorkbook& w) { w.keySlots[1].mode = QStringLiteral("Hits"); });
        row("typos and an early end",
            "The participant's IDs differ: \u201CP07\u201D and \u201CP08\u201D.|"
            "The session dates differ: \u201C2026/12/06\u201D and \u201C2026/12/07\u201D.|"
            "The sessions recorded 2 and 3 intervals; the first 2 are compared.|2",
            [](SessionWorkbook& w) {
                w = book("1 0 0", "0 1 2");
                w.participantId = QStringLiteral("P08");
                w.sessionDate = QStringLiteral("2026/12/07");
            });
    }

    void matching() {
        QFETCH(SessionWorkbook, reliability);
        QFETCH(QString, outcome);
        const AgreementResult result = compareWorkbooks(book("1 0", "0 1"), reliability);
        const QString got = result.agreement
                                ? (result.agreement->warnings +
                                   QStringList{QString::number(result.agreement->intervals)})
                                      .join(u'|')
                                : result.error;
        QVERIFY2(outcome == "2" ? got == outcome : got.contains(outcome), qPrintable(got));
    }

    // Keys are matched by their character: the same keys in other slots give the same rows.
    void keysInAnotherOrder() {
        const SessionWorkbook primary = book("2 0 1", "0 1 2");
        SessionWorkbook swapped = book("1 0 1", "0 2 2");
        std::swap(swapped.keySlots[0], swapped.keySlots[1]);
        swapped.keysToHit = QStringLiteral("ba");
        SessionWorkbook same = book("1 0 1", "0 2 2");
        const AgreementResult got = compareWorkbooks(primary, swapped);
        QVERIFY2(got.agreement, qPrintable(got.error));
        QCOMPARE(agreementCsv(*got.agreement),
                 agreementCsv(*compareWorkbooks(primary, same).agreement));
        QVERIFY(got.agreement->warnings.isEmpty());
    }

    void csvTable() {
        // a: counts 2 0 1 / 2 1 1; b: codes 1 2 0 / 1 1 0 (whole: scored only by the first).
        const AgreementResult result =
            compareWorkbooks(book("2 0 1", "1 2 0"), book("2 1 1", "1 1 0"));
        QVERIFY(result.agreement);
        QCOMPARE(agreementCsv(*result.agreement).split(QStringLiteral("\r\n")),
                 QStringLiteral(
                     "key,behaviour,mode,scoring,measure,value\r\n"
                     "a,\"Talking, \"\"loud\"\"\",Hits,count,total count,75.00\r\n"
                     "a,\"Talking, \"\"loud\"\"\",Hits,count,mean count-per-interval,66.67\r\n"
                     "a,\"Talking, \"\"loud\"\"\",Hits,count,exact count-per-interval,66.67\r\n"
                     "a,\"Talking, \"\"loud\"\"\",Hits,partial,interval-by-interval,66.67\r\n"
                     "a,\"Talking, \"\"loud\"\"\",Hits,partial,scored-interval,66.67\r\n"
                     "a,\"Talking, \"\"loud\"\"\",Hits,partial,unscored-interval,0.00\r\n"
                     "a,\"Talking, \"\"loud\"\"\",Hits,partial,kappa,0.000\r\n"
                     "b,Out of seat,On/Off,partial,interval-by-interval,100.00\r\n"
                     "b,Out of seat,On/Off,partial,scored-interval,100.00\r\n"
                     "b,Out of seat,On/Off,partial,unscored-interval,100.00\r\n"
                     "b,Out of seat,On/Off,partial,kappa,1.000\r\n"
                     "b,Out of seat,On/Off,whole,interval-by-interval,66.67\r\n"
                     "b,Out of seat,On/Off,whole,scored-interval,0.00\r\n"
                     "b,Out of seat,On/Off,whole,unscored-interval,66.67\r\n"
                     "b,Out of seat,On/Off,whole,kappa,0.000\r\n"
                     ",,,,intervals compared,3\r\n")
                     .split(QStringLiteral("\r\n")));
    }

    void valueTexts() {
        // "!" where the value is marked as below 80 %.
        AgreementRow row{1, "a", "", "Hits", Scoring::Count, "kappa", -0.25};
        QStringList texts{valueText(row) + (belowMinimum(row) ? "!" : "")};
        row.measure = QStringLiteral("total count");
        for (const std::optional<double> value :
             {std::optional(80.0), std::optional(79.99), std::optional<double>()}) {
            row.value = value;
            texts << valueText(row) + (belowMinimum(row) ? "!" : "");
        }
        QCOMPARE(texts, (QStringList{"-0.250", "80.00", "79.99!", "n/a"}));
    }
};

QTEST_GUILESS_MAIN(AgreementTest)
#include "test_agreement.moc"
