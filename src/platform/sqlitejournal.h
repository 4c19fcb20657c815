#pragma once

#include "journal/journalstore.h"

#include <QString>

#include <memory>

class QSqlQuery;

namespace quorvia {

// The session journal in an SQLite database (Qt SQL's SQLite driver), in WAL mode with an
// exclusive lock: each write is one transaction, committed to the write-ahead log before it
// returns; sync() checkpoints the log into the database file with both synced to disk. Deleted
// sessions are overwritten (secure_delete) and the log is emptied after each deletion.
//
// The journal is the user's own: its folder is created with mode 0700 and the file with 0600,
// never through a symbolic link, and a folder of another account or writable by others, or a
// journal that is a link, has more than one hard link or belongs to another account, is not
// used at all.
class SqliteJournalStore final : public JournalStore {
public:
    // Opens the journal at path, or starts it. Only a damaged journal (not an SQLite database,
    // failing its integrity check, or with tables this program does not know) is set aside under
    // a time-stamped name beside it; a fresh one is started and takes over the sessions that can
    // still be read from it. A journal that cannot be written now (held by another process,
    // read-only, a full disk) is left as it is and its sessions are read without writing; the
    // open never waits more than a moment for another process's lock.
    explicit SqliteJournalStore(const QString& path = defaultPath());
    ~SqliteJournalStore() override;
    SqliteJournalStore(const SqliteJournalStore&) = delete;
    SqliteJournalStore& operator=(const SqliteJournalStore&) = delete;

    // journal.sqlite in the user's application data folder.
    static QString defaultPath();
    // Version of the tables, kept in the database's user_version.
    static constexpr int kSchemaVersion = 1;

    std::int64_t addSession(const JournalSessionStart& start) override;
    bool addEvent(std::int64_t session, const JournalEvent& event) override;
    bool sync() override;
    // A removal that fails (a full disk, a journal that cannot be written) leaves an empty file
    // journal.sqlite.removed-<id> beside the journal, which takes no room on a full disk: the
    // session is no longer offered, and its removal is retried with the next session and at the
    // next opening, before the sessions are read.
    bool removeSession(std::int64_t session) override;
    std::vector<JournaledSession> sessions() override;
    bool isOpen() const override { return open_; }
    JournalStatus status() const override { return status_; }

    // Seconds spent in the last sync(), for the benchmarks.
    double lastSyncSeconds() const { return lastSyncSeconds_; }

private:
    enum class Fault { None, Damaged, Unwritable };
    struct Outcome {
        Fault fault = Fault::None;
        QString reason;
    };
    // fileOnly: the file as it is, without its log and without locking.
    Outcome open(bool readOnly, bool fileOnly = false);
    Outcome fault(const QSqlQuery& failed) const;
    void close();
    void setAside(const QString& reason);
    bool exec(const QString& statement);
    std::int64_t insertSession(const JournalSessionStart& start);
    bool copy(const JournaledSession& session);
    void retryRemovals();
    QString removalMark(std::int64_t session) const;

    QString path_;
    QString connection_;
    JournalStatus status_;
    bool own_ = false; // the folder and the file were found the user's own
    bool open_ = false;
    bool readable_ = false;
    std::vector<std::int64_t> pendingRemovals_;
    std::vector<JournaledSession> salvaged_; // read from a set-aside journal, kept in memory
    std::unique_ptr<QSqlQuery> insertEvent_;
    double lastSyncSeconds_ = 0;
};

} // namespace quorvia
