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

    // A reset after a session leaves nothing of it, and sizes the tables for the new keys.
    void resetPreparesAFreshSession() {
        SessionRecord r = test::freshRecord(QStringLiteral("abc"), 65, 10);
        r.countPress(2);
        r.appendEntry(QStringLiteral("b"));
        r.elapsedSeconds = r.clockMinutes = r.clockSeconds = 12;
        r.currentInterval = 2;
        r.clockText = QStringLiteral(" 12:  12");
        r.keysToHit = QStringLiteral("ab");
        r.reset();
        QCOMPARE(QList<qint64>({r.keyCount, r.intervalCount, r.elapsedSeconds, r.clockMinutes,
                                r.clockSeconds, r.currentInterval, r.nextEntry, r.entryCapacity}),
                 QList<qint64>({2, 7, 0, 0, 0, 1, 1, 500}));
        QCOMPARE(r.clockText + r.entryEvent(1), QStringLiteral(" 0:  0"));
        QCOMPARE(r.keyHits(2) + r.intervalHits(2, 1), qint64(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, r.intervalHits(3, 1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, r.entryEvent(501));
    }
};

QTEST_APPLESS_MAIN(TestSessionRecord)
#include "test_sessionrecord.moc"
