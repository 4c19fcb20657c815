// The whole agreement command, as a script runs it, on two of the largest session workbooks:
// 3600 s in 1-s intervals, ten keys (five On/Off, five counted), 100,000 log rows each, written by
// the program's own writer; the second observer misses every 50th press. Wall time per run and
// the command's peak resident memory.
//
//   cmake --build build --target benchmarks && build/bench/bench_agreement [repetitions]
#include "platform/qtplatform.h"
#include "recording/keyinput.h"
#include "recording/sessionclock.h"
#include "report/sessionsheet.h"
#include "support/records.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace quorvia;

namespace {

constexpr int kSeconds = 3600;
constexpr std::int64_t kLogRows = 100000;

bool writeLargest(const QString& path, int missEvery) {
    SessionRecord record = test::freshRecord(QStringLiteral("abcdefghij"), kSeconds, 1);
    record.state = SessionState::Recording;
    const std::int64_t keyEntries = kLogRows - 1;
    std::int64_t typed = 0;
    for (int second = 0; second < kSeconds; ++second) {
        const std::int64_t due = keyEntries * (second + 1) / kSeconds;
        for (; typed < due; ++typed) {
            const QChar key = record.keysToHit.at(static_cast<qsizetype>(typed % 10));
            // A missed press is typed as an unbound character, so the log keeps its length.
            handleKey(record, missEvery > 0 && typed % missEvery == 0 ? U'z' : key.unicode());
        }
        tick(record, 0);
    }
    SessionSheetInputs inputs{{}, QStringLiteral("09:00:00.00"), QStringLiteral("10:00:00.00")};
    for (int s = 1; s <= 10; ++s)
        inputs.slotControls.push_back({QStringLiteral("behaviour %1").arg(s), s % 2});
    return XlsxWorkbookWriter().write(buildSessionSheet(record, inputs), path);
}

long childrenPeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss; // KiB on Linux: the largest of the finished children
}

// Processor time (user and system) of the finished children so far, in ms: on a busy machine
// the wall time says more about the other processes than about the command.
double childrenCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
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
        std::vector<double> ms;
        std::vector<double> cpu;
        qsizetype rows = 0;
        for (int i = 0; i < repetitions; ++i) {
            QProcess command;
            QElapsedTimer timer;
            const double cpuBefore = childrenCpuMs();
            timer.start();
            command.start(QStringLiteral(QUORVIA_EXECUTABLE), arguments);
            if (!command.waitForFinished(60000) || command.exitCode() != 0) {
                std::fprintf(stderr, "the command failed: %s\n",
                             command.readAllStandardError().constData());
                return 1;
            }
            ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            cpu.push_back(childrenCpuMs() - cpuBefore);
            rows = command.readAllStandardOutput().count('\n');
        }
        std::sort(ms.begin(), ms.end());
        std::sort(cpu.begin(), cpu.end());
        std::printf("quorvia %s: %lld CSV lines, processor time median %.0f ms (min %.0f), "
                    "wall median %.0f ms, min %.0f ms, max %.0f ms (%d runs)\n",
                    withOutput ? "agreement A B --output C" : "agreement A B",
                    static_cast<long long>(rows), cpu[cpu.size() / 2], cpu.front(),
                    ms[ms.size() / 2], ms.front(), ms.back(), repetitions);
    }
    std::printf("peak resident memory of the command: %ld KiB\n", childrenPeakKiB());
    return 0;
}
