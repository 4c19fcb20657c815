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
    void counts_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("measures"); // total, mean per interval, exact per interval
        QTest::newRow("worked example") << "2 0 1 0 3 1"
                                        << "2 0 0 0 2 1"
                                        << "71.43 77.78 66.67";
        QTest::newRow("no responses by either") << "0 0 0"
                                                << "0 0 0"
                                                << "n/a 100 100";
        // 1/32 is 3.125 %, an exact half: to the even 3.12.
        QTest::newRow("halves to even")
            << QString("1 ").repeated(32) << QString("0 ").repeated(31) + "1"
            << "3.12 3.12 3.12";
    }

    void counts() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, measures);
        const CountAgreement got = countAgreement(numbers(first), numbers(second), 1000);
        QCOMPARE(QStringList({shown(got.totalCount), shown(got.meanPerInterval),
                              shown(got.exactPerInterval)})
                     .join(u' '),
                 measures);
    }

    void occurrence_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("measures"); // interval-by-interval, scored, unscored, kappa
        QTest::newRow("worked example") << "1 0 1 1 0 0 0 1 0 0"
                                        << "1 0 0 1 0 0 0 1 1 0"
                                        << "80 60 71.43 0.583";
        QTest::newRow("nothing scored by either") << "0 0 0 0"
                                                  << "0 0 0 0"
                                                  << "100 n/a 100 n/a";
        QTest::newRow("everything scored by both") << "1 1 1"
                                                   << "1 1 1"
                                                   << "100 100 n/a n/a";
        QTest::newRow("worse than chance") << "1 1 1 0 0"
                                           << "0 1 0 1 1"
                                           << "20 20 0 -0.667";
        QTest::newRow("opposite halves") << "1 1 0 0"
                                         << "0 0 1 1"
                                         << "0 0 0 -1";
    }

    void occurrence() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, measures);
        const auto scored = [](const QString& text) {
            std::vector<bool> values;
            for (const double value : numbers(text))
                values.push_back(value > 0);
            return values;
        };
        const OccurrenceAgreement got = occurrenceAgreement(scored(first), scored(second));
        QCOMPARE(QStringList({shown(got.intervalByInterval), shown(got.scored), shown(got.unscored),
                              shown(got.kappa)})
                     .join(u' '),
                 measures);
    }

    void matching_data() {
        QTest::addColumn<SessionWorkbook>("reliability");
        QTest::addColumn<QString>("outcome"); // the error, or the warnings and intervals compared
        SessionWorkbook keys = book("1 0", "0 1");
        keys.keysToHit = QStringLiteral("ac");
        QTest::newRow("mismatched keys") << keys
                                         << "the keys to hit are \u201Cab\u201D and "
                                            "\u201Cac\u201D. Nothing was compared.";
        SessionWorkbook named = book("1 0", "0 1");
        named.keySlots[1].behaviour = QStringLiteral("kicking");
        QTest::newRow("behaviour names")
            << named
            << "The behaviour names of key b differ: \u201COut of seat\u201D and "
               "\u201Ckicking\u201D.|2";
        SessionWorkbook german = book("1 0", "0 1");
        german.sessionDate = QStringLiteral("06.12.26"); // the same day in a German short date
        QTest::newRow("a date in another locale's form") << german << "2"; // no warning
        SessionWorkbook length = book("1 0", "0 1");
        length.intervalLength = 7.5;
        QTest::newRow("interval length") << length << "the interval lengths are 10 s and 7.5 s";
        SessionWorkbook mode = book("1 0", "0 1");
        mode.keySlots[1].mode = QStringLiteral("Hits");
        QTest::newRow("mode") << mode << "key b is in mode \u201COn/Off\u201D and \u201CHits\u201D";
        SessionWorkbook other = book("1 0 0", "0 1 2");
        other.participantId = QStringLiteral("P08");
        other.sessionDate = QStringLiteral("2026/12/07");
        QTest::newRow("typos and an early end")
            << other
            << "The participant's IDs differ: \u201CP07\u201D and \u201CP08\u201D.|"
               "The session dates differ: \u201C2026/12/06\u201D and \u201C2026/12/07\u201D.|"
               "The sessions recorded 2 and 3 intervals; the first 2 are compared.|2";
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
