#include "agreement/agreementfiles.h"

#include "report/sessionworkbook.h"

#include <QFileInfo>

#include <future>

namespace quorvia {

AgreementOfFiles compareFiles(const QString& primaryPath, const QString& reliabilityPath) {
    AgreementOfFiles files;
    QStringList errors;
    const auto read = [](const QString& path) {
        return path.isEmpty() ? SessionWorkbookResult{} : readSessionWorkbook(path);
    };
    // The two files are read side by side.
    auto second = std::async(std::launch::async, read, reliabilityPath);
    SessionWorkbookResult first = read(primaryPath);
    SessionWorkbookResult other = second.get();
    for (SessionWorkbookResult* result : {&first, &other}) {
        if (!result->error.isEmpty())
            errors << result->error;
    }
    files.primary = std::move(first.workbook);
    files.reliability = std::move(other.workbook);
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
