#include "recording/sessionclock.h"

#include <QTest>

using namespace quorvia;

Q_DECLARE_METATYPE(Qt::CaseSensitivity)

namespace {

SessionRecord recording(double duration, double interval) {
    SessionRecord record;
    record.keysToHit = QStringLiteral("ab");
    record.sessionDuration = duration;
    record.intervalLength = interval;
    record.reset();
    record.state = SessionState::Recording;
    return record;
}

} // namespace

class TestSessionClock : public QObject {
    Q_OBJECT

private slots:
    // A whole session driven tick by tick: which ticks end an interval, which beep, on which tick
    // the session ends and what the clock and the log show then.
    void wholeSession_data() {
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("interval");
        QTest::addColumn<int>("beepOption");
        QTest::addColumn<QList<qint64>>("intervalEnds"); // elapsed seconds of the interval ends
        QTest::addColumn<bool>("beeps");                 // whether those ends beep
        QTest::addColumn<qint64>("lastTick");
        QTest::addColumn<qint64>("lastInterval");
        QTest::addColumn<QString>("lastClock");

        QTest::newRow("100 s / 30 s, beep on") << 100.0 << 30.0 << 1 << QList<qint64>{30, 60, 90}
                                               << true << qint64(100) << qint64(4) << " 1:  40";
        QList<qint64> every30To570;
        for (qint64 s = 30; s <= 570; s += 30)
            every30To570 << s;
        QTest::newRow("600 s / 30 s, beep on")
            << 600.0 << 30.0 << 1 << every30To570 << true << qint64(600) << qint64(20) << " 10:  0";
        QTest::newRow("beep option clear") << 100.0 << 30.0 << 0 << QList<qint64>{30, 60, 90}
                                           << false << qint64(100) << qint64(4) << " 1:  40";
        QTest::newRow("beep option grey (2)") << 100.0 << 30.0 << 2 << QList<qint64>{30, 60, 90}
                                              << false << qint64(100) << qint64(4) << " 1:  40";
        QTest::newRow("duration shorter than the interval")
            << 5.0 << 60.0 << 1 << QList<qint64>{} << true << qint64(5) << qint64(1) << " 0:  5";
        QTest::newRow("duration equal to the interval")
            << 30.0 << 30.0 << 1 << QList<qint64>{} << true << qint64(30) << qint64(1) << " 0:  30";
        QTest::newRow("10.5 s ends on the 11th tick")
            << 10.5 << 5.0 << 1 << QList<qint64>{5, 10} << true << qint64(11) << qint64(3)
            << " 0:  11";
        QTest::newRow("last tick rolls the minute over")
            << 60.0 << 20.0 << 1 << QList<qint64>{20, 40} << true << qint64(60) << qint64(3)
            << " 1:  0";
        QTest::newRow("7.5-s intervals never end")
            << 30.0 << 7.5 << 1 << QList<qint64>{} << true << qint64(30) << qint64(1) << " 0:  30";
    }
    void wholeSession() {
        QFETCH(double, duration);
        QFETCH(double, interval);
        QFETCH(int, beepOption);
        QFETCH(QList<qint64>, intervalEnds);
        QFETCH(bool, beeps);
        QFETCH(qint64, lastTick);
        QFETCH(qint64, lastInterval);
        QFETCH(QString, lastClock);

        SessionRecord record = recording(duration, interval);
        QList<qint64> ends;
        QList<qint64> beeped;
        qint64 ticks = 0;
        TickOutcome outcome;
        do {
            outcome = tick(record, beepOption);
            ++ticks;
            QCOMPARE(record.elapsedSeconds, ticks);
            if (outcome.intervalEnded)
                ends << ticks;
            if (outcome.beep)
                beeped << ticks;
            QVERIFY(!outcome.beep || outcome.intervalEnded);
            QVERIFY(record.currentInterval <= record.intervalCount);
            // Before the end, interval k runs while the clock shows (k-1)L .. kL-1.
            if (!outcome.finished && interval == std::floor(interval))
                QCOMPARE(record.currentInterval, ticks / qint64(interval) + 1);
        } while (!outcome.finished && ticks < 10000);

        QCOMPARE(ticks, lastTick);
        QCOMPARE(ends, intervalEnds);
        QCOMPARE(beeped, beeps ? intervalEnds : QList<qint64>{});
        QVERIFY(!outcome.intervalEnded); // the last tick ends no interval
        QCOMPARE(record.currentInterval, lastInterval);
        QCOMPARE(record.clockText, lastClock);
        QCOMPARE(record.state, SessionState::SavePending);
        // The end entry takes row nextEntry and leaves it there.
        QCOMPARE(record.nextEntry, qint64(1));
        QCOMPARE(record.entryTime(1), lastClock);
        QCOMPARE(record.entryEvent(1), kSessionFinished);
    }

