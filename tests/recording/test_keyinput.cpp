#include "recording/keyinput.h"
#include "recording/sessionclock.h"
#include "support/records.h"

#include <QTest>

using namespace quorvia;

namespace {

const QString kEsc = keyText(kEscape);

SessionRecord recording(const QString& keys, double duration = 600, double interval = 30) {
    SessionRecord record = test::freshRecord(keys, duration, interval);
    record.state = SessionState::Recording;
    return record;
}

} // namespace

class TestKeyInput : public QObject {
    Q_OBJECT

private slots:
    // Keys "xyx" and ESC: x counts for its first slot only, an unbound character shows the next
    // row and makes none, a bound ESC counts instead of pausing, and each press counts in the
    // interval current when it is typed (0:29 in interval 1, 0:30 in interval 2).
    void typedCharacters() {
        SessionRecord record = recording("xyx" + kEsc, 100, 30);
        QList<int> slotsTaken;
        QList<qint64> shown;
        for (const QChar c : "xz" + QString(29, u'.') + "y." + kEsc + "x") {
            if (c == u'.') {
                tick(record, 0);
                continue;
            }
            const KeyOutcome outcome = handleKey(record, c.unicode());
            slotsTaken << outcome.slot;
            shown << outcome.entryShown;
        }
        QCOMPARE(slotsTaken, (QList<int>{1, 0, 2, 4, 1}));
        QCOMPARE(shown, (QList<qint64>{1, 2, 2, 3, 4}));
        QStringList log;
        for (qint64 n = 1; n < record.nextEntry; ++n)
            log << record.entryTime(n) + u'|' + record.entryEvent(n);
        QCOMPARE(log, (QStringList{" 0:  0|x", " 0:  29|y", " 0:  30|" + kEsc, " 0:  30|x"}));
        // None for slot 0 or the repeated x; y at 0:29 in interval 1, the second x in interval 2.
        QCOMPARE((QList<qint64>{record.keyHits(0), record.keyHits(3), record.intervalHits(2, 1),
                                record.intervalHits(1, 2)}),
                 (QList<qint64>{0, 0, 1, 1}));
        QCOMPARE(record.state, SessionState::Recording);
    }

    // The log grows by 100 rows within the press that writes row entryCapacity - 1, whatever kind
    // of entry it made; and an hour of key auto-repeat (100,000 entries) loses nothing: every
    // press is logged and counted in an interval.
    void logKeepsEveryEntry() {
        const QString keys = QStringLiteral("abc");
        SessionRecord record = recording(keys, 3600, 10);
        QList<qint64> capacity; // after entries 498, 499 (a pause), 598 and 599
        for (int n = 1; n <= 100000; ++n) {
            if (n % 28 == 0)
                tick(record, 0);
            handleKey(record, n == 499 ? kEscape : keys.at(n % 3).unicode());
            if (n == 498 || n == 499 || n == 598 || n == 599)
                capacity << record.entryCapacity;
        }
        QCOMPARE(capacity, (QList<qint64>{500, 600, 600, 700}));
        QCOMPARE(record.nextEntry, qint64(100001));
        int lost = 0;
        for (int n = 1; n <= 100000; ++n)
            lost += record.entryEvent(n) != (n == 499 ? kSessionPaused : QString(keys.at(n % 3)));
        QCOMPARE(lost, 0);
        qint64 counted = 0;
        for (qint64 k = 1; k <= record.intervalCount; ++k)
            for (int slot = 1; slot <= 3; ++slot)
                counted += record.intervalHits(slot, k);
        QCOMPARE(counted, qint64(99999));
        QCOMPARE(record.keyHits(1) + record.keyHits(2) + record.keyHits(3), qint64(99999));
    }

    // The duration over the interval length, rounded half to even, then up when that falls short.
    void intervalCount_data() {
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("interval");
        QTest::addColumn<qint64>("count");
        QTest::newRow("100/30") << 100.0 << 30.0 << qint64(4);
        QTest::newRow("75/30: half to even, then up") << 75.0 << 30.0 << qint64(3);
        QTest::newRow("5/60") << 5.0 << 60.0 << qint64(1);
        QTest::newRow("10.5/1") << 10.5 << 1.0 << qint64(11);
        QTest::newRow("no interval length") << 600.0 << 0.0 << qint64(0);
    }
    void intervalCount() {
        QFETCH(double, duration);
        QFETCH(double, interval);
        QFETCH(qint64, count);
        QCOMPARE(intervalCountFor(duration, interval), count);
    }
};

QTEST_APPLESS_MAIN(TestKeyInput)
#include "test_keyinput.moc"
