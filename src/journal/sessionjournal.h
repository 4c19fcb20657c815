#pragma once

#include "journal/journalstore.h"
#include "recording/sessionrecord.h"
#include "report/sessionsheet.h"

#include <QString>

#include <cstdint>

namespace quorvia {

// What is written to the journal when. The window's handlers call one of these after the rules
// have changed the record; without a store nothing is written. When a write fails, the session
// goes on in memory and nothing more of it is written.
class SessionJournal {
public:
    explicit SessionJournal(JournalStore* store)
        : store_(store) {}

    // The Start press: the record's parameters (the key slots' names and modes among them) and
    // the start stamp.
    void started(const SessionRecord& record, const QString& startedAt);
    // After a typed character was handled; shownRow is the row it was shown with. Writes the
    // entry the character made, if it made one (with the pause stamp for ESC).
    void keyHandled(const SessionRecord& record, std::int64_t shownRow, const QString& pauseStamp);
    // After a tick (the last one included), then makes the journal durable on disk.
    void ticked(const SessionRecord& record, const QString& stamp);
    void resumed(const SessionRecord& record);
    void terminated(const SessionRecord& record);

    // The session being journaled (or last journaled); 0 when none is.
    std::int64_t current() const { return session_; }
    // Deletes a session that was saved or given up.
    void remove(std::int64_t session);

    // True once after the end of a session that could not be journaled completely.
    bool takeUnprotectedNotice();

private:
    void write(const JournalEvent& event);
    void ended();

    JournalStore* store_;
    std::int64_t session_ = 0;
    bool failed_ = false;
    bool noticeDue_ = false;
};

// A journaled session rebuilt into the record and the window inputs its worksheet is built from.
// A session that was still recording or paused is closed as terminated at its last journaled
// second, its end stamp that of its last tick or pause (the start stamp when it had neither).
struct RebuiltSession {
    std::int64_t id = 0;
    SessionRecord record;
    SessionSheetInputs inputs;
};

// Throws std::out_of_range when the events do not fit the session.
RebuiltSession rebuildSession(const JournaledSession& session);

// The one message at start-up on a journal that was set aside or cannot be written; empty when
// there is nothing to say.
QString journalStatusMessage(const JournalStatus& status);

// The question asked at start-up for a session left in the journal.
QString recoveryQuestion(const RebuiltSession& session);

} // namespace quorvia
