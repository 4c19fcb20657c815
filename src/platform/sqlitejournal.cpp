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
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

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

// SQLite's primary result codes that tell why a statement failed.
constexpr int kBusy = 5, kLocked = 6, kReadOnly = 8, kCorrupt = 11, kFull = 13, kNotADatabase = 26;
// How long an opening waits for another process's lock.
const auto kBusyTimeout = QStringLiteral("QSQLITE_BUSY_TIMEOUT=100");

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

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// A file descriptor closed when it goes.
struct Descriptor {
    int fd = -1;
    explicit Descriptor(int f)
        : fd(f) {}
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
};

// Why a file is not one the user alone can use as the journal; empty when it is.
QString notOwnFile(const struct stat& st) {
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("is a symbolic link");
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("is not a regular file");
    if (st.st_uid != geteuid())
        return QStringLiteral("belongs to another account");
    if (st.st_nlink > 1)
        return QStringLiteral("has more than one hard link");
    return {};
}

// Why a file that cannot be created cannot be.
QString cannotCreate(int error) {
    if (error == EACCES || error == EPERM || error == EROFS)
        return QStringLiteral("Its folder cannot be written");
    if (error == ENOSPC || error == EDQUOT)
        return QStringLiteral("The disk is full");
    return QStringLiteral("It cannot be created (%1)").arg(errorText(error));
}

