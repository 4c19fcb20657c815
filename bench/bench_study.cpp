// The whole study command, as a script runs it: `quorvia study FOLDER --table summary` on 10
// participants x 100 sessions with a reliability record of every third (1,330 workbooks of
// 30-minute sessions in 10-s intervals, five keys, written by the program's own writer), and on
// a folder of 10,000 workbooks (10 participants x 750 sessions, 250 reliability records each).
// Wall and processor time per run (the machine may be shared: processor time says what the
// command itself needs), and the command's peak resident memory.
//
//   cmake --build build --target benchmarks && build/bench/bench_study [repetitions]
//   BENCH_DIR=folder keeps the workbooks there (and uses them again when they are there).
//   BENCH_TRY=folder only writes a study to try by hand: one participant, 9 sessions in phases
//   of 4 (Baseline, Intervention, Baseline), sessions 3, 6 and 9 recorded again.
#include "commandruns.h"
#include "studyfolder.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

int countWorkbooks(const QString& folder) {
    int n = 0;
    QDirIterator it(folder, {QStringLiteral("*.xlsx")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++n;
    }
    return n;
}

bool measure(const QString& folder, int participants, int sessions, int expected, int repetitions) {
    if (countWorkbooks(folder) != expected) {
        std::printf("writing %d workbooks to %s ...\n", expected, qPrintable(folder));
        std::fflush(stdout);
        if (!bench::writeStudy(folder, participants, sessions)) {
            std::fprintf(stderr, "the workbooks could not be written\n");
            return false;
        }
    }
    const QStringList arguments{QStringLiteral("study"), folder, QStringLiteral("--table"),
                                QStringLiteral("summary")};
    const long peakBefore = bench::childrenPeakKiB();
    const auto runs =
        bench::runCommand(QStringLiteral(QUORVIA_EXECUTABLE), arguments, repetitions, 300000);
    if (!runs)
        return false;
    const auto& ms = runs->wallMs;
    const auto& cpu = runs->cpuMs;
    std::printf("quorvia study (%d workbooks) --table summary: %lld CSV lines, wall median %.0f ms "
                "(min %.0f, max %.0f), processor time median %.0f ms (min %.0f), %d runs\n",
                expected, static_cast<long long>(runs->output.count('\n')), ms[ms.size() / 2],
                ms.front(), ms.back(), cpu[cpu.size() / 2], cpu.front(), repetitions);
    const long peak = bench::childrenPeakKiB();
    std::printf("peak resident memory of the command: %ld KiB%s\n", peak,
                peak == peakBefore ? " (no more than the runs before)" : "");
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (qEnvironmentVariableIsSet("BENCH_TRY"))
        return bench::writeStudy(qEnvironmentVariable("BENCH_TRY"), 1, 9, 4) ? 0 : 1;
    QTemporaryDir temporary;
    const QString root = qEnvironmentVariableIsSet("BENCH_DIR") ? qEnvironmentVariable("BENCH_DIR")
                                                                : temporary.path();
    const bool ok = measure(root + QStringLiteral("/study"), 10, 100, 1330, repetitions) &&
                    measure(root + QStringLiteral("/large"), 10, 750, 10000, repetitions);
    return ok ? 0 : 1;
}
