// The whole agreement command, as a script runs it, on two of the largest session workbooks:
// 3600 s in 1-s intervals, ten keys (five On/Off, five counted), 100,000 log rows each, written by
// the program's own writer; the second observer misses every 50th press. Wall time per run and
// the command's peak resident memory.
//
//   cmake --build build --target benchmarks && build/bench/bench_agreement [repetitions]
#include "commandruns.h"
#include "largestsession.h"
#include "workbook/xlsxworkbookwriter.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace quorvia;

namespace {

bool writeLargest(const QString& path, int missEvery) {
    return XlsxWorkbookWriter().write(
        buildSessionSheet(bench::largestSession(missEvery), bench::largestSessionInputs()), path);
}

} // namespace

int main(int argc, char* argv[]) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir folder;
    if (qEnvironmentVariableIsSet("BENCH_KEEP")) { // the workbooks stay for trying by hand
        folder.setAutoRemove(false);
        std::printf("workbooks in %s\n", qPrintable(folder.path()));
    }
    const QString primary = folder.filePath(QStringLiteral("primary.xlsx"));
    const QString reliability = folder.filePath(QStringLiteral("reliability.xlsx"));
    if (!writeLargest(primary, 0) || !writeLargest(reliability, 50)) {
        std::fprintf(stderr, "the workbooks could not be written\n");
        return 1;
    }
    for (const bool withOutput : {false, true}) {
        QStringList arguments{QStringLiteral("agreement"), primary, reliability};
        if (withOutput)
            arguments << QStringLiteral("--output") << folder.filePath(QStringLiteral("ioa.xlsx"));
        const auto runs =
            bench::runCommand(QStringLiteral(QUORVIA_EXECUTABLE), arguments, repetitions);
        if (!runs)
            return 1;
        const auto& ms = runs->wallMs;
        const auto& cpu = runs->cpuMs;
        const qsizetype rows = runs->output.count('\n');
        std::printf("quorvia %s: %lld CSV lines, processor time median %.0f ms (min %.0f), "
                    "wall median %.0f ms, min %.0f ms, max %.0f ms (%d runs)\n",
                    withOutput ? "agreement A B --output C" : "agreement A B",
                    static_cast<long long>(rows), cpu[cpu.size() / 2], cpu.front(),
                    ms[ms.size() / 2], ms.front(), ms.back(), repetitions);
    }
    std::printf("peak resident memory of the command: %ld KiB\n", bench::childrenPeakKiB());
    return 0;
}
