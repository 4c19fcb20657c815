#include "app/mainwindow.h"
#include "app/singleinstance.h"
#include "graph/graphcommand.h"
#include "platform/qtplatform.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[]) {
    if (quorvia::isGraphCommand(argc, argv))
        return quorvia::runGraphCommand(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvia"));

    QCommandLineParser parser;
    parser.addHelpOption();
    quorvia::addGraphOptions(parser);
    parser.process(app);
    // The graph window is a tool beside the recorder, not bound by the single-copy rule.
    if (quorvia::wantsGraphWindow(parser))
        return quorvia::runGraphWindow(parser.positionalArguments());

    // A second copy ends at once, showing nothing and touching nothing.
    quorvia::SingleInstance instance;
    if (!instance.acquired())
        return 0;

    quorvia::SystemClock clock;
    quorvia::ToneBeeper beeper;
    quorvia::QtFileDialogs dialogs;
    quorvia::QtMessageBoxes messages;
    quorvia::XlsxWorkbookWriter workbooks;
    quorvia::Platform platform{clock, beeper, dialogs, messages, workbooks};

    quorvia::MainWindow window(platform);
    window.startUp();
    window.show();
    return QApplication::exec();
}
