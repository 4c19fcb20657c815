// The session journal under the window's handlers, on a journal file in a temporary folder: the
// rebuild of what it holds, its clean-up, recovery at start-up, damaged journals and writes that
// fail.
#include "app/mainwindow.h"
#include "platform/sqlitejournal.h"
#include "recording/sessionclock.h"
#include "report/worksheetwindow.h"
#include "support/fakeplatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList cellTexts(const Worksheet& sheet) {
    QStringList out;
    for (const auto& [at, value] : sheet.cells())
        out << QStringLiteral("%1,%2=%3")
                   .arg(at.first)
                   .arg(at.second)
                   .arg(std::holds_alternative<QString>(value)
                            ? std::get<QString>(value)
                            : QString::number(std::get<double>(value)));
    return out;
}

// A journal that stops taking events after a number of them.
struct FailingStore final : JournalStore {
    int eventsTaken = 0;
    int limit = 0;
    std::int64_t addSession(const JournalSessionStart&) override { return 1; }
    bool addEvent(std::int64_t, const JournalEvent&) override { return ++eventsTaken <= limit; }
    bool sync() override { return true; }
    bool removeSession(std::int64_t) override { return true; }
    std::vector<JournaledSession> sessions() override { return {}; }
    bool isOpen() const override { return true; }
    QString setAsidePath() const override { return {}; }
};

} // namespace

