// Handlers of the parameter file: Save Parameters and Load Parameters.
#include "app/mainwindow.h"

namespace quorvia {

void MainWindow::command5Click() {
    // TODO(parameters): load a parameter file.
}

void MainWindow::command6Click() {
    // TODO(parameters): save a parameter file.
}

} // namespace quorvia
