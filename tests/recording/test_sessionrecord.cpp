#include "recording/sessionrecord.h"
#include "support/records.h"

#include <QTest>

using namespace quorvia;

class TestSessionRecord : public QObject {
    Q_OBJECT

private slots:
    void intervalCount_data() {
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("interval");
        QTest::addColumn<qint64>("count");
        QTest::newRow("600/30") << 600.0 << 30.0 << qint64(20);
        QTest::newRow("100/30") << 100.0 << 30.0 << qint64(4);
        QTest::newRow("75/30: half to even, then up") << 75.0 << 30.0 << qint64(3);
        QTest::newRow("5/60") << 5.0 << 60.0 << qint64(1);
        QTest::newRow("65/10") << 65.0 << 10.0 << qint64(7);
        QTest::newRow("10.5/1") << 10.5 << 1.0 << qint64(11);
        QTest::newRow("no interval length") << 600.0 << 0.0 << qint64(0);
    }
    void intervalCount() {
        QFETCH(double, duration);
        QFETCH(double, interval);
        QFETCH(qint64, count);
        QCOMPARE(intervalCountFor(duration, interval), count);
    }

    void clockText() {
        const QList<std::pair<int, QString>> cases{
            {0, " 0:  0"}, {7, " 0:  7"}, {60, " 1:  0"}, {754, " 12:  34"}};
        for (const auto& [seconds, text] : cases)
            QCOMPARE(clockTextFor(seconds / 60, seconds % 60), text);
    }

    void resetPreparesAFreshSession() {
        SessionRecord r = test::freshRecord(QStringLiteral("abc"), 65, 10);
        r.countPress(2);
        r.appendEntry(QStringLiteral("b"));
        r.elapsedSeconds = r.clockMinutes = r.clockSeconds = 12;
        r.currentInterval = 2;
        r.clockText = QStringLiteral(" 12:  12");

        r.keysToHit = QStringLiteral("ab");
        r.reset();
        QCOMPARE(r.keyCount, 2);
        QCOMPARE(r.intervalCount, qint64(7));
        QCOMPARE(QList<qint64>({r.elapsedSeconds, r.clockMinutes, r.clockSeconds, r.currentInterval,
                                r.nextEntry, r.entryCapacity}),
                 QList<qint64>({0, 0, 0, 1, 1, 500}));
        QCOMPARE(r.clockText, QStringLiteral(" 0:  0"));
        for (int slot = 0; slot <= 2; ++slot) {
            QCOMPARE(r.keyHits(slot), qint64(0));
            for (qint64 n = 1; n <= 7; ++n)
                QCOMPARE(r.intervalHits(slot, n), qint64(0));
        }
        QCOMPARE(r.entryEvent(1), QString());
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, r.intervalHits(3, 1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, r.entryEvent(501));
    }

    void logGrowsWhenFullAndKeepsRows() {
        SessionRecord r = test::freshRecord(QStringLiteral("a"), 3600, 1);
        const QList<std::pair<int, qint64>> capacityAfter{
            {498, 500}, {499, 600}, {598, 600}, {599, 700}};
        int written = 0;
        for (const auto& [entries, capacity] : capacityAfter) {
            for (; written < entries; ++written) {
                r.clockText = QString::number(written + 1);
                r.appendEntry(QStringLiteral("a"));
                r.growLogIfFull();
            }
            QCOMPARE(r.entryCapacity, capacity);
        }
        for (int n = 1; n <= written; ++n)
            QCOMPARE(r.entryTime(n), QString::number(n));
        // The end entry always fits, at nextEntry, without advancing it.
        r.writeEndEntry(kSessionFinished);
        QCOMPARE(r.entryEvent(written + 1), kSessionFinished);
        QCOMPARE(r.nextEntry, qint64(written + 1));
    }
};

QTEST_APPLESS_MAIN(TestSessionRecord)
#include "test_sessionrecord.moc"
