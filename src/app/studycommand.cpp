#include "app/commands.h"

#include "platform/qtplatform.h"
#include "study/studyreading.h"
#include "study/studytables.h"
#include "study/studyworkbook.h"

#include <QCoreApplication>

#include <cstdio>

namespace quorvia {

int runStudyCommand(int& argc, char** argv, const Invocation& invocation) {
    // No window: runs in a script or over ssh, without a display.
    QCoreApplication app(argc, argv);
    const Study study = readStudy(invocation.files, invocation.primary);
    for (const QString& warning : study.warnings)
        printTo(stderr, QStringLiteral("warning: ") + warning + QLatin1Char('\n'));
    for (const QString& left : study.leftOut)
        printTo(stderr, left + QLatin1Char('\n'));
    if (study.participants.empty()) {
        printTo(stderr, QStringLiteral("quorvia: no session can be reported.\n"));
        return 2;
    }
    printTo(stdout, studyCsv(studyTable(study, *studyTableFromWord(invocation.table))));
    if (!invocation.output.isEmpty()) {
        XlsxModuleWriter writer;
        if (!writeStudyWorkbook(writer, study, invocation.output)) {
            printTo(stderr, QStringLiteral("%1 could not be written.\n").arg(invocation.output));
            return 2;
        }
    }
    return study.leftOut.isEmpty() ? 0 : 1;
}

} // namespace quorvia
