#include "app/mainwindow.h"
#include "app/scriptedsession.h"
#include "app/singleinstance.h"
#include "platform/qtplatform.h"
#include "platform/sqlitejournal.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <memory>

namespace {

// --help and --version need no display: they are answered by a plain core application.
std::unique_ptr<QCoreApplication> createApplication(int& argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "--help-all" ||
            argument == "-v" || argument == "--version")
            return std::make_unique<QCoreApplication>(argc, argv);
    }
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("Quorvia"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVIA_VERSION));
    const std::unique_ptr<QCoreApplication> app = createApplication(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Records direct behaviour observation sessions: keys typed during a session are counted "
        "per interval and saved as a session workbook."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(*app);

    // The desktop entry and the icon carry the application's id (see data/).
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVIA_APP_ID));
    QIcon icon;
    for (const int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1/" QUORVIA_APP_ID ".png").arg(size));
    QApplication::setWindowIcon(icon);

    // A second copy ends at once, showing nothing and touching nothing.
    quorvia::SingleInstance instance;
    if (!instance.acquired())
        return 0;

    quorvia::SystemClock clock;
    quorvia::ToneBeeper beeper; // opens the sound output at its first tone
    quorvia::QtFileDialogs dialogs;
    quorvia::QtMessageBoxes messages;
    quorvia::XlsxWorkbookWriter workbooks;
    quorvia::SqliteJournalStore journal;
    quorvia::Platform platform{clock, beeper, dialogs, messages, workbooks, &journal};

    quorvia::MainWindow window(platform);
    window.startUp();
    window.recoverSessions();
    quorvia::startScriptedSession(window, qEnvironmentVariable("QUORVIA_TEST_SESSION"));
    window.show();
    return QApplication::exec();
}
