#include "app/commands.h"
#include "app/mainwindow.h"
#include "app/scriptedsession.h"
#include "app/singleinstance.h"
#include "graph/graphcommand.h"
#include "platform/qtplatform.h"
#include "platform/sqlitejournal.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    quorvia::describeApplication();
    // The graph command has options of its own; it reads its whole command line itself.
    if (quorvia::isGraphCommand(argc, argv))
        return quorvia::runGraphCommand(argc, argv);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const quorvia::Invocation invocation = quorvia::parseInvocation(arguments);
    switch (invocation.action) {
    case quorvia::Invocation::Action::Help:
        std::fputs(quorvia::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case quorvia::Invocation::Action::Version:
        std::printf("Quorvia %s\n", QUORVIA_VERSION);
        return 0;
    case quorvia::Invocation::Action::Misuse:
        std::fprintf(stderr, "quorvia: %s\n\n%s", invocation.message.toLocal8Bit().constData(),
                     quorvia::helpText().toLocal8Bit().constData());
        return 2;
    // None of these is subject to the one-copy rule.
    case quorvia::Invocation::Action::AgreementCommand:
        return quorvia::runAgreementCommand(argc, argv, invocation);
    case quorvia::Invocation::Action::AgreementWindow:
        return quorvia::runAgreementWindow(argc, argv);
    case quorvia::Invocation::Action::GraphWindow: {
        QApplication app(argc, argv);
        quorvia::setApplicationIcon();
        return quorvia::runGraphWindow(invocation.files);
    }
    case quorvia::Invocation::Action::MainWindow:
        break;
    }

    QApplication app(argc, argv);
    quorvia::setApplicationIcon();

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
    // The tone's module is loaded once the window is up; no tone is due before the first
    // interval of a session has ended.
    QTimer::singleShot(300, &window, [&beeper] { beeper.prepare(); });
    return QApplication::exec();
}
