#include "app/mainwindow.h"
#include "app/scriptedsession.h"
#include "app/singleinstance.h"
#include "platform/qtplatform.h"
#include "platform/sqlitejournal.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvia"));

    // A second copy ends at once, showing nothing and touching nothing.
    quorvia::SingleInstance instance;
    if (!instance.acquired())
        return 0;

    quorvia::SystemClock clock;
    quorvia::ToneBeeper beeper;
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
