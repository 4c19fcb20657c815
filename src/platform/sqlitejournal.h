#pragma once

#include "journal/journalstore.h"

#include <QString>

#include <memory>

class QSqlQuery;

namespace quorvia {

// The session journal in an SQLite database (Qt SQL's SQLite driver), in WAL mode with an
// exclusive lock: each write is one transaction, committed to the write-ahead log before it
// returns; sync() checkpoints the log into the database file with both synced to disk. The
// folder is created with mode 0700 and the file with 0600. Deleted sessions are overwritten
// (secure_delete) and the log is emptied after each deletion.
class SqliteJournalStore final : public JournalStore {
public:
    // Opens the journal at path, or starts it. A journal that cannot be opened, read or written
    // (not SQLite, torn, a newer or foreign schema, a read-only file) is set aside under a
    // time-stamped name beside it and a fresh one is started.
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
    bool removeSession(std::int64_t session) override;
    std::vector<JournaledSession> sessions() override;
    bool isOpen() const override { return open_; }
    QString setAsidePath() const override { return setAside_; }

    // Seconds spent in the last sync(), for the benchmarks.
    double lastSyncSeconds() const { return lastSyncSeconds_; }

private:
    bool open();
    void close();
    bool exec(const QString& statement);

    QString path_;
    QString connection_;
    QString setAside_;
    bool open_ = false;
    std::unique_ptr<QSqlQuery> insertEvent_;
    double lastSyncSeconds_ = 0;
};

} // namespace quorvia
