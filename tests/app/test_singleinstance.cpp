// One copy of the program per user: a second one ends at once; a copy killed without cleaning up
// does not keep the next one out.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void secondCopyOfTheProgramEndsAtOnce() {
        QTemporaryDir runtime;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        QProcess first, second, third;
        for (QProcess* p : {&first, &second, &third})
            p->setProcessEnvironment(env);
        first.start(QStringLiteral(QUORVIA_EXECUTABLE));
        const QString lock =
            QStringLiteral("quorvia-%1.lock").arg(qEnvironmentVariable("USER", "user"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(runtime.filePath(lock)), 10000);

        second.start(QStringLiteral(QUORVIA_EXECUTABLE));
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        first.kill();
        QVERIFY(first.waitForFinished());
        third.start(QStringLiteral(QUORVIA_EXECUTABLE));
        QVERIFY(third.waitForStarted());
        QVERIFY(!third.waitForFinished(1500));
        third.kill();
        third.waitForFinished();
    }

    void versionAndHelpNeedNoDisplay() {
        for (const auto& [argument, output] :
             {std::pair{"--version", "Quorvia " QUORVIA_VERSION "\n"},
              std::pair{"-h", "-v, --version   show the version"}}) {
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
