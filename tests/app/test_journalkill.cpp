// The real program with private data folders, killed with SIGKILL; then started on a cut journal.
#include "platform/sqlitejournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;

class TestJournalKill : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

    QString journalPath() const { return home_.filePath("data/Quorvia/journal.sqlite"); }

    void startProgram(QProcess& program, const QString& keys) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        QDir(home_.path())
            .mkdir("run", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env.insert("HOME", home_.path());
        env.insert("XDG_DATA_HOME", home_.filePath("data"));
        env.insert("XDG_RUNTIME_DIR", home_.filePath("run"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QUORVIA_TEST_SESSION", keys);
        program.setProcessEnvironment(env);
        program.start(QUORVIA_EXECUTABLE);
        QVERIFY(program.waitForStarted());
    }

private slots:
    void killedProgramLosesNoShownEntry() {
        QProcess program;
        // The emoji, beyond the basic plane, is typed as one key press.
        startProgram(program, "ab😀");
        QStringList shown; // "row<TAB>clock<TAB>event" as the program showed them
        while (shown.size() < 500 && program.waitForReadyRead(5000))
            while (program.canReadLine())
                shown << QString::fromUtf8(program.readLine()).chopped(1);
        program.kill();
        QVERIFY(program.waitForFinished());
        for (const QByteArray& line : program.readAllStandardOutput().split('\n'))
            shown << QString::fromUtf8(line);
        shown.removeAll(QString());
        QVERIFY(shown.size() >= 500 && shown.filter("😀").size() >= 150);

        QCOMPARE(QFileInfo(journalPath()).permissions() & 0x0fff, 0x0600); // ugo: rw-------
        QCOMPARE(QFileInfo(QFileInfo(journalPath()).path()).permissions() & 0x0fff, 0x0700);
        const std::vector<JournaledSession> sessions = SqliteJournalStore(journalPath()).sessions();
        QStringList journaled;
        for (const JournalEvent& e : sessions.at(0).events)
            if (e.kind == JournalEventKind::Entry)
                journaled << QStringLiteral("%1\t%2\t%3").arg(e.row).arg(e.clock, e.text);
        QCOMPARE(journaled.mid(0, shown.size()), shown);

        // A start on a journal that is not a database: it is set aside and the program runs.
        QVERIFY(QFile::resize(journalPath(), 10));
        startProgram(program, "");
        QVERIFY(!program.waitForFinished(3000)); // waits on the message saying where it went
        program.kill();
        QVERIFY(!QDir(QFileInfo(journalPath()).path())
                     .entryList({"journal.sqlite.damaged-*"}, QDir::Files)
                     .isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestJournalKill)
#include "test_journalkill.moc"
