#pragma once

#include "base/services.h"

#include <QString>

// Choosing the file a window saves to, the same in every window.
namespace quorvia {

// The path a name chosen in a save dialog is saved under: as it is when it ends in one of the
// endings of the request's filters (in any case of its letters), else with the first ending of
// the chosen filter added (results -> results.xlsx, data.xls -> data.xls.xlsx). The chosen
// filter is the first one when it is not one of them.
QString pathWithEnding(const QString& chosen, const QString& filters, const QString& chosenFilter);

// The save dialog of the request, then the ending added, then, for an added ending, the question
// "<name> already exists. Do you want to replace it?" about the name the dialog never saw. The
// path to save to; empty when the dialog was cancelled or the file is not to be replaced.
QString chooseSavePath(QWidget* parent, FileDialogs& dialogs, MessageBoxes& messages,
                       const FileDialogRequest& request);

} // namespace quorvia