class TestJournal : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<test::FakePlatform> fakes_;
    std::unique_ptr<SqliteJournalStore> store_;
    std::unique_ptr<MainWindow> w_;
    QString lastTick_; // time of day of the last tick, or of the start

    QString path() const { return dir_.filePath(QStringLiteral("journal.sqlite")); }

    // A window over the journal file, as after a start of the program (the journal of the
    // previous one closed as by its end).
    void start(JournalStore* other = nullptr) {
        w_.reset();
        store_.reset();
        fakes_ = std::make_unique<test::FakePlatform>();
        fakes_->clock.time = QTime(8, 30, 15, 990);
        if (other == nullptr)
            store_ = std::make_unique<SqliteJournalStore>(path());
        fakes_->platform.journal = other ? other : store_.get();
        w_ = std::make_unique<MainWindow>(fakes_->platform);
    }

    // Session 4 of P07x with keys "ab" (b On/Off) started; then '.' ticks a second, 'E' types
    // ESC, 'R' resumes, 'T' terminates, 'Y' and 'N' answer the save prompt; others are typed.
    void run(int duration, const QString& script) {
        startSession(duration);
        play(script);
    }
    void startSession(int duration) {
        for (std::size_t i = 0; i < 4; ++i)
            w_->Text2.at(i)->setText(QStringList{"P07x", "4", "base", "KT"}.at(qsizetype(i)));
        w_->Text3->setText("2026/12/06");
        w_->setCombo1Text("2");
        w_->Text22->setText(QString::number(duration));
        w_->Text1->setText("ab");
        w_->Command3->click();
        w_->Text4[1]->setText("hand");
        w_->Check3[2]->setChecked(true);
        w_->Command3->click();
        w_->Command1->click();
        lastTick_ = w_->Label21->text();
    }
    void play(const QString& script) {
        for (const QChar c : script) {
            if (c == u'.') {
                fakes_->clock.time = fakes_->clock.time.addSecs(1);
                w_->timer1Timer();
                lastTick_ = timeWithHundredths(fakes_->clock.time, "hh:nn:ss");
            } else if (QStringLiteral("RTYN").contains(c)) {
                QPushButton* b[] = {w_->Command1, w_->Command2, w_->Command7, w_->Command8};
                b[QStringLiteral("RTYN").indexOf(c)]->click();
            } else {
                w_->keyPress(c == u'E' ? char16_t(27) : c.unicode());
            }
        }
    }

    // The worksheet of the live record; a session that had not ended closed as terminated at
    // its last tick or pause.
    Worksheet liveSheet() const {
        SessionRecord r = w_->record();
        const bool recording = r.state == SessionState::Recording;
        SessionSheetInputs in{{}, w_->Label21->text(), recording ? lastTick_ : w_->Label25->text()};
        for (std::size_t i = 1; i <= 2; ++i)
            in.slotControls.push_back({w_->Text4[i]->text(), w_->Check3[i]->isChecked() ? 1 : 0});
        if (r.state == SessionState::Recording || r.state == SessionState::Paused)
            r.writeEndEntry(kSessionTerminated);
        return buildSessionSheet(r, in);
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() {
        start();
        QVERIFY(store_->isOpen());
    }
    void cleanup() {
        w_.reset();
        store_.reset();
        for (const QString& name : QDir(dir_.path()).entryList(QDir::Files))
            QFile::remove(dir_.filePath(name));
    }

    // A session journaled, the program ended at that point, the session rebuilt at the next
    // start: the same worksheet as the live record gives.
    void rebuildGivesTheLiveWorksheet_data() {
        QTest::addColumn<int>("duration");
        QTest::addColumn<QString>("script");
        QTest::newRow("finished") << 5 << "ab.a.ERb..bab.";
        QTest::newRow("terminated") << 100 << "a.b.E.RaE.T";
        QTest::newRow("paused, then killed") << 100 << "a.b..a.E";
        QTest::newRow("killed while recording") << 100 << "a.ERb...ab";
        QTest::newRow("killed in second 0") << 100 << "";
        QString many;
        for (int n = 0; n < 100000; ++n)
            many += QLatin1String(n % 10000 == 9999 ? "a." : n % 3 ? "a" : "b");
        QTest::newRow("100,000 entries, finished") << 10 << many;
    }
    void rebuildGivesTheLiveWorksheet() {
        QFETCH(int, duration);
        QFETCH(QString, script);
        run(duration, script);
        const QStringList live = cellTexts(liveSheet());
        start();
        const std::vector<JournaledSession> journaled = store_->sessions();
        QCOMPARE(journaled.size(), 1u);
        const RebuiltSession s = rebuildSession(journaled.front());
        QCOMPARE(cellTexts(buildSessionSheet(s.record, s.inputs)), live);
    }

    // What leaves the journal, in the running program and at the next start (answers to its
    // questions in turn; S: a file is chosen in the save dialog). A start after that asks about
    // the sessions left.
    void cleanupAndRecovery_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("restart");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<int>("left");
        QTest::newRow("Yes, saved") << "a...YS" << false << "" << 0;
        QTest::newRow("Yes, dialog cancelled") << "a...Y" << false << "" << 1;
        QTest::newRow("No") << "a...N" << false << "" << 0;
        QTest::newRow("recovered and saved") << "a.b.E" << true << "YS" << 0;
        QTest::newRow("recovered, dialog cancelled") << "a.b.E" << true << "Y" << 1;
        QTest::newRow("not shown, discarded") << "a.b.E" << true << "NY" << 0;
        QTest::newRow("not shown, kept") << "a.b.E" << true << "NN" << 1;
    }
    void cleanupAndRecovery() {
        QFETCH(QString, script);
        QFETCH(bool, restart);
        QFETCH(QString, answers);
        QFETCH(int, left);
        const QString file = dir_.filePath("P07x-4-base-KT.xlsx");
        const bool savedLive = script.endsWith(u'S');
        if (savedLive)
            fakes_->dialogs.answers = {file};
        run(3, QString(script).remove(u'S'));
        if (restart) {
            start();
            test::FakeMessageBoxes& m = fakes_->messages;
            m.whileAsking = [&] {
                m.answerYes = answers.at(m.asked.size() - 1) == u'Y';
            };
            if (answers.endsWith(u'S'))
                fakes_->dialogs.answers = {file};
            w_->recoverSessions();
            const QString question = "A session was not saved:\r\nP07x, session 4, base, KT, "
                                     "2026/12/06 08:30:15, 0:02 recorded.\r\nShow it now?";
            QCOMPARE(m.asked.first(), question);
            if (answers.startsWith(u'N'))
                QCOMPARE(m.asked.last(), "Discard this session for good?");
            const auto* sheet = w_->findChild<WorksheetWindow*>();
            if (answers == QLatin1String("Y"))
                QCOMPARE(sheet->windowTitle(), "P07x-4-base-KT.xlsx (recovered)");
        }
        QCOMPARE(fakes_->workbooks.paths,
                 answers.endsWith(u'S') || savedLive ? QStringList{file} : QStringList{});
        QCOMPARE(int(store_->sessions().size()), left);
        start();
        w_->recoverSessions(); // No, and No to the discard question: kept
        QCOMPARE(int(fakes_->messages.asked.size()), 2 * left);
        if (left == 0) { // nothing of the participant left in the file's free pages or its log
            w_.reset();
            store_.reset();
            for (const QString& name : QDir(dir_.path()).entryList({"journal*"}))
                QVERIFY2(!fileBytes(dir_.filePath(name)).contains("P07x"), qPrintable(name));
        }
    }

    // A journal that cannot be used is set aside as it is, with one message saying where, and
    // a fresh one takes the next session.
    void damagedJournalIsSetAside_data() {
        QTest::addColumn<QStringList>("statements"); // run on the journal, or its new content
        QTest::addColumn<qint64>("size");            // its size is cut to this, unless -1
        QTest::newRow("not SQLite") << QStringList{"garbage"} << qint64(-1);
        QTest::newRow("empty SQLite page") << QStringList{"SQLite format 3"} << qint64(-1);
        QTest::newRow("torn") << QStringList{} << qint64(20000);
        QTest::newRow("newer schema") << QStringList{"PRAGMA user_version=2"} << qint64(-1);
        QTest::newRow("foreign") << QStringList{"PRAGMA user_version=0", "DROP TABLE event"}
                                 << qint64(-1);
    }
    void damagedJournalIsSetAside() {
        QFETCH(QStringList, statements);
        QFETCH(qint64, size);
        run(1000, QString(300, u'a') + "." + QString(300, u'b'));
        start();
        store_.reset();
        if (statements.size() == 1 && !statements.first().startsWith("PRAGMA")) {
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(statements.first().toLatin1());
        } else {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "damage");
            db.setDatabaseName(path());
            QVERIFY(db.open());
            for (const QString& statement : statements)
                QVERIFY(QSqlQuery(db).exec(statement));
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase("damage");
        }
        if (size >= 0)
            QVERIFY(QFile::resize(path(), size));
        const QByteArray damaged = fileBytes(path());
        start();
        w_->recoverSessions();
        const QString aside = store_->setAsidePath();
        QVERIFY(aside.startsWith(path() + ".damaged-"));
        QCOMPARE(fakes_->messages.informed,
                 QStringList{"The session journal could not be read and was set aside as\r\n" +
                             aside + "\r\nA new journal has been started."});
        QCOMPARE(fileBytes(aside), damaged);
        QVERIFY(fakes_->messages.asked.isEmpty());
        run(1000, "ab.");
        QCOMPARE(store_->sessions().size(), 1u);
    }

    // A journal that fails during a session: the session goes on in memory, and the observer is
    // told once, when it has ended.
    void failedWriteIsToldOnceAtTheEnd_data() {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("told");
        QTest::newRow("never fails") << 1000 << "ab.E.RaET" << 0;
        QTest::newRow("fails while recording, terminated") << 2 << "ab.Ea.RaET" << 1;
        QTest::newRow("fails late, finished") << 6 << "ab.ab.ab." << 1;
    }
    void failedWriteIsToldOnceAtTheEnd() {
        QFETCH(int, limit);
        QFETCH(QString, script);
        QFETCH(int, told);
        FailingStore failing;
        failing.limit = limit;
        start(&failing);
        run(3, script.chopped(1));
        QVERIFY(fakes_->messages.informed.isEmpty());
        play(script.right(1));
        QCOMPARE(fakes_->messages.informed,
                 QStringList(told, "This session could not be written to the journal.\r\nIt is "
                                   "not protected against a crash until it is saved."));
        QCOMPARE(w_->Command1->text(), "Confirm");
    }
};

QTEST_MAIN(TestJournal)
#include "test_journal.moc"
