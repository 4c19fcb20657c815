#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Environment for a copy of the program: headless, with its own runtime folder for the lock.
QProcessEnvironment programEnvironment(const QString& runtimeFolder) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    return env;
}

bool waitForFile(const QString& path, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (QFile::exists(path))
            return true;
        QTest::qWait(20);
    }
    return false;
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void secondCopyOfTheProgramEndsAtOnce() {
        QTemporaryDir runtime;
        const QProcessEnvironment env = programEnvironment(runtime.path());
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(QStringLiteral(QUORVIA_EXECUTABLE));
        QVERIFY(first.waitForStarted());
        QVERIFY(waitForFile(
            runtime.filePath(
                QStringLiteral("quorvia-%1.lock").arg(qEnvironmentVariable("USER", "user"))),
            10000));

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(QUORVIA_EXECUTABLE));
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        // A copy killed without cleaning up does not keep the next one out.
        first.kill();
        QVERIFY(first.waitForFinished());
        QProcess third;
        third.setProcessEnvironment(env);
        third.start(QStringLiteral(QUORVIA_EXECUTABLE));
        QVERIFY(third.waitForStarted());
        QVERIFY(!third.waitForFinished(1500));
        QCOMPARE(third.state(), QProcess::Running);
        third.kill();
        third.waitForFinished();
    }

    void versionAndHelpNeedNoDisplay() {
        for (const auto& [argument, output] :
             {std::pair{"--version", "Quorvia " QUORVIA_VERSION "\n"},
              std::pair{"-h", "-v, --version  Displays version"}}) {
            QProcess program;
            program.setProcessEnvironment({}); // no display, no platform
            program.start(QStringLiteral(QUORVIA_EXECUTABLE), {QString::fromLatin1(argument)});
            QVERIFY(program.waitForFinished(10000) && program.exitCode() == 0);
            QVERIFY2(program.readAllStandardOutput().contains(output), argument);
        }
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
