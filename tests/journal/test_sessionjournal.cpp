// The journal's rules against a store in memory: no window, no SQLite.
#include "journal/sessionjournal.h"
#include "recording/keyinput.h"
#include "recording/sessionclock.h"
#include "support/records.h"

#include <QTest>

using namespace quorvia;

namespace {

class MemoryStore final : public JournalStore {
public:
    std::vector<JournaledSession> stored;
    int writesLeft = 1 << 30; // writes that succeed; then every write fails
    std::int64_t addSession(const JournalSessionStart& start) override {
        if (writesLeft-- <= 0)
            return 0;
        stored.push_back({std::int64_t(stored.size()) + 1, start, {}});
        return stored.back().id;
    }
    bool addEvent(std::int64_t session, const JournalEvent& event) override {
        if (writesLeft-- <= 0)
            return false;
        stored.at(std::size_t(session - 1)).events.push_back(event);
        return true;
    }
    bool sync() override { return writesLeft > 0; }
    bool removeSession(std::int64_t) override { return true; }
    std::vector<JournaledSession> sessions() override { return stored; }
    bool isOpen() const override { return true; }
    JournalStatus status() const override { return {}; }
};

// Keys "ab" (b On/Off), 100 s in 10-s intervals; '.' ticks a second (not while paused), 'E'
// pauses, 'R' resumes, 'T' terminates, any other character is typed. A session not terminated is
// left as the program would leave it when killed.
SessionRecord run(SessionJournal& journal, const QString& script) {
    SessionRecord record = test::freshRecord(QStringLiteral("ab"), 100, 10);
    record.state = SessionState::Recording;
    record.slotSetups = {{"hand", 0}, {"seat", 1}};
    journal.started(record, "08:30:15.99");
    for (const QChar c : script) {
        if (c == u'.' && record.state == SessionState::Recording) {
            tick(record, 0);
            journal.ticked(record, "08:30:16.99");
        } else if (c == u'R') {
            journal.resumed(record);
            record.state = SessionState::Recording;
        } else if (c == u'T') {
            record.writeEndEntry(kSessionTerminated);
            record.state = SessionState::SavePending;
            journal.terminated(record);
        } else if (c != u'.') {
            const KeyOutcome outcome = handleKey(record, c == u'E' ? char32_t(27) : c.unicode());
            journal.keyHandled(record, outcome.entryShown, "08:30:17.99");
        }
    }
    return record;
}

} // namespace

class TestSessionJournal : public QObject {
    Q_OBJECT

private slots:
    // The rebuild gives the live record's log and counts, closed as terminated, and ends at the
    // last tick or pause, or at the start when it had neither.
    void rebuildGivesTheLiveRecord_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("endedAt");
        const QString start = "08:30:15.99", tick = "08:30:16.99", pause = "08:30:17.99";
        QTest::newRow("paused, resumed, killed recording") << "ab.a.Eb.Rab..b" << tick;
        QTest::newRow("terminated") << "a.b.E.RaE.T" << pause;
        QTest::newRow("paused, then killed") << "a.b..a.E" << pause;
        QTest::newRow("killed in second 0") << "" << start;
    }
    void rebuildGivesTheLiveRecord() {
        QFETCH(QString, script);
        QFETCH(QString, endedAt);
        MemoryStore store;
        SessionJournal journal(&store);
        SessionRecord live = run(journal, script);
        const RebuiltSession rebuilt = rebuildSession(store.sessions().at(0));
        if (live.state != SessionState::SavePending)
            live.writeEndEntry(kSessionTerminated);
        QCOMPARE(rebuilt.record.nextEntry, live.nextEntry);
        for (std::int64_t row = 1; row <= live.nextEntry; ++row) {
            QCOMPARE(rebuilt.record.entryEvent(row), live.entryEvent(row));
            QCOMPARE(rebuilt.record.entryTime(row), live.entryTime(row));
        }
        QCOMPARE(rebuilt.record.elapsedSeconds, live.elapsedSeconds);
        for (int slot = 1; slot <= 2; ++slot)
            QCOMPARE(rebuilt.record.keyHits(slot), live.keyHits(slot));
        QVERIFY(rebuilt.record.slotSetups == live.slotSetups);
        QVERIFY(rebuilt.inputs.slotControls == live.slotSetups);
        QCOMPARE(rebuilt.inputs.startedAt, QStringLiteral("08:30:15.99"));
        QCOMPARE(rebuilt.inputs.endedAt, endedAt);
    }

    // After a failed write nothing more is written, and the end of the session says so once.
    void failedWriteStopsTheJournal() {
        MemoryStore store;
        store.writesLeft = 3;
        SessionJournal journal(&store);
        SessionRecord record = run(journal, "abab..");
        QCOMPARE(store.stored.at(0).events.size(), 2u);
        QVERIFY(!journal.takeUnprotectedNotice()); // not before the end
        record.writeEndEntry(kSessionTerminated);
        journal.terminated(record);
        QVERIFY(journal.takeUnprotectedNotice());
        QVERIFY(!journal.takeUnprotectedNotice());
    }
};

QTEST_APPLESS_MAIN(TestSessionJournal)
#include "test_sessionjournal.moc"
