#include "recording/keyinput.h"
#include "recording/sessionclock.h"

#include <QTest>

using namespace quorvia;

namespace {

const QChar kEsc(kEscape);

SessionRecord recording(const QString& keys, double duration = 600, double interval = 30) {
    SessionRecord record;
    record.keysToHit = keys;
    record.sessionDuration = duration;
    record.intervalLength = interval;
    record.reset();
    record.state = SessionState::Recording;
    return record;
}

void ticks(SessionRecord& record, int count) {
    for (int i = 0; i < count; ++i)
        tick(record, 0);
}

} // namespace

class TestKeyInput : public QObject {
    Q_OBJECT

private slots:
    void firstBoundKeyAt3Seconds() {
        SessionRecord record = recording(QStringLiteral("ab"));
        ticks(record, 3);
        const KeyOutcome outcome = handleKey(record, u'a');
        QCOMPARE(outcome.entryShown, qint64(1));
        QCOMPARE(outcome.slot, 1);
        QVERIFY(!outcome.paused);
        QCOMPARE(record.lastKeySlot, 1);
        QCOMPARE(record.entryTime(1), QStringLiteral(" 0:  3"));
        QCOMPARE(record.entryEvent(1), QStringLiteral("a"));
        QCOMPARE(record.keyHits(1), qint64(1));
        QCOMPARE(record.intervalHits(1, 1), qint64(1));
        QCOMPARE(record.nextEntry, qint64(2));
        QCOMPARE(record.state, SessionState::Recording);
    }

    // Characters that are bound to no slot: shown with the number the next entry will take, never
    // counted, never logged.
    void unboundCharacters_data() {
        QTest::addColumn<QChar>("c");
        QTest::newRow("other letter") << QChar(u'x');
        QTest::newRow("upper case of a bound key") << QChar(u'A');
        QTest::newRow("digit") << QChar(u'1');
        QTest::newRow("blank") << QChar(u' ');
        QTest::newRow("control character") << QChar(1);
    }
    void unboundCharacters() {
        QFETCH(QChar, c);
        SessionRecord record = recording(QStringLiteral("ab"));
        handleKey(record, u'a');
        handleKey(record, u'b');
        const KeyOutcome outcome = handleKey(record, c);
        QCOMPARE(outcome.entryShown, qint64(3));
        QCOMPARE(outcome.slot, 0);
        QVERIFY(!outcome.paused);
        QCOMPARE(record.lastKeySlot, 0);
        QCOMPARE(record.nextEntry, qint64(3));
        QCOMPARE(record.entryEvent(3), QString());
        QCOMPARE(record.keyHits(0), qint64(0));
        QCOMPARE(record.intervalHits(0, 1), qint64(0));
        QCOMPARE(record.keyHits(1) + record.keyHits(2), qint64(2));
        QCOMPARE(record.state, SessionState::Recording);
        // The next bound key takes the row that was shown.
        QCOMPARE(handleKey(record, u'b').entryShown, qint64(3));
        QCOMPARE(record.entryEvent(3), QStringLiteral("b"));
    }

    void boundKeysAreCaseSensitive() {
        SessionRecord record = recording(QStringLiteral("aA"));
        QCOMPARE(handleKey(record, u'A').slot, 2);
        QCOMPARE(handleKey(record, u'a').slot, 1);
        QCOMPARE(record.keyHits(1), qint64(1));
        QCOMPARE(record.keyHits(2), qint64(1));
        QCOMPARE(record.entryEvent(1), QStringLiteral("A"));
        QCOMPARE(record.entryEvent(2), QStringLiteral("a"));
    }

    void repeatedKeyCountsForTheFirstSlot() {
        SessionRecord record = recording(QStringLiteral("xyx"));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(handleKey(record, u'x').slot, 1);
        QCOMPARE(record.keyHits(1), qint64(4));
        QCOMPARE(record.keyHits(3), qint64(0));
        QCOMPARE(record.intervalHits(3, 1), qint64(0));
    }

    void pressesCountInTheRunningInterval() {
        SessionRecord record = recording(QStringLiteral("a"), 100, 30);
        ticks(record, 29);
        handleKey(record, u'a'); // shown at 0:29, last second of interval 1
        ticks(record, 1);
        handleKey(record, u'a'); // 0:30, first second of interval 2
        handleKey(record, u'a');
        ticks(record, 60);
        handleKey(record, u'a'); // 1:30, interval 4
        QCOMPARE(record.intervalHits(1, 1), qint64(1));
        QCOMPARE(record.intervalHits(1, 2), qint64(2));
        QCOMPARE(record.intervalHits(1, 3), qint64(0));
        QCOMPARE(record.intervalHits(1, 4), qint64(1));
        QCOMPARE(record.entryTime(1), QStringLiteral(" 0:  29"));
        QCOMPARE(record.entryTime(2), QStringLiteral(" 0:  30"));
        QCOMPARE(record.entryTime(4), QStringLiteral(" 1:  30"));
    }

    void escapeAt29PausesAsTheFourthEvent() {
        SessionRecord record = recording(QStringLiteral("ab"));
        handleKey(record, u'a');
        handleKey(record, u'b');
        ticks(record, 29);
        handleKey(record, u'a');
        const KeyOutcome outcome = handleKey(record, kEsc);
        QVERIFY(outcome.paused);
        QCOMPARE(outcome.slot, 0);
        QCOMPARE(outcome.entryShown, qint64(4));
        QCOMPARE(record.entryTime(4), QStringLiteral(" 0:  29"));
        QCOMPARE(record.entryEvent(4), kSessionPaused);
        QCOMPARE(record.nextEntry, qint64(5));
        QCOMPARE(record.state, SessionState::Paused);
        QCOMPARE(record.keyHits(0), qint64(0));
    }

