#pragma once

#include "journal/journalevents.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace quorvia {

// How the journal stood once it was opened. Reasons are sentences without the full stop.
struct JournalStatus {
    QString path;           // the journal file
    QString setAside;       // where a damaged journal found there was moved; empty when none was
    QString setAsideReason; // why it was ("It is not an SQLite database")
    QString unwritable;     // why the journal cannot be written; empty when it can
};

// The journal of the running session on disk. Each write has been committed when it returns
// true, so that it survives the end of the process; sync() makes it survive a power cut as well.
class JournalStore {
public:
    virtual ~JournalStore() = default;
    // A new session; its id, or 0 when it could not be written.
    virtual std::int64_t addSession(const JournalSessionStart& start) = 0;
    virtual bool addEvent(std::int64_t session, const JournalEvent& event) = 0;
    virtual bool sync() = 0;
    // Deletes the session, overwriting what it held.
    virtual bool removeSession(std::int64_t session) = 0;
    // The sessions in the journal, oldest first.
    virtual std::vector<JournaledSession> sessions() = 0;
    // Whether the journal can be written at all.
    virtual bool isOpen() const = 0;
    virtual JournalStatus status() const = 0;
};

} // namespace quorvia
