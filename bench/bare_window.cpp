// The yardstick for the start-up measurement: a bare Qt window of the main window's size, with
// nothing in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(767, 445); // the main window's client area
    window.show();
    return QApplication::exec();
}
