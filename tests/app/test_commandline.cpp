// --help and --version of the real executable, answered without a display.
#include <QProcess>
#include <QTest>

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void answersWithoutDisplay_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("output");
        QTest::newRow("--version") << "--version"
                                   << "Quorvia " QUORVIA_VERSION "\n";
        QTest::newRow("-v") << "-v"
                            << "Quorvia " QUORVIA_VERSION "\n";
        QTest::newRow("--help") << "--help"
                                << "  -v, --version  Displays version information.\n";
        QTest::newRow("-h") << "-h"
                            << "Usage: " QUORVIA_EXECUTABLE " [options]\n";
    }
    void answersWithoutDisplay() {
        QFETCH(QString, argument);
        QFETCH(QString, output);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUORVIA_EXECUTABLE), {argument});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString printed = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(printed.contains(output), qPrintable(printed));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_commandline.moc"
