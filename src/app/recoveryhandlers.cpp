// Start-up with sessions left in the journal by a run that ended before they were saved.
#include "app/mainwindow.h"

#include "journal/sessionjournal.h"

#include <exception>

namespace quorvia {

void MainWindow::attachJournal(JournalStore* store) {
    platform_.journal = store;
    journal_ = SessionJournal(store);
}

void MainWindow::recoverSessions() {
    JournalStore* store = platform_.journal;
    if (store == nullptr)
        return;
    if (const QString message = journalStatusMessage(store->status()); !message.isEmpty())
        platform_.messages.inform(this, message);

    for (const JournaledSession& journaled : store->sessions()) {
        RebuiltSession session;
        try {
            session = rebuildSession(journaled);
        } catch (const std::exception&) {
            continue; // kept in the journal as it is
        }
        if (platform_.messages.askYesNoDefaultYes(this, recoveryQuestion(session)))
            openWorksheet(session.record, session.inputs, session.id,
                          QStringLiteral(" (recovered)"));
        else if (platform_.messages.askYesNo(this,
                                             QStringLiteral("Discard this session for good?")))
            journal_.remove(session.id);
    }
}

void MainWindow::tellIfUnprotected() {
    if (journal_.takeUnprotectedNotice())
        platform_.messages.inform(
            this, QStringLiteral("This session could not be written to the journal.\r\nIt is not "
                                 "protected against a crash until it is saved."));
}

} // namespace quorvia
