// The session journal under the window's handlers, on a journal file in a temporary folder.
#include "app/mainwindow.h"
#include "platform/sqlitejournal.h"
#include "support/fakeplatform.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace quorvia;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int test_ = 0; // each test has a journal file of its own
    std::unique_ptr<test::FakePlatform> fakes_;
    std::unique_ptr<SqliteJournalStore> store_;
    std::unique_ptr<MainWindow> w_;

    QString path() const { return dir_.filePath(QStringLiteral("journal%1.sqlite").arg(test_)); }

    // A window over the journal file, as after a start of the program.
    void start(const QString& journal = {}) {
        w_.reset();
        store_.reset();
        fakes_ = std::make_unique<test::FakePlatform>();
        fakes_->clock.time = QTime(8, 30, 15, 990);
        store_ = std::make_unique<SqliteJournalStore>(journal.isEmpty() ? path() : journal);
        fakes_->platform.journal = store_.get();
        w_ = std::make_unique<MainWindow>(fakes_->platform);
    }

    // Session 4 of P07x with keys "ab" (b On/Off) started; then '.' ticks a second, 'E' types
    // ESC, 'R' resumes, 'T' terminates, 'Y' and 'N' answer the save prompt; others are typed.
    void run(int duration, const QString& script) {
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
        for (const QChar c : script) {
            if (c == u'.') {
                fakes_->clock.time = fakes_->clock.time.addSecs(1);
                w_->timer1Timer();
            } else if (QStringLiteral("RTYN").contains(c)) {
                QPushButton* b[] = {w_->Command1, w_->Command2, w_->Command7, w_->Command8};
                b[QStringLiteral("RTYN").indexOf(c)]->click();
            } else {
                w_->keyPress(c == u'E' ? char16_t(27) : c.unicode());
            }
        }
    }

    // The worksheet of the session the window has finished.
    Worksheet liveSheet() const {
        SessionSheetInputs in{{}, w_->Label21->text(), w_->Label25->text()};
        for (std::size_t i = 1; i <= 2; ++i)
            in.slotControls.push_back({w_->Text4[i]->text(), w_->Check3[i]->isChecked() ? 1 : 0});
        return buildSessionSheet(w_->record(), in);
    }

