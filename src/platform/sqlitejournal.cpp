#include "platform/sqlitejournal.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>
#include <map>

namespace quorvia {

namespace {

// The tables of schema version kSchemaVersion. A session is its row in `session`, its slots and
// its events in the order of their ids. An empty text is stored as NULL.
const char* const kSchema[] = {
    "CREATE TABLE session (id INTEGER PRIMARY KEY, participant TEXT, "
    "session_number INTEGER NOT NULL, condition TEXT, observer TEXT, "
    "session_date TEXT, keys TEXT, interval_length REAL NOT NULL, "
    "session_duration REAL NOT NULL, started_at TEXT)",
    "CREATE TABLE slot (session INTEGER NOT NULL, slot INTEGER NOT NULL, "
    "behaviour TEXT, check_value INTEGER NOT NULL, PRIMARY KEY (session, slot))",
    "CREATE TABLE event (id INTEGER PRIMARY KEY, session INTEGER NOT NULL, "
    "kind INTEGER NOT NULL, entry_row INTEGER NOT NULL, slot INTEGER NOT NULL, "
    "elapsed INTEGER NOT NULL, interval_no INTEGER NOT NULL, clock TEXT, "
    "text TEXT, stamp TEXT)",
};

constexpr auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString uniqueConnectionName() {
    static std::atomic<int> next{0};
    return QStringLiteral("quorvia-journal-%1").arg(next++);
}

// A name beside path that is not taken yet, with the time of day in it.
QString setAsideName(const QString& path) {
    const QString base = path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + QStringLiteral("-wal"));
         ++n)
        name = base + QStringLiteral("-%1").arg(n);
    return name;
}

} // namespace

QString SqliteJournalStore::defaultPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("journal.sqlite"));
}

SqliteJournalStore::SqliteJournalStore(const QString& path)
    : path_(path)
    , connection_(uniqueConnectionName()) {
    if (open())
        return;
    close();
    if (!QFileInfo::exists(path_))
        return; // nothing to set aside: the folder or the disk cannot be written
    const QString aside = setAsideName(path_);
    if (!QFile::rename(path_, aside))
        return;
    for (const char* suffix : {"-wal", "-shm"})
        if (QFileInfo::exists(path_ + suffix))
            QFile::rename(path_ + suffix, aside + suffix);
    setAside_ = aside;
    if (!open())
        close();
}

SqliteJournalStore::~SqliteJournalStore() {
    close();
}

void SqliteJournalStore::close() {
    open_ = false;
    insertEvent_.reset();
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool SqliteJournalStore::exec(const QString& statement) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    return query.exec(statement);
}

bool SqliteJournalStore::open() {
    // The folder and the file are the user's alone.
    const QFileInfo file(path_);
    QDir folder = file.absoluteDir();
    if (!folder.exists() && !QDir().mkpath(folder.absolutePath()))
        return false;
    QFile::setPermissions(folder.absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!file.exists()) {
        QFile created(path_);
        if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly))
            return false;
    }
    QFile::setPermissions(path_, kOwnerOnly);

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path_);
    if (!db.open())
        return false;
    // The exclusive lock comes first, so that the log needs no shared-memory index; presses
    // never checkpoint, the tick does.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")) ||
        !query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !query.next() ||
        query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return false;
    for (const char* pragma :
         {"PRAGMA synchronous=NORMAL", "PRAGMA wal_autocheckpoint=0", "PRAGMA secure_delete=ON"})
        if (!query.exec(QLatin1String(pragma)))
            return false;

    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return false;
    const int version = query.value(0).toInt();
    if (version == 0) {
        // A new journal, unless the file holds tables of something else.
        if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next() ||
            query.value(0).toInt() != 0 || !db.transaction())
            return false;
        bool created = true;
        for (const char* statement : kSchema)
            created = created && query.exec(QLatin1String(statement));
        created =
            created && query.exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
        if (!created || !db.commit()) {
            db.rollback();
            return false;
        }
    } else if (version != kSchemaVersion) {
        return false;
    }
    // Every page readable and well formed, and the file writable.
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next() ||
        query.value(0).toString() != QLatin1String("ok") || query.next())
        return false;
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")) || !query.exec(QStringLiteral("COMMIT")))
        return false;

    insertEvent_ = std::make_unique<QSqlQuery>(db);
    if (!insertEvent_->prepare(
            QStringLiteral("INSERT INTO event (session, kind, entry_row, slot, elapsed, "
                           "interval_no, clock, text, stamp) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")))
        return false;
    open_ = true;
    return true;
}

