// Handlers of the save prompt at the end of a session.
#include "app/mainwindow.h"

#include <QGroupBox>
#include <QPushButton>

namespace quorvia {

void MainWindow::command8Click() {
    Frame3->setEnabled(false);
    Command1->setEnabled(true);
    record_.state = SessionState::AwaitingConfirm;
}

void MainWindow::command7Click() {
    Frame3->setEnabled(false);
    Command1->setEnabled(true);
    record_.state = SessionState::AwaitingConfirm;
    // TODO(report): build the worksheet and save the workbook.
}

} // namespace quorvia