    void clockAfterTicks_data() {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("clock");
        QTest::newRow("first tick") << 1 << " 0:  1";
        QTest::newRow("59") << 59 << " 0:  59";
        QTest::newRow("60") << 60 << " 1:  0";
        QTest::newRow("61") << 61 << " 1:  1";
        QTest::newRow("120") << 120 << " 2:  0";
        QTest::newRow("754") << 754 << " 12:  34";
        QTest::newRow("3599") << 3599 << " 59:  59";
    }
    void clockAfterTicks() {
        QFETCH(int, ticks);
        QFETCH(QString, clock);
        SessionRecord record = recording(3600, 60);
        for (int i = 0; i < ticks; ++i)
            QVERIFY(!tick(record, 0).finished);
        QCOMPARE(record.clockText, clock);
        QCOMPARE(record.clockMinutes * 60 + record.clockSeconds, qint64(ticks));
        QVERIFY(record.clockSeconds < 60);
    }

    void timeWithHundredths_data() {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("quarter second") << QTime(9, 5, 7, 250) << "hh:nn:ss"
                                        << "09:05:07.25";
        QTest::newRow(".999 is truncated, not carried") << QTime(9, 5, 7, 999) << "hh:nn:ss"
                                                        << "09:05:07.99";
        QTest::newRow(".996 stays in its second") << QTime(9, 5, 7, 996) << "hh:nn:ss"
                                                  << "09:05:07.99";
        QTest::newRow(".464") << QTime(14, 3, 27, 464) << "hh:nn:ss"
                              << "14:03:27.46";
        QTest::newRow("midnight") << QTime(0, 0, 0, 0) << "hh:nn:ss"
                                  << "00:00:00.00";
        QTest::newRow("a hundredth") << QTime(0, 0, 0, 10) << "hh:nn:ss"
                                     << "00:00:00.01";
        QTest::newRow("last moment of the day") << QTime(23, 59, 59, 999) << "hh:nn:ss"
                                                << "23:59:59.99";
        QTest::newRow("afternoon in 24 hours") << QTime(18, 0, 5, 0) << "hh:nn:ss"
                                               << "18:00:05.00";
        QTest::newRow("upper-case S") << QTime(9, 5, 7, 250) << "hh:nn:SS"
                                      << "09:05:07.25";
        QTest::newRow("text after the seconds") << QTime(9, 5, 7, 250) << "hh:nn:ss h"
                                                << "09:05:07.25 9";
        QTest::newRow("no seconds: no hundredths") << QTime(9, 5, 7, 250) << "hh:nn"
                                                   << "09:05";
        QTest::newRow("empty format") << QTime(9, 5, 7, 250) << ""
                                      << "";
    }
    void timeWithHundredths() {
        QFETCH(QTime, time);
        QFETCH(QString, format);
        QFETCH(QString, text);
        QCOMPARE(quorvia::timeWithHundredths(time, format), text);
    }

    void findLastOccurrence_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("start");
        QTest::addColumn<Qt::CaseSensitivity>("compare");
        QTest::addColumn<int>("position");
        const auto ci = Qt::CaseInsensitive;
        const auto cs = Qt::CaseSensitive;
        QTest::newRow("empty text") << ""
                                    << "s" << -1 << ci << -1;
        QTest::newRow("empty pattern") << "hh:nn:ss"
                                       << "" << -1 << ci << -1;
        QTest::newRow("both empty") << ""
                                    << "" << -1 << ci << -1;
        QTest::newRow("none") << "hh:nn"
                              << "s" << -1 << ci << 0;
        QTest::newRow("last of two") << "hh:nn:ss"
                                     << "s" << -1 << ci << 8;
        QTest::newRow("only one") << "s"
                                  << "s" << -1 << ci << 1;
        QTest::newRow("case-insensitive") << "hh:nn:sS"
                                          << "s" << -1 << ci << 8;
        QTest::newRow("case-sensitive") << "hh:nn:sS"
                                        << "s" << -1 << cs << 7;
        QTest::newRow("case-sensitive, none") << "HH:NN:SS"
                                              << "s" << -1 << cs << 0;
        QTest::newRow("longer pattern") << "abcabc"
                                        << "abc" << -1 << cs << 4;
        QTest::newRow("overlapping") << "aaa"
                                     << "aa" << -1 << cs << 2;
        QTest::newRow("start limits the last start") << "abcabc"
                                                     << "abc" << 5 << cs << 1;
        QTest::newRow("start at the end") << "abcabc"
                                          << "abc" << 6 << cs << 4;
        QTest::newRow("first lies beyond the start") << "xxabc"
                                                     << "abc" << 3 << cs << 0;
        QTest::newRow("pattern longer than text") << "ab"
                                                  << "abc" << -1 << cs << 0;
    }
    void findLastOccurrence() {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(int, start);
        QFETCH(Qt::CaseSensitivity, compare);
        QFETCH(int, position);
        QCOMPARE(quorvia::findLastOccurrence(text, pattern, start, compare), position);
    }
};

QTEST_APPLESS_MAIN(TestSessionClock)
#include "test_sessionclock.moc"
