#include "app/mainwindow.h"
#include "app/singleinstance.h"
#include "platform/qtplatform.h"

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
    quorvia::Platform platform{clock, beeper, dialogs, messages, workbooks};

    quorvia::MainWindow window(platform);
    window.startUp();
    window.show();
    return QApplication::exec();
}
