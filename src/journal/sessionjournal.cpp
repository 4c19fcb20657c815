#include "journal/sessionjournal.h"

#include "recording/sessionclock.h"

#include <QDir>

#include <stdexcept>

namespace quorvia {

namespace {

JournalEvent eventOf(const SessionRecord& record, JournalEventKind kind, std::int64_t row) {
    JournalEvent event;
    event.kind = kind;
    event.row = row;
    event.elapsed = record.elapsedSeconds;
    event.interval = record.currentInterval;
    event.clock = record.clockText;
    if (row > 0)
        event.text = record.entryEvent(row);
    return event;
}

} // namespace

void SessionJournal::started(const SessionRecord& record, const QString& startedAt) {
    session_ = 0;
    failed_ = false;
    noticeDue_ = false;
    if (store_ == nullptr)
        return;
    const JournalSessionStart start{record.parameters(), startedAt};
    session_ = store_->addSession(start);
    failed_ = session_ == 0 || !store_->sync();
}

void SessionJournal::write(const JournalEvent& event) {
    if (store_ == nullptr || failed_)
        return;
    failed_ = !store_->addEvent(session_, event);
}

void SessionJournal::keyHandled(const SessionRecord& record, std::int64_t shownRow,
                                const QString& pauseStamp) {
    if (store_ == nullptr || failed_ || record.nextEntry == shownRow)
        return; // nothing to write, or the character made no entry
    const bool paused =
        record.state == SessionState::Paused && record.entryEvent(shownRow) == kSessionPaused;
    JournalEvent event =
        eventOf(record, paused ? JournalEventKind::Pause : JournalEventKind::Entry, shownRow);
    if (paused)
        event.stamp = pauseStamp;
    else
        event.slot = record.lastKeySlot;
    write(event);
}

void SessionJournal::ticked(const SessionRecord& record, const QString& stamp) {
    const bool finished = record.state == SessionState::SavePending;
    JournalEvent event =
        eventOf(record, finished ? JournalEventKind::Finish : JournalEventKind::Tick,
                finished ? record.nextEntry : 0);
    event.stamp = stamp;
    write(event);
    if (store_ != nullptr && !failed_)
        failed_ = !store_->sync();
    if (finished)
        ended();
}

void SessionJournal::resumed(const SessionRecord& record) {
    write(eventOf(record, JournalEventKind::Resume, 0));
}

void SessionJournal::terminated(const SessionRecord& record) {
    write(eventOf(record, JournalEventKind::Terminate, record.nextEntry));
    if (store_ != nullptr && !failed_)
        failed_ = !store_->sync();
    ended();
}

void SessionJournal::ended() {
    noticeDue_ = store_ != nullptr && failed_;
}

bool SessionJournal::takeUnprotectedNotice() {
    const bool due = noticeDue_;
    noticeDue_ = false;
    return due;
}

void SessionJournal::remove(std::int64_t session) {
    if (store_ != nullptr && session > 0)
        store_->removeSession(session);
}

RebuiltSession rebuildSession(const JournaledSession& session) {
    RebuiltSession rebuilt;
    rebuilt.id = session.id;
    const JournalSessionStart& start = session.start;
    SessionRecord& r = rebuilt.record;
    r.parameters() = start.parameters();
    r.reset();
    r.state = SessionState::Recording;
    rebuilt.inputs.slotControls = start.slotSetups;
    rebuilt.inputs.startedAt = start.startedAt;
    QString lastStamp = start.startedAt;

    // The events are replayed through the same rules that wrote the live record.
    for (const JournalEvent& e : session.events) {
        const bool ended = r.state == SessionState::SavePending;
        const bool writesRow = e.kind == JournalEventKind::Entry ||
                               e.kind == JournalEventKind::Pause ||
                               e.kind == JournalEventKind::Terminate;
        if (ended || (writesRow && e.row != r.nextEntry))
            throw std::out_of_range("journal event out of order");
        switch (e.kind) {
        case JournalEventKind::Entry:
            r.lastKeySlot = e.slot;
            if (e.slot > 0)
                r.countPress(e.slot);
            r.appendEntry(e.text);
            r.growLogIfFull();
            break;
        case JournalEventKind::Pause:
            r.state = SessionState::Paused;
            r.appendEntry(kSessionPaused);
            r.growLogIfFull();
            lastStamp = e.stamp;
            break;
        case JournalEventKind::Resume:
            r.state = SessionState::Recording;
            break;
        case JournalEventKind::Tick:
        case JournalEventKind::Finish:
            tick(r, 0);
            if ((e.kind == JournalEventKind::Finish) != (r.state == SessionState::SavePending) ||
                r.elapsedSeconds != e.elapsed)
                throw std::out_of_range("journal tick out of step");
            lastStamp = e.stamp;
            break;
        case JournalEventKind::Terminate:
            r.writeEndEntry(kSessionTerminated);
            r.state = SessionState::SavePending;
            break;
        }
    }
    if (r.state != SessionState::SavePending) {
        r.writeEndEntry(kSessionTerminated);
        r.state = SessionState::SavePending;
    }
    rebuilt.inputs.endedAt = lastStamp;
    return rebuilt;
}

QString journalStatusMessage(const JournalStatus& status) {
    const QString unprotected =
        QStringLiteral("Sessions are not protected against a crash until they are saved.");
    if (status.setAside.isEmpty())
        return status.unwritable.isEmpty()
                   ? QString()
                   : QStringLiteral("The session journal cannot be written:\r\n%1\r\n%2.\r\n%3")
                         .arg(QDir::toNativeSeparators(status.path), status.unwritable,
                              unprotected);
    const QString setAside =
        QStringLiteral("The session journal could not be read and was set aside as\r\n%1\r\n%2.")
            .arg(QDir::toNativeSeparators(status.setAside), status.setAsideReason);
    if (status.unwritable.isEmpty())
        return setAside + QStringLiteral("\r\nA new journal has been started.");
    return setAside + QStringLiteral("\r\nA new journal cannot be written: %1.\r\n%2")
                          .arg(status.unwritable, unprotected);
}

QString recoveryQuestion(const RebuiltSession& session) {
    const SessionRecord& r = session.record;
    const QString recorded = QStringLiteral("%1:%2")
                                 .arg(r.elapsedSeconds / 60)
                                 .arg(r.elapsedSeconds % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("A session was not saved:\r\n%1, session %2, %3, %4, %5 %6, %7 "
                          "recorded.\r\nShow it now?")
        .arg(r.participantId, QString::number(r.sessionNumber), r.condition, r.observerId,
             r.sessionDate, session.inputs.startedAt.left(8), recorded);
}

} // namespace quorvia
