// Summary measures of a key slot: interval codes, percentages, the rate and their text forms.
#include "report/measures.h"
#include "sessionscript.h"

#include <QTest>

using namespace quorvia;
using quorvia::test::recordWithTallies;

class MeasuresTest : public QObject {
    Q_OBJECT

private slots:
    void onOffSlot_data();
    void onOffSlot();
    void countSlot_data();
    void countSlot();
    void pressesBeyondSixteenBits();
};

void MeasuresTest::onOffSlot_data() {
    QTest::addColumn<QList<qint64>>("presses");
    QTest::addColumn<qint64>("currentInterval");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("partial");

    QTest::newRow("eight intervals 1-0-0-2-0-1-0-0")
        << QList<qint64>{1, 0, 0, 2, 0, 1, 0, 0} << qint64(8) << QList<int>{1, 2, 2, 1, 2, 1, 0, 0}
        << "37.5%"
        << "75%";
    QTest::newRow("never pressed")
        << QList<qint64>{0, 0, 0, 0} << qint64(4) << QList<int>{0, 0, 0, 0} << "0%"
        << "0%";
    QTest::newRow("pressed once in interval 1 of 4")
        << QList<qint64>{1, 0, 0, 0} << qint64(4) << QList<int>{1, 2, 2, 2} << "75%"
        << "100%";
    QTest::newRow("on and off again within one interval")
        << QList<qint64>{2, 0} << qint64(2) << QList<int>{1, 0} << "0%"
        << "50%";
    QTest::newRow("thirds round to 2 decimals")
        << QList<qint64>{3, 0, 0} << qint64(3) << QList<int>{1, 2, 2} << "66.67%"
        << "100%";
    // Terminated in interval 3 of 5: only the recorded intervals count, and they divide.
    QTest::newRow("terminated in interval 3")
        << QList<qint64>{0, 1, 0, 0, 0} << qint64(3) << QList<int>{0, 1, 2} << "33.33%"
        << "66.67%";
}

void MeasuresTest::onOffSlot() {
    QFETCH(QList<qint64>, presses);
    QFETCH(qint64, currentInterval);
    QFETCH(QList<int>, codes);
    QFETCH(QString, full);
    QFETCH(QString, partial);

    const SessionRecord record = recordWithTallies({presses}, currentInterval, 30, presses.size());
    const OnOffMeasures measures = onOffMeasures(record, 1);
    QCOMPARE(QList<int>(measures.codes.begin(), measures.codes.end()), codes);
    QCOMPARE(percentText(measures.fullPercent), full);
    QCOMPARE(percentText(measures.partialPercent), partial);
}

void MeasuresTest::countSlot_data() {
    QTest::addColumn<QList<qint64>>("presses");
    QTest::addColumn<qint64>("currentInterval");
    QTest::addColumn<qint64>("elapsedSeconds");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<bool>("hasRate");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("intervalPercent");

    QTest::newRow("2-0-1 in 3 intervals of 10 s")
        << QList<qint64>{2, 0, 1} << qint64(3) << qint64(30) << qint64(3) << true << 6.0
        << "66.67%";
    QTest::newRow("7 presses in 45 s")
        << QList<qint64>{3, 4} << qint64(2) << qint64(45) << qint64(7) << true << 9.33 << "100%";
    QList<qint64> onceIn32(32, 0);
    onceIn32[4] = 1;
    QTest::newRow("1 interval of 32 is 3.125, half to even")
        << onceIn32 << qint64(32) << qint64(300) << qint64(1) << true << 0.2 << "3.12%";
    QTest::newRow("rate 0.125, half to even")
        << QList<qint64>{1} << qint64(1) << qint64(480) << qint64(1) << true << 0.12 << "100%";
    QTest::newRow("rate 3.375, half to even")
        << QList<qint64>{27} << qint64(1) << qint64(480) << qint64(27) << true << 3.38 << "100%";
    // Terminated during interval 3 of 20 after 25 recorded seconds: / 3 and / 25.
    QList<qint64> terminated(20, 0);
    terminated[0] = 1;
    terminated[2] = 2;
    QTest::newRow("terminated in interval 3 of 20 after 25 s")
        << terminated << qint64(3) << qint64(25) << qint64(3) << true << 7.2 << "66.67%";
    QTest::newRow("never pressed")
        << QList<qint64>{0, 0, 0} << qint64(3) << qint64(30) << qint64(0) << true << 0.0 << "0%";
    // Terminated before the first tick: no recorded time, so no rate.
    QTest::newRow("no recorded time")
        << QList<qint64>{2} << qint64(1) << qint64(0) << qint64(2) << false << 0.0 << "100%";
}

void MeasuresTest::countSlot() {
    QFETCH(QList<qint64>, presses);
    QFETCH(qint64, currentInterval);
    QFETCH(qint64, elapsedSeconds);
    QFETCH(qint64, total);
    QFETCH(bool, hasRate);
    QFETCH(double, rate);
    QFETCH(QString, intervalPercent);

    const SessionRecord record =
        recordWithTallies({presses}, currentInterval, elapsedSeconds, presses.size());
    const CountMeasures measures = countMeasures(record, 1);
    QCOMPARE(measures.pressTotal, total);
    QCOMPARE(measures.responsesPerMinute.has_value(), hasRate);
    if (hasRate)
        QCOMPARE(*measures.responsesPerMinute, rate);
    // The single-precision value shows its own shortest digits, not those of its double.
    QCOMPARE(percentText(measures.intervalPercent), intervalPercent);
}

void MeasuresTest::pressesBeyondSixteenBits() {
    // 40001 presses in interval 1: an odd number, so an On/Off key stays on through interval 2.
    const SessionRecord record = recordWithTallies({{40001, 0}, {40000, 1}}, 2, 60, 2);
    QCOMPARE(onOffMeasures(record, 1).codes, (std::vector<int>{1, 2}));
    const CountMeasures count = countMeasures(record, 2);
    QCOMPARE(count.pressTotal, qint64(40001));
    QCOMPARE(*count.responsesPerMinute, 40001.0);
}

QTEST_APPLESS_MAIN(MeasuresTest)
#include "test_measures.moc"
