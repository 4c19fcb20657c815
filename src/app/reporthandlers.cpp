// Handlers of the save prompt at the end of a session.
#include "app/mainwindow.h"

#include "app/controlvalues.h"

#include "report/sessionsheet.h"
#include "report/workbookname.h"
#include "report/worksheetwindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

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

    WorksheetWindow* sheetWindow = nullptr;
    try {
        SessionSheetInputs inputs;
        inputs.startedAt = Label21->text();
        inputs.endedAt = Label25->text();
        const int slotsUsed = std::min(record_.keyCount, kSlotCount);
        for (int i = 1; i <= slotsUsed; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            inputs.slotControls.push_back({Text4[slot]->text(), checkValue(Check3[slot])});
        }
        sheetWindow = new WorksheetWindow(platform_, buildSessionSheet(record_, inputs),
                                          defaultWorkbookName(record_), this);
    } catch (...) {
        platform_.messages.inform(this,
                                  QStringLiteral("Excel does not exist.\r\nData were not saved."));
        return;
    }
    connect(sheetWindow, &WorksheetWindow::saveFinished, this,
            [this](const QString& path) { filePath_ = path; });
    sheetWindow->show();
    sheetWindow->saveAs();
}

} // namespace quorvia