    void boundEscapeCountsInsteadOfPausing() {
        SessionRecord record = recording(QStringLiteral("a") + kEsc);
        const KeyOutcome outcome = handleKey(record, kEsc);
        QVERIFY(!outcome.paused);
        QCOMPARE(outcome.slot, 2);
        QCOMPARE(record.entryEvent(1), QString(kEsc));
        QCOMPARE(record.state, SessionState::Recording);
    }

    void onOffToggles_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("after");
        QTest::newRow("On") << "On"
                            << "Off";
        QTest::newRow("Off") << "Off"
                             << "On";
        QTest::newRow("set-up caption") << "On/Off"
                                        << "On";
        QTest::newRow("placeholder") << "gomi"
                                     << "On";
        QTest::newRow("other case is not On") << "on"
                                              << "On";
        QTest::newRow("empty") << ""
                               << "On";
    }
    void onOffToggles() {
        QFETCH(QString, caption);
        QFETCH(QString, after);
        QCOMPARE(toggledOnOff(caption), after);
    }

    void onOffSlotPressedThreeTimes() {
        QString caption = QStringLiteral("Off"); // as key set-up leaves an On/Off slot
        QStringList shown;
        SessionRecord record = recording(QStringLiteral("a"));
        for (int i = 0; i < 3; ++i) {
            handleKey(record, u'a');
            caption = toggledOnOff(caption);
            shown << caption;
        }
        QCOMPARE(shown, QStringList({"On", "Off", "On"}));
        QCOMPARE(record.keyHits(1), qint64(3));
    }

    // The log grows by 100 rows within the press that fills row entryCapacity - 1, whatever kind
    // of entry that press made.
    void logGrowsInTheSamePress_data() {
        QTest::addColumn<QChar>("last");
        QTest::newRow("key entry") << QChar(u'a');
        QTest::newRow("pause entry") << kEsc;
    }
    void logGrowsInTheSamePress() {
        QFETCH(QChar, last);
        SessionRecord record = recording(QStringLiteral("ab"));
        for (int n = 1; n <= 498; ++n) {
            if (n % 10 == 0)
                tick(record, 0);
            handleKey(record, n % 2 ? u'a' : u'b');
            handleKey(record, u'z'); // unbound characters in between change nothing
        }
        QCOMPARE(record.entryCapacity, qint64(500));
        QCOMPARE(record.nextEntry, qint64(499));
        handleKey(record, last);
        QCOMPARE(record.nextEntry, qint64(500));
        QCOMPARE(record.entryCapacity, qint64(600));
        QCOMPARE(record.entryEvent(499), last == kEsc ? kSessionPaused : QString(last));
        QCOMPARE(record.entryEvent(500), QString());
        QCOMPARE(record.entryEvent(600), QString());
        for (int n = 1; n <= 498; ++n) {
            const QString event = QString(QChar(n % 2 ? u'a' : u'b'));
            const QString time = QStringLiteral(" 0:  %1").arg(n / 10);
            if (record.entryEvent(n) != event || record.entryTime(n) != time)
                QFAIL(qPrintable(QStringLiteral("row %1 changed").arg(n)));
        }
    }

    // An hour of key auto-repeat: every press is counted and logged, and the tallies agree with
    // the log.
    void anHourOfAutoRepeat() {
        const QString keys = QStringLiteral("abc");
        SessionRecord record = recording(keys, 3600, 10);
        constexpr int kPresses = 100000;
        for (int n = 0; n < kPresses; ++n) {
            if (n % 28 == 27)
                QVERIFY(!tick(record, 0).finished);
            handleKey(record, keys.at(n % 3));
        }
        QCOMPARE(record.nextEntry, qint64(kPresses + 1));
        QVERIFY(record.nextEntry < record.entryCapacity);
        std::array<qint64, 4> logged{};
        for (qint64 row = 1; row <= kPresses; ++row) {
            const qsizetype slot = keys.indexOf(record.entryEvent(row)) + 1;
            if (slot < 1)
                QFAIL(qPrintable(QStringLiteral("row %1 lost").arg(row)));
            ++logged[static_cast<std::size_t>(slot)];
        }
        qint64 total = 0;
        for (int slot = 1; slot <= 3; ++slot) {
            qint64 perInterval = 0;
            for (qint64 k = 1; k <= record.intervalCount; ++k)
                perInterval += record.intervalHits(slot, k);
            QCOMPARE(perInterval, record.keyHits(slot));
            QCOMPARE(logged[static_cast<std::size_t>(slot)], record.keyHits(slot));
            total += record.keyHits(slot);
        }
        QCOMPARE(total, qint64(kPresses));
        QCOMPARE(record.keyHits(1), qint64(33334));
        // The session still ends with its end entry after the last key entry.
        while (!tick(record, 0).finished) {
        }
        QCOMPARE(record.entryEvent(kPresses + 1), kSessionFinished);
        QCOMPARE(record.entryTime(kPresses + 1), QStringLiteral(" 60:  0"));
    }
};

QTEST_APPLESS_MAIN(TestKeyInput)
#include "test_keyinput.moc"
