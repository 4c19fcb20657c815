// Handlers of the save prompt at the end of a session.
#include "app/mainwindow.h"

#include "app/controlvalues.h"

#include "app/worksheetwindow.h"
#include "report/sessionsheet.h"
#include "report/workbookname.h"

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
    journal_.remove(journal_.current());
}

void MainWindow::command7Click() {
    Frame3->setEnabled(false);
    Command1->setEnabled(true);
    record_.state = SessionState::AwaitingConfirm;
    openWorksheet(record_, sheetInputs(), journal_.current(), QString());
}

SessionSheetInputs MainWindow::sheetInputs() const {
    SessionSheetInputs inputs;
    inputs.startedAt = Label21->text();
    inputs.endedAt = Label25->text();
    const int slotsUsed = std::min(record_.keyCount, kSlotCount);
    for (int i = 1; i <= slotsUsed; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        inputs.slotControls.push_back({Text4[slot]->text(), checkValue(Check3[slot])});
    }
    return inputs;
}

void MainWindow::openWorksheet(const SessionRecord& record, const SessionSheetInputs& inputs,
                               std::int64_t journalId, const QString& titleSuffix) {
    WorksheetWindow* sheetWindow = nullptr;
    try {
        sheetWindow = new WorksheetWindow(platform_, buildSessionSheet(record, inputs),
                                          defaultWorkbookName(record), this);
    } catch (...) {
        platform_.messages.inform(this,
                                  QStringLiteral("Excel does not exist.\r\nData were not saved."));
        return;
    }
    sheetWindow->setWindowTitle(sheetWindow->windowTitle() + titleSuffix);
    connect(sheetWindow, &WorksheetWindow::saveFinished, this,
            [this, journalId](const QString& path) {
                filePath_ = path;
                if (!path.isEmpty())
                    journal_.remove(journalId);
            });
    sheetWindow->show();
    sheetWindow->saveAs();
}

} // namespace quorvia