// Creates the journal's folder (0700) and file (0600) where they are missing, and takes read
// and write permission away from everyone else on those that exist, never through a link.
// Why they cannot be the user's own journal; empty when they are.
QString makeOwn(const QString& path) {
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    for (qsizetype at = folder.indexOf(u'/', 1);; at = folder.indexOf(u'/', at + 1)) {
        const QByteArray part = QFile::encodeName(at == -1 ? folder : folder.left(at));
        if (::mkdir(part.constData(), S_IRWXU) != 0 && errno != EEXIST)
            return QStringLiteral("Its folder cannot be created (%1)").arg(errorText(errno));
        if (at == -1)
            break;
    }
    Descriptor dir(
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    if (dir.fd < 0 || ::fstat(dir.fd, &st) != 0)
        return QStringLiteral("Its folder cannot be opened (%1)").arg(errorText(errno));
    if (st.st_uid != geteuid())
        return QStringLiteral("Its folder belongs to another account");
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return QStringLiteral("Its folder can be written by other accounts");
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        ::fchmod(dir.fd, st.st_mode & S_IRWXU);

    for (const char* suffix : {"", "-wal", "-shm"}) {
        const QString name = info.fileName() + QLatin1String(suffix);
        const QByteArray local = QFile::encodeName(name);
        const QString who = *suffix != 0 ? name : QStringLiteral("It");
        if (::fstatat(dir.fd, local.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                return QStringLiteral("%1 cannot be read (%2)").arg(who, errorText(errno));
            if (*suffix != 0)
                continue; // SQLite creates these with the file's permissions
            Descriptor created(::openat(dir.fd, local.constData(),
                                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                        S_IRUSR | S_IWUSR));
            if (created.fd < 0)
                return cannotCreate(errno);
            continue;
        }
        if (const QString fault = notOwnFile(st); !fault.isEmpty())
            return who + u' ' + fault;
        Descriptor file(
            ::openat(dir.fd, local.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (file.fd < 0 || ::fstat(file.fd, &st) != 0)
            return QStringLiteral("%1 cannot be read (%2)").arg(who, errorText(errno));
        if (const QString fault = notOwnFile(st); !fault.isEmpty())
            return who + u' ' + fault;
        if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
            ::fchmod(file.fd, st.st_mode & (S_IRUSR | S_IWUSR));
    }
    return {};
}

// Why the journal at path cannot be written, from SQLite's result code and the file system.
QString cannotWrite(int code, const QString& path, const QString& sqliteText) {
    if (code == kBusy || code == kLocked)
        return QStringLiteral("Another process is using it");
    const QByteArray file = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    struct statvfs fs {};
    if (::statvfs(folder.constData(), &fs) == 0 && (fs.f_flag & ST_RDONLY) != 0)
        return QStringLiteral("It is on a read-only file system");
    if (code == kFull || fs.f_bavail == 0)
        return QStringLiteral("The disk is full");
    if (code == kReadOnly && ::access(file.constData(), W_OK) != 0)
        return QStringLiteral("It is read-only");
    if (::access(folder.constData(), W_OK) != 0)
        return QStringLiteral("Its folder cannot be written");
    return QStringLiteral("SQLite reports \"%1\"").arg(sqliteText);
}

} // namespace

QString SqliteJournalStore::defaultPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("journal.sqlite"));
}

SqliteJournalStore::SqliteJournalStore(const QString& path)
    : path_(path)
    , connection_(uniqueConnectionName()) {
    status_.path = path;
    status_.unwritable = makeOwn(path_);
    if (!status_.unwritable.isEmpty())
        return; // not even read: it may be another account's
    own_ = true;
    const QString prefix = QFileInfo(path_).fileName() + QStringLiteral(".removed-");
    for (const QString& mark : QFileInfo(path_).absoluteDir().entryList(
             {prefix + u'*'}, QDir::Files | QDir::Hidden | QDir::System))
        if (const std::int64_t id = mark.mid(prefix.size()).toLongLong(); id > 0)
            pendingRemovals_.push_back(id);

    const Outcome outcome = open(false);
    if (outcome.fault == Fault::Damaged) {
        setAside(outcome.reason);
    } else if (outcome.fault == Fault::Unwritable) {
        close();
        status_.unwritable = outcome.reason;
        readable_ = open(true).fault == Fault::None;
        if (!readable_) {
            close();
            // A log left without its index on a read-only disk cannot be read: what was synced
            // into the file can. Not so while another process writes it.
            if (outcome.reason != cannotWrite(kBusy, path_, {}))
                readable_ = open(true, true).fault == Fault::None;
            if (!readable_)
                close();
        }
    } else {
        open_ = true;
        retryRemovals();
    }
}

SqliteJournalStore::~SqliteJournalStore() {
    close();
}

void SqliteJournalStore::close() {
    open_ = false;
    readable_ = false;
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

SqliteJournalStore::Outcome SqliteJournalStore::fault(const QSqlQuery& failed) const {
    const QSqlError error = failed.lastError();
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if (code == kNotADatabase)
        return {Fault::Damaged, QStringLiteral("It is not an SQLite database")};
    if (code == kCorrupt)
        return {Fault::Damaged, QStringLiteral("It failed its integrity check")};
    return {Fault::Unwritable, cannotWrite(code, path_, error.databaseText())};
}

SqliteJournalStore::Outcome SqliteJournalStore::open(bool readOnly, bool fileOnly) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(fileOnly ? QUrl::fromLocalFile(path_).toString(QUrl::FullyEncoded) +
                                      QStringLiteral("?immutable=1")
                                : path_);
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;") +
                                        kBusyTimeout
                                  : kBusyTimeout);
    if (!db.open())
        return {Fault::Unwritable, cannotWrite(db.lastError().nativeErrorCode().toInt() & 0xff,
                                               path_, db.lastError().databaseText())};
    // The exclusive lock comes first, so that the log needs no shared-memory index; presses
    // never checkpoint, the tick does. A journal read while another process holds it shares it.
    QSqlQuery query(db);
    if ((!readOnly && !query.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"))) ||
        !query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return fault(query);
    const Outcome unknown{Fault::Damaged,
                          QStringLiteral("Its tables are not those of this program")};
    const int version = query.value(0).toInt();
    if (version != 0 && version != kSchemaVersion)
        return unknown;
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
        return fault(query);
    if (version == 0 && query.value(0).toInt() != 0)
        return unknown; // the tables of something else
    if (readOnly)
        return version == kSchemaVersion ? Outcome{} : unknown;
    // Every page readable and well formed.
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        return fault(query);
    if (query.value(0).toString() != QLatin1String("ok") || query.next())
        return {Fault::Damaged, QStringLiteral("It failed its integrity check")};

    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !query.next())
        return fault(query);
    if (query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return {Fault::Unwritable, cannotWrite(0, path_, query.value(0).toString())};
    for (const char* pragma :
         {"PRAGMA synchronous=NORMAL", "PRAGMA wal_autocheckpoint=0", "PRAGMA secure_delete=ON"})
        if (!query.exec(QLatin1String(pragma)))
            return fault(query);

    // A new journal gets its tables; an old one is written once, to know that it can be.
    if (!db.transaction())
        return fault(query);
    bool written = true;
    if (version == 0)
        for (const char* statement : kSchema)
            written = written && query.exec(QLatin1String(statement));
    written = written && query.exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
    if (!written || !db.commit()) {
        const Outcome failed =
            written ? Outcome{Fault::Unwritable,
                              cannotWrite(db.lastError().nativeErrorCode().toInt() & 0xff, path_,
                                          db.lastError().databaseText())}
                    : fault(query);
        db.rollback();
        return failed;
    }

    insertEvent_ = std::make_unique<QSqlQuery>(db);
    if (!insertEvent_->prepare(
            QStringLiteral("INSERT INTO event (session, kind, entry_row, slot, elapsed, "
                           "interval_no, clock, text, stamp) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")))
        return fault(*insertEvent_);
    return {};
}

void SqliteJournalStore::setAside(const QString& reason) {
    close();
    const QString aside = setAsideName(path_);
    if (!QFile::rename(path_, aside)) {
        status_.unwritable = reason + QStringLiteral(", and it cannot be set aside");
        return;
    }
    for (const char* suffix : {"-wal", "-shm"})
        if (QFileInfo::exists(path_ + suffix))
            QFile::rename(path_ + suffix, aside + suffix);
    status_.setAside = aside;
    status_.setAsideReason = reason;

    // What can still be read of it is kept, in the new journal when one can be started.
    const QString journal = path_;
    path_ = aside;
    if (open(true).fault == Fault::None) {
        readable_ = true;
        salvaged_ = sessions();
    }
    close();
    path_ = journal;
    // Removals left undone were of that journal: its saved sessions were not taken over.
    for (const std::int64_t id : pendingRemovals_)
        QFile::remove(removalMark(id));
    pendingRemovals_.clear();
    status_.unwritable = makeOwn(path_);
    if (!status_.unwritable.isEmpty())
        return;
    if (const Outcome outcome = open(false); outcome.fault != Fault::None) {
        close();
        status_.unwritable = outcome.reason;
        return;
    }
    open_ = true;
    std::vector<JournaledSession> kept;
    for (JournaledSession& s : salvaged_)
        if (!copy(s))
            kept.push_back(std::move(s));
    const bool copied = kept.size() != salvaged_.size();
    salvaged_ = std::move(kept);
    std::int64_t memoryId = 0;
    for (JournaledSession& s : salvaged_)
        s.id = --memoryId; // in memory only: nothing to remove
    if (copied)
        sync();
}

bool SqliteJournalStore::copy(const JournaledSession& session) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return false;
    const std::int64_t id = insertSession(session.start);
    bool written = id != 0;
    for (const JournalEvent& event : session.events)
        written = written && addEvent(id, event);
    if (!written || !db.commit()) {
        db.rollback();
        return false;
    }
    return true;
}

QString SqliteJournalStore::removalMark(std::int64_t session) const {
    return path_ + QStringLiteral(".removed-%1").arg(session);
}

void SqliteJournalStore::retryRemovals() {
    std::vector<std::int64_t> pending;
    pending.swap(pendingRemovals_);
    for (const std::int64_t id : pending)
        removeSession(id);
}

std::int64_t SqliteJournalStore::addSession(const JournalSessionStart& start) {
    if (!open_)
        return 0;
    retryRemovals();
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return 0;
    const std::int64_t id = insertSession(start);
    if (id == 0 || !db.commit()) {
        db.rollback();
        return 0;
    }
    return id;
}

std::int64_t SqliteJournalStore::insertSession(const JournalSessionStart& start) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
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
    for (const SlotSetup& s : start.slotSetups) {
        query.addBindValue(QVariant(qint64(id)));
        query.addBindValue(slot++);
        query.addBindValue(s.behaviour);
        query.addBindValue(s.checkValue);
        written = written && query.exec();
    }
    return written ? id : 0;
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
    if (session <= 0)
        return true; // kept in memory only
    bool removed = open_;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    removed = removed && db.transaction();
    if (removed) {
        QSqlQuery query(db);
        for (const char* statement :
             {"DELETE FROM event WHERE session = ?", "DELETE FROM slot WHERE session = ?",
              "DELETE FROM session WHERE id = ?"}) {
            query.prepare(QLatin1String(statement));
            query.addBindValue(QVariant(qint64(session)));
            removed = removed && query.exec();
        }
        removed = removed && db.commit();
        if (!removed)
            db.rollback();
    }
    // The log still holds the deleted rows: move everything into the file and empty it.
    removed = removed && exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    const QByteArray mark = QFile::encodeName(removalMark(session));
    if (removed) {
        ::unlink(mark.constData());
        return true;
    }
    if (std::find(pendingRemovals_.begin(), pendingRemovals_.end(), session) ==
        pendingRemovals_.end())
        pendingRemovals_.push_back(session);
    // An empty file needs no room on the disk; the folder is the user's alone.
    if (own_) {
        const int fd = ::open(mark.constData(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                              S_IRUSR | S_IWUSR);
        if (fd >= 0)
            ::close(fd);
    }
    return false;
}

std::vector<JournaledSession> SqliteJournalStore::sessions() {
    std::vector<JournaledSession> out;
    if (!open_ && !readable_)
        return salvaged_;
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
        if (std::find(pendingRemovals_.begin(), pendingRemovals_.end(), s.id) !=
            pendingRemovals_.end())
            continue; // saved or given up, its removal not yet done
        index[s.id] = out.size();
        out.push_back(std::move(s));
    }
    query.exec(
        QStringLiteral("SELECT session, behaviour, check_value FROM slot ORDER BY session, slot"));
    while (query.next()) {
        const auto found = index.find(query.value(0).toLongLong());
        if (found != index.end())
            out[found->second].start.slotSetups.push_back(
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
    out.insert(out.end(), salvaged_.begin(), salvaged_.end());
    return out;
}

} // namespace quorvia
