#include "app/commands.h"

#include "platform/qtplatform.h"
#include "study/studyreading.h"
#include "study/studytables.h"
#include "study/studyworkbook.h"

#include <QCoreApplication>

#include <cstdio>

namespace quorvia {

namespace {

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

int runStudyCommand(int& argc, char** argv, const Invocation& invocation) {
    // No window: runs in a script or over ssh, without a display.
    QCoreApplication app(argc, argv);
    const Study study = readStudy(invocation.files, invocation.primary);
    for (const QString& warning : study.warnings)
        print(stderr, QStringLiteral("warning: ") + warning + QLatin1Char('\n'));
    for (const QString& left : study.leftOut)
        print(stderr, left + QLatin1Char('\n'));
    if (study.participants.empty()) {
        print(stderr, QStringLiteral("quorvia: no session can be reported.\n"));
        return 2;
    }
    print(stdout, studyCsv(studyTable(study, *studyTableFromWord(invocation.table))));
    if (!invocation.output.isEmpty()) {
        XlsxModuleWriter writer;
        if (!writeStudyWorkbook(writer, study, invocation.output)) {
            print(stderr, QStringLiteral("%1 could not be written.\n").arg(invocation.output));
            return 2;
        }
    }
    return study.leftOut.isEmpty() ? 0 : 1;
}

} // namespace quorvia