std::int64_t SqliteJournalStore::addSession(const JournalSessionStart& start) {
    if (!open_)
        return 0;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return 0;
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "INSERT INTO session (participant, session_number, condition, observer, session_date, "
        "keys, interval_length, session_duration, started_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant& value :
         {QVariant(start.participantId), QVariant(int(start.sessionNumber)),
          QVariant(start.condition), QVariant(start.observerId), QVariant(start.sessionDate),
          QVariant(start.keysToHit), QVariant(start.intervalLength),
          QVariant(start.sessionDuration), QVariant(start.startedAt)})
        query.addBindValue(value);
    bool written = query.exec();
    const std::int64_t id = query.lastInsertId().toLongLong();
    query.prepare(QStringLiteral(
        "INSERT INTO slot (session, slot, behaviour, check_value) VALUES (?, ?, ?, ?)"));
    int slot = 1;
    for (const JournalSlot& s : start.keySlots) {
        query.addBindValue(QVariant(qint64(id)));
        query.addBindValue(slot++);
        query.addBindValue(s.behaviour);
        query.addBindValue(s.checkValue);
        written = written && query.exec();
    }
    if (!written || !db.commit()) {
        db.rollback();
        return 0;
    }
    return id;
}

bool SqliteJournalStore::addEvent(std::int64_t session, const JournalEvent& event) {
    if (!open_)
        return false;
    QSqlQuery& q = *insertEvent_;
    q.bindValue(0, QVariant(qint64(session)));
    q.bindValue(1, static_cast<int>(event.kind));
    q.bindValue(2, QVariant(qint64(event.row)));
    q.bindValue(3, event.slot);
    q.bindValue(4, QVariant(qint64(event.elapsed)));
    q.bindValue(5, QVariant(qint64(event.interval)));
    q.bindValue(6, event.clock);
    q.bindValue(7, event.text);
    q.bindValue(8, event.stamp);
    return q.exec();
}

bool SqliteJournalStore::sync() {
    if (!open_)
        return false;
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    // The checkpoint syncs the log, copies it into the file and syncs that. The first write
    // after it starts the log afresh and syncs the log's header: that write is made here, so
    // that the next key press does not wait for the disk.
    const bool synced = query.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)")) &&
                        query.next() && query.value(0).toInt() == 0 &&
                        query.exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
    lastSyncSeconds_ = double(timer.nsecsElapsed()) / 1e9;
    return synced;
}

bool SqliteJournalStore::removeSession(std::int64_t session) {
    if (!open_)
        return false;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return false;
    QSqlQuery query(db);
    bool removed = true;
    for (const char* statement :
         {"DELETE FROM event WHERE session = ?", "DELETE FROM slot WHERE session = ?",
          "DELETE FROM session WHERE id = ?"}) {
        query.prepare(QLatin1String(statement));
        query.addBindValue(QVariant(qint64(session)));
        removed = removed && query.exec();
    }
    if (!removed || !db.commit()) {
        db.rollback();
        return false;
    }
    // The log still holds the deleted rows: move everything into the file and empty it.
    return exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

std::vector<JournaledSession> SqliteJournalStore::sessions() {
    std::vector<JournaledSession> out;
    if (!open_)
        return out;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    std::map<std::int64_t, std::size_t> index;
    query.exec(QStringLiteral(
        "SELECT id, participant, session_number, condition, observer, session_date, keys, "
        "interval_length, session_duration, started_at FROM session ORDER BY id"));
    while (query.next()) {
        JournaledSession s;
        s.id = query.value(0).toLongLong();
        JournalSessionStart& st = s.start;
        st.participantId = query.value(1).toString();
        st.sessionNumber = static_cast<std::int16_t>(query.value(2).toInt());
        st.condition = query.value(3).toString();
        st.observerId = query.value(4).toString();
        st.sessionDate = query.value(5).toString();
        st.keysToHit = query.value(6).toString();
        st.intervalLength = query.value(7).toDouble();
        st.sessionDuration = query.value(8).toDouble();
        st.startedAt = query.value(9).toString();
        index[s.id] = out.size();
        out.push_back(std::move(s));
    }
    query.exec(
        QStringLiteral("SELECT session, behaviour, check_value FROM slot ORDER BY session, slot"));
    while (query.next()) {
        const auto found = index.find(query.value(0).toLongLong());
        if (found != index.end())
            out[found->second].start.keySlots.push_back(
                {query.value(1).toString(), query.value(2).toInt()});
    }
    query.exec(QStringLiteral("SELECT session, kind, entry_row, slot, elapsed, interval_no, "
                              "clock, text, stamp FROM event ORDER BY id"));
    while (query.next()) {
        const auto found = index.find(query.value(0).toLongLong());
        if (found == index.end())
            continue;
        JournalEvent e;
        e.kind = static_cast<JournalEventKind>(query.value(1).toInt());
        e.row = query.value(2).toLongLong();
        e.slot = query.value(3).toInt();
        e.elapsed = query.value(4).toLongLong();
        e.interval = query.value(5).toLongLong();
        e.clock = query.value(6).toString();
        e.text = query.value(7).toString();
        e.stamp = query.value(8).toString();
        out[found->second].events.push_back(std::move(e));
    }
    return out;
}

} // namespace quorvia
