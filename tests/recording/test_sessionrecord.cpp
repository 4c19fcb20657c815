#include "recording/sessionrecord.h"

#include <QTest>

using namespace quorvia;

namespace {

SessionRecord recordFor(const QString& keys, double duration, double interval) {
    SessionRecord record;
    record.keysToHit = keys;
    record.sessionDuration = duration;
    record.intervalLength = interval;
    record.reset();
    return record;
}

} // namespace

class TestSessionRecord : public QObject {
    Q_OBJECT

private slots:
    void intervalCount_data() {
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("interval");
        QTest::addColumn<qint64>("count");
        QTest::newRow("600/30") << 600.0 << 30.0 << qint64(20);
        QTest::newRow("100/30") << 100.0 << 30.0 << qint64(4);
        QTest::newRow("75/30 (half rounds to even, then up)") << 75.0 << 30.0 << qint64(3);
        QTest::newRow("5/60") << 5.0 << 60.0 << qint64(1);
        QTest::newRow("65/10") << 65.0 << 10.0 << qint64(7);
        QTest::newRow("55/10") << 55.0 << 10.0 << qint64(6);
        QTest::newRow("60/10") << 60.0 << 10.0 << qint64(6);
        QTest::newRow("3600/1") << 3600.0 << 1.0 << qint64(3600);
        QTest::newRow("10.5/1") << 10.5 << 1.0 << qint64(11);
        QTest::newRow("no interval length") << 600.0 << 0.0 << qint64(0);
    }
    void intervalCount() {
        QFETCH(double, duration);
        QFETCH(double, interval);
        QFETCH(qint64, count);
        QCOMPARE(intervalCountFor(duration, interval), count);
    }

    void clockText_data() {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("start") << qint64(0) << " 0:  0";
        QTest::newRow("7 s") << qint64(7) << " 0:  7";
        QTest::newRow("60 s") << qint64(60) << " 1:  0";
        QTest::newRow("754 s") << qint64(754) << " 12:  34";
        QTest::newRow("one hour") << qint64(3600) << " 60:  0";
    }
    void clockText() {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(clockTextFor(seconds / 60, seconds % 60), text);
    }

    void resetPreparesAFreshSession() {
        SessionRecord record = recordFor(QStringLiteral("abc"), 65, 10);
        record.countPress(2);
        record.appendEntry(QStringLiteral("b"));
        record.elapsedSeconds = 12;
        record.clockMinutes = 1;
        record.clockSeconds = 3;
        record.currentInterval = 2;
        record.clockText = QStringLiteral(" 1:  3");

        record.keysToHit = QStringLiteral("ab");
        record.reset();
        QCOMPARE(record.keyCount, 2);
        QCOMPARE(record.intervalCount, qint64(7));
        QCOMPARE(record.elapsedSeconds, qint64(0));
        QCOMPARE(record.clockMinutes, qint64(0));
        QCOMPARE(record.clockSeconds, qint64(0));
        QCOMPARE(record.clockText, QStringLiteral(" 0:  0"));
        QCOMPARE(record.currentInterval, qint64(1));
        QCOMPARE(record.nextEntry, qint64(1));
        QCOMPARE(record.entryCapacity, qint64(500));
        for (int slot = 0; slot <= 2; ++slot) {
            QCOMPARE(record.keyHits(slot), qint64(0));
            for (qint64 n = 1; n <= 7; ++n)
                QCOMPARE(record.intervalHits(slot, n), qint64(0));
        }
        QCOMPARE(record.entryEvent(1), QString());
        QCOMPARE(record.entryEvent(500), QString());
        // Nothing beyond the new session's slots and intervals exists.
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, record.intervalHits(3, 1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, record.intervalHits(1, 8));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, record.entryEvent(501));
    }

    void pressesCountPerSlotAndInterval() {
        SessionRecord record = recordFor(QStringLiteral("ab"), 30, 10);
        record.countPress(1);
        record.currentInterval = 3;
        record.countPress(1);
        record.countPress(2);
        QCOMPARE(record.keyHits(1), qint64(2));
        QCOMPARE(record.keyHits(2), qint64(1));
        QCOMPARE(record.intervalHits(1, 1), qint64(1));
        QCOMPARE(record.intervalHits(1, 2), qint64(0));
        QCOMPARE(record.intervalHits(1, 3), qint64(1));
        QCOMPARE(record.intervalHits(2, 3), qint64(1));
        QCOMPARE(record.keyHits(0), qint64(0));
    }

    void endEntryDoesNotAdvance() {
        SessionRecord record = recordFor(QStringLiteral("a"), 30, 10);
        record.appendEntry(QStringLiteral("a"));
        record.clockText = QStringLiteral(" 0:  30");
        record.writeEndEntry(kSessionFinished);
        QCOMPARE(record.nextEntry, qint64(2));
        QCOMPARE(record.entryTime(1), QStringLiteral(" 0:  0"));
        QCOMPARE(record.entryEvent(2), kSessionFinished);
        QCOMPARE(record.entryTime(2), QStringLiteral(" 0:  30"));
    }

    void logGrowsWhenFullAndKeepsRows_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<qint64>("capacity");
        QTest::newRow("498 entries") << 498 << qint64(500);
        QTest::newRow("499th entry") << 499 << qint64(600);
        QTest::newRow("598 entries") << 598 << qint64(600);
        QTest::newRow("599th entry") << 599 << qint64(700);
        QTest::newRow("an hour of auto-repeat") << 100000 << qint64(100100);
    }
    void logGrowsWhenFullAndKeepsRows() {
        QFETCH(int, entries);
        QFETCH(qint64, capacity);
        SessionRecord record = recordFor(QStringLiteral("a"), 3600, 1);
        for (int n = 1; n <= entries; ++n) {
            record.clockText = QString::number(n);
            record.appendEntry(QStringLiteral("a"));
            record.growLogIfFull();
        }
        QCOMPARE(record.entryCapacity, capacity);
        QCOMPARE(record.nextEntry, qint64(entries + 1));
        QVERIFY(record.nextEntry < record.entryCapacity);
        for (int n = 1; n <= entries; ++n) {
            if (record.entryTime(n) != QString::number(n))
                QFAIL(qPrintable(QStringLiteral("row %1 lost").arg(n)));
        }
        // The end entry always fits.
        record.writeEndEntry(kSessionFinished);
        QCOMPARE(record.entryEvent(entries + 1), kSessionFinished);
    }
};

QTEST_APPLESS_MAIN(TestSessionRecord)
#include "test_sessionrecord.moc"
