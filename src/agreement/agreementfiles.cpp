#include "agreement/agreementfiles.h"

#include "platform/workbookreader.h"

#include <QFileInfo>

namespace quorvia {

AgreementOfFiles compareFiles(const QString& primaryPath, const QString& reliabilityPath) {
    AgreementOfFiles files;
    QStringList errors;
    const auto read = [&](const QString& path, std::optional<SessionWorkbook>& workbook) {
        if (path.isEmpty())
            return;
        SessionWorkbookResult result = readSessionWorkbook(path);
        workbook = std::move(result.workbook);
        if (!workbook)
            errors << result.error;
    };
    read(primaryPath, files.primary);
    read(reliabilityPath, files.reliability);
    if (files.primary && files.reliability) {
        AgreementResult result = compareWorkbooks(*files.primary, *files.reliability);
        files.agreement = std::move(result.agreement);
        if (!files.agreement)
            errors << result.error;
    }
    files.error = errors.join(QLatin1Char('\n'));
    return files;
}

bool writeAgreementWorkbook(WorkbookWriter& writer, const AgreementOfFiles& files,
                            const QString& primaryPath, const QString& reliabilityPath,
                            const QString& path) {
    if (!files.agreement || !files.primary || !files.reliability)
        return false;
    const Worksheet summary = agreementSummarySheet(
        *files.agreement, *files.primary, *files.reliability, QFileInfo(primaryPath).fileName(),
        QFileInfo(reliabilityPath).fileName());
    const Worksheet intervals = agreementIntervalSheet(*files.primary, *files.reliability);
    return writer.writeSheets(
        {{QStringLiteral("Agreement"), &summary}, {QStringLiteral("Intervals"), &intervals}}, path);
}

} // namespace quorvia
