#include "recording/sessionclock.h"

#include <QTest>

using namespace quorvia;

class TestSessionClock : public QObject {
    Q_OBJECT

private slots:
    // The hundredths come from the same reading and are truncated, so a stamp never runs ahead.
    void timeWithHundredths_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow(".999 is truncated") << "hh:nn:ss" << QTime(9, 5, 7, 999) << "09:05:07.99";
        QTest::newRow("24-hour clock") << "hh:nn:ss" << QTime(14, 3, 27, 464) << "14:03:27.46";
        QTest::newRow("upper-case S") << "hh:nn:SS" << QTime(9, 5, 7, 250) << "09:05:07.25";
        QTest::newRow("after the last s") << "hh:nn:ss h" << QTime(9, 5, 7, 5) << "09:05:07.00 9";
    }
    void timeWithHundredths() {
        QFETCH(QString, format);
        QFETCH(QTime, time);
        QFETCH(QString, text);
        QCOMPARE(quorvia::timeWithHundredths(time, format), text);
    }
};

QTEST_APPLESS_MAIN(TestSessionClock)
#include "test_sessionclock.moc"
