// Multiple-baseline figures and effect sizes end to end, as the user runs them: participant
// folders of 10-minute sessions in 10-s intervals (five keys), written by the program's own writer
// with the intervention staggered across participants, then
//   - three participants x 100 sessions drawn as a three-tier figure to a 300-dpi PNG, and
//   - the effect sizes of ten participants x 100 sessions printed as CSV,
// each by `quorvia graph` as a process of its own. Reports wall and processor time of each run.
//
//   cmake --build build --target benchmarks quorvia && build/bench/bench_tiers [repetitions
//   [copy.png]]
//   build/bench/bench_tiers write FOLDER   # three participants of 14 sessions, changing at 4, 7
//                                          # and 10, with reliability records, to try by hand
//   build/bench/bench_tiers write10 FOLDER # the effects' study of 10 x 100 workbooks, to profile
#include "commandruns.h"
#include "studyfolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void printRuns(const char* what, const bench::CommandRuns& runs) {
    const auto& wall = runs.wallMs;
    const auto& cpu = runs.cpuMs;
    std::printf("%s\n  wall time: median %.0f ms, min %.0f ms, max %.0f ms\n", what,
                wall[wall.size() / 2], wall.front(), wall.back());
    std::printf("  processor time: median %.0f ms, min %.0f ms, max %.0f ms\n", cpu[cpu.size() / 2],
                cpu.front(), cpu.back());
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "write") == 0) {
        const bool ok =
            bench::writeStudy(QString::fromLocal8Bit(argv[2]), 3, 14, 0, {4, 7, 10}, true, 600, 5);
        std::printf(ok ? "written\n" : "not written\n");
        return ok ? 0 : 1;
    }
    if (argc > 2 && std::strcmp(argv[1], "write10") == 0) { // the effects benchmark's study
        const bool ok = bench::writeStudy(QString::fromLocal8Bit(argv[2]), 10, 100, 0,
                                          {21, 26, 31, 36, 41, 46, 51, 56, 61, 66}, false, 600, 5);
        std::printf(ok ? "written\n" : "not written\n");
        return ok ? 0 : 1;
    }
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir three;
    QTemporaryDir ten;
    if (!bench::writeStudy(three.path(), 3, 100, 0, {26, 41, 56}, false, 600, 5) ||
        !bench::writeStudy(ten.path(), 10, 100, 0, {21, 26, 31, 36, 41, 46, 51, 56, 61, 66}, false,
                           600, 5)) {
        std::fprintf(stderr, "the workbooks could not be written\n");
        return 1;
    }
    const QString program = QStringLiteral(QUORVIA_EXECUTABLE);
    const QString png = three.filePath(QStringLiteral("tiers.png"));
    const auto figure =
        bench::runCommand(program,
                          {QStringLiteral("graph"), three.path(), QStringLiteral("--measure"),
                           QStringLiteral("rpm"), QStringLiteral("--output"), png},
                          repetitions);
    if (!figure)
        return 1;
    const auto effects =
        bench::runCommand(program,
                          {QStringLiteral("graph"), ten.path(), QStringLiteral("--measure"),
                           QStringLiteral("rpm"), QStringLiteral("--effects")},
                          repetitions);
    if (!effects)
        return 1;
    const QImage image(png);
    if (argc > 2)
        QFile::copy(png, QString::fromLocal8Bit(argv[2]));
    std::printf("%d runs each\n", repetitions);
    printRuns(qPrintable(QStringLiteral("3 x 100 workbooks to a three-tier %1x%2 PNG")
                             .arg(image.width())
                             .arg(image.height())),
              *figure);
    printRuns(qPrintable(QStringLiteral("effects of 10 x 100 workbooks, %1 CSV rows")
                             .arg(effects->output.count('\n') - 1)),
              *effects);
    std::printf("peak resident memory of the commands: %ld KiB\n", bench::childrenPeakKiB());
    return 0;
}
