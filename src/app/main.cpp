#include "app/commands.h"
#include "app/mainwindow.h"
#include "app/scriptedsession.h"
#include "app/singleinstance.h"
#include "platform/qtplatform.h"
#include "platform/sqlitejournal.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <thread>

#include <fontconfig/fontconfig.h>

int main(int argc, char* argv[]) {
    quorvia::describeApplication();
    // The graph command has options of its own; it reads its whole command line itself.
    if (quorvia::isGraphCommand(argc, argv))
        return quorvia::runGraphCommand(argc, argv);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // A plain start, the usual one, asks for the window without reading options.
    const quorvia::Invocation invocation =
        arguments.isEmpty() ? quorvia::Invocation{} : quorvia::parseInvocation(arguments);
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
    case quorvia::Invocation::Action::StudyCommand:
        return quorvia::runStudyCommand(argc, argv, invocation);
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

    // Fontconfig reads its configuration and font caches while the application connects to the
    // display; the window's first captions then find the font database ready.
    std::thread fontsReady([] { FcInit(); });
    QApplication app(argc, argv);
    fontsReady.join();

    // A second copy ends at once, showing nothing and touching nothing.
    quorvia::SingleInstance instance;
    if (!instance.acquired())
        return 0;

    quorvia::SystemClock clock;
    quorvia::ToneBeeper beeper;
    quorvia::QtFileDialogs dialogs;
    quorvia::QtMessageBoxes messages;
    quorvia::XlsxModuleWriter workbooks;
    quorvia::Platform platform{clock, beeper, dialogs, messages, workbooks, nullptr};
    std::unique_ptr<quorvia::SqliteJournalStore> journal;

    quorvia::MainWindow window(platform);
    window.startUp();
    window.show();
    // What the window does not need to appear comes once it is up, before anything typed or
    // clicked is handled: the icon, the journal and the sessions an earlier run left in it.
    QTimer::singleShot(0, &window, [&] {
        quorvia::setApplicationIcon();
        journal = std::make_unique<quorvia::SqliteJournalStore>();
        window.attachJournal(journal.get());
        window.recoverSessions();
        quorvia::startScriptedSession(window, qEnvironmentVariable("QUORVIA_TEST_SESSION"));
    });
    // The modules of the tone and of the workbook writer are loaded a little later; no tone is
    // due before the first interval of a session has ended, no workbook before its end.
    QTimer::singleShot(300, &window, [&] {
        beeper.prepare();
        workbooks.prepare();
    });
    return QApplication::exec();
}
