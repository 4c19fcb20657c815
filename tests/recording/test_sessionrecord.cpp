#include "recording/sessionrecord.h"

#include <QTest>

using namespace quorvia;

class TestSessionRecord : public QObject {
    Q_OBJECT

private slots:
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

QTEST_APPLESS_MAIN(TestSessionRecord)
#include "test_sessionrecord.moc"
