#pragma once

#include "recording/sessionrecord.h"

#include <QString>

// How the session workbook is named.
namespace quorvia {

inline const QString kWorkbookExtension = QStringLiteral(".xlsx");
inline const QString kWorkbookFilter = QStringLiteral("Excel File (*.xlsx)");

// The name proposed in the Save As dialog: participant, session number, condition and observer
// joined by "-", then ".xlsx" (P07-3-base-KT.xlsx). Each "/" and control character (C0, DEL,
// C1) in them becomes "_", so that the name is always one valid file name; the cells keep the
// texts as typed.
QString defaultWorkbookName(const SessionRecord& record);

} // namespace quorvia
