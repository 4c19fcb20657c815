// Start-up with sessions left in the journal by a run that ended before they were saved.
#include "app/mainwindow.h"

#include "journal/sessionjournal.h"

#include <QDir>

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
    if (!store->setAsidePath().isEmpty())
        platform_.messages.inform(
            this, QStringLiteral("The session journal could not be read and was set aside as\r\n"
                                 "%1\r\nA new journal has been started.")
                      .arg(QDir::toNativeSeparators(store->setAsidePath())));
    else if (!store->isOpen())
        platform_.messages.inform(
            this, QStringLiteral("The session journal cannot be written.\r\nSessions are not "
                                 "protected against a crash until they are saved."));

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