private slots:
    void init() {
        ++test_;
        start();
    }

    // A session journaled to the end, rebuilt at the next start: the live sheet (the rules for a
    // session killed or terminated are tested against a store in memory).
    void rebuildGivesTheLiveWorksheet_data() {
        QTest::addColumn<int>("duration");
        QTest::addColumn<QString>("script");
        QTest::newRow("finished") << 5 << "ab.a.ERb..bab.";
        QString many;
        for (int n = 0; n < 100000; ++n)
            many += QLatin1String(n % 10000 == 9999 ? "a." : n % 3 ? "a" : "b");
        QTest::newRow("100,000 entries, finished") << 10 << many;
    }
    void rebuildGivesTheLiveWorksheet() {
        QFETCH(int, duration);
        QFETCH(QString, script);
        run(duration, script);
        const Worksheet live = liveSheet();
        start();
        const RebuiltSession s = rebuildSession(store_->sessions().at(0));
        QVERIFY(buildSessionSheet(s.record, s.inputs).cells() == live.cells());
    }

    // What leaves the journal, live and at the next start (answers in turn; S: a file chosen in
    // the save dialog). A start after that asks about the sessions left, and only about them.
    void cleanupAndRecovery_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("left");
        QTest::addColumn<QString>("answers"); // none: no restart
        QTest::newRow("Yes, saved") << "a...YS" << 0 << "";
        QTest::newRow("Yes, dialog cancelled") << "a...Y" << 1 << "";
        QTest::newRow("No") << "a...N" << 0 << "";
        QTest::newRow("recovered and saved") << "a.b.E" << 0 << "YS";
        QTest::newRow("recovered, dialog cancelled") << "a.b.E" << 1 << "Y";
        QTest::newRow("not shown, discarded") << "a.b.E" << 0 << "NY";
        QTest::newRow("not shown, kept") << "a.b.E" << 1 << "NN";
    }
    void cleanupAndRecovery() {
        QFETCH(QString, script);
        QFETCH(QString, answers);
        QFETCH(int, left);
        const QString file = dir_.filePath("P07x-4-base-KT.xlsx");
        if (script.endsWith(u'S'))
            fakes_->dialogs.answers = {file};
        run(3, QString(script).remove(u'S'));
        if (!answers.isEmpty()) {
            start();
            test::FakeMessageBoxes& m = fakes_->messages;
            m.whileAsking = [&] {
                m.answerYes = answers.at(m.asked.size() - 1) == u'Y';
            };
            fakes_->dialogs.answers = {answers.endsWith(u'S') ? file : QString()};
            w_->recoverSessions();
            QCOMPARE(m.asked.first(), "A session was not saved:\r\nP07x, session 4, base, KT, "
                                      "2026/12/06 08:30:15, 0:02 recorded.\r\nShow it now?");
            if (answers.startsWith(u'N'))
                QCOMPARE(m.asked.last(), "Discard this session for good?");
            if (answers == QLatin1String("Y"))
                QCOMPARE(w_->findChild<QWidget*>("WorksheetWindow")->windowTitle(),
                         "P07x-4-base-KT.xlsx (recovered)");
        }
        QCOMPARE(int(store_->sessions().size()), left);
        start();
        w_->recoverSessions(); // No, and No to the discard question: kept
        QCOMPARE(int(fakes_->messages.asked.size()), 2 * left);
        for (const char* suffix : {"", "-wal"}) // nothing left in free pages or the log
            QVERIFY(left > 0 || !fileBytes(path() + suffix).contains("P07x"));
    }

    // A damaged journal is set aside as it is, with one message saying where and why; what can
    // still be read of it is offered, and a fresh journal takes that and the next session.
    void damagedJournalIsSetAside_data() {
        QTest::addColumn<qint64>("at"); // the bytes there are overwritten with these
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("cut"); // and the file ends after them
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("offered");
        const QString foreign = "Its tables are not those of this program";
        QTest::newRow("not SQLite")
            << qint64(0) << QByteArray(5000, '\xa5') << true << "It is not an SQLite database" << 0;
        QTest::newRow("torn") << qint64(20000) << QByteArray() << true
                              << "It failed its integrity check" << 0;
        QTest::newRow("a page overwritten") << qint64(20000) << QByteArray(4096, '\xa5') << false
                                            << "It failed its integrity check" << 1;
        QTest::newRow("newer schema")
            << qint64(60) << QByteArray("\0\0\0\2", 4) << false << foreign << 0;
        QTest::newRow("foreign tables")
            << qint64(60) << QByteArray(4, '\0') << false << foreign << 0;
    }
    void damagedJournalIsSetAside() {
        QFETCH(qint64, at);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, cut);
        QFETCH(QString, reason);
        QFETCH(int, offered);
        run(1000, QString(300, u'a') + "." + QString(300, u'b'));
        w_.reset();
        store_.reset();
        QByteArray damaged = fileBytes(path()).replace(at, bytes.size(), bytes);
        damaged.resize(cut ? at + bytes.size() : damaged.size());
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(damaged) > 0);
        file.close();
        start();
        w_->recoverSessions();
        const QString aside = store_->status().setAside;
        QVERIFY(aside.startsWith(path() + ".damaged-"));
        QCOMPARE(fakes_->messages.informed,
                 QStringList{"The session journal could not be read and was set aside as\r\n" +
                             aside + "\r\n" + reason + ".\r\nA new journal has been started."});
        QCOMPARE(fileBytes(aside), damaged);
        QCOMPARE(int(fakes_->messages.asked.size()), 2 * offered); // No, then No: kept
        run(1000, "ab.");
        start();
        QCOMPARE(int(store_->sessions().size()), offered + 1);
    }

    // A journal that cannot be written now, or is not the user's own, is left as it is: one
    // message with the reason, the sessions it can be read for offered (answered No, then No),
    // the session run unprotected, and a saved session not offered again (r: the journal is
    // released before the next start).
    void journalThatCannotBeWritten_data() {
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("offered");
        QTest::newRow("busy, saved, r") << "Another process is using it" << 1;
        QTest::newRow("read-only") << "It is read-only" << 1;
        QTest::newRow("symbolic link") << "It is a symbolic link" << 0;
        QTest::newRow("hard link") << "It has more than one hard link" << 0;
        QTest::newRow("another account's") << "It belongs to another account" << 0;
        QTest::newRow("folder of another account") << "Its folder belongs to another account" << 0;
        QTest::newRow("folder writable by others")
            << "Its folder can be written by other accounts" << 0;
    }
    void journalThatCannotBeWritten() {
        QFETCH(QString, reason);
        QFETCH(int, offered);
        const QString tag = QTest::currentDataTag();
        const bool root = geteuid() == 0;
        if ((tag == "read-only" && root) || (tag.contains("account") && !root))
            QSKIP("needs an account that is (not) bound by permissions");
        run(3, "a...Y");
        w_.reset();
        store_.reset();
        const QString folder = dir_.filePath(QString::number(test_));
        QVERIFY(QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString journal = folder + "/journal.sqlite";
        QVERIFY(QFile::rename(path(), journal));
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", tag);
        holder.setDatabaseName(journal);
        if (tag.startsWith("busy"))
            QVERIFY(holder.open() && QSqlQuery(holder).exec("BEGIN IMMEDIATE"));
        else if (tag == "read-only")
            QVERIFY(QFile::setPermissions(journal, QFile::ReadOwner));
        else if (tag == "symbolic link") // to a journal of the user's
            QVERIFY(QFile::rename(journal, folder + "/x") && QFile::link(folder + "/x", journal));
        else if (tag == "hard link")
            QVERIFY(::link(QFile::encodeName(journal), QFile::encodeName(folder + "/x")) == 0);
        else if (tag.contains("account"))
            QVERIFY(::chown(QFile::encodeName(tag.startsWith("folder") ? folder : journal), 65534,
                            65534) == 0);
        else
            QVERIFY(::chmod(QFile::encodeName(folder), 0770) == 0);
        QElapsedTimer opening;
        opening.start();
        start(journal);
        QVERIFY(opening.elapsed() < 1000);
        fakes_->dialogs.answers = {dir_.filePath("x.xlsx")};
        fakes_->messages.answerYes = tag.contains("saved");
        w_->recoverSessions();
        QCOMPARE(
            fakes_->messages.informed,
            QStringList{"The session journal cannot be written:\r\n" + journal + "\r\n" + reason +
                        ".\r\nSessions are not protected against a crash until they are saved."});
        QCOMPARE(int(fakes_->messages.asked.size()), offered * (tag.contains("saved") ? 1 : 2));
        QVERIFY(QDir(folder).entryList({"*.damaged-*"}).isEmpty());
        run(100, "ab.Ea.RaET");
        QCOMPARE(fakes_->messages.informed.size(), 2); // and after the session
        QVERIFY(fakes_->messages.informed.last().startsWith("This session could not be written"));
        start(journal);
        QCOMPARE(int(store_->sessions().size()), tag.contains("saved") ? 0 : offered);
        if (tag.endsWith(", r")) { // removed at the next start the journal can be written
            holder.close();
            start(journal);
            QVERIFY(store_->isOpen() && QDir(folder).entryList({"*.removed-*"}).isEmpty());
            QVERIFY(!fileBytes(journal).contains("P07x"));
        }
    }
};

QTEST_MAIN(TestJournal)
#include "test_journal.moc"
