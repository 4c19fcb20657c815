#pragma once

#include "agreement/agreement.h"
#include "base/services.h"
#include "report/sessionworkbook.h"
#include "workbook/workbookwriter.h"

#include <QString>

#include <optional>

// Two session workbook files compared, and the agreement workbook written from them.
namespace quorvia {

struct AgreementOfFiles {
    std::optional<SessionWorkbook> primary;
    std::optional<SessionWorkbook> reliability;
    std::optional<Agreement> agreement;
    QString error; // the files that cannot be read, or how their set-ups differ
};

// Reads both files (either may be empty: not chosen yet) and compares them when both are usable.
AgreementOfFiles compareFiles(const QString& primaryPath, const QString& reliabilityPath);

// The agreement workbook (the measures beside both headers, then the interval values) through
// the session workbook's all-or-nothing save. False when nothing was compared or the save failed.
bool writeAgreementWorkbook(WorkbookWriter& writer, const AgreementOfFiles& files,
                            const QString& primaryPath, const QString& reliabilityPath,
                            const QString& path);

} // namespace quorvia
