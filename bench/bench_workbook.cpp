// Time and peak memory of the largest session workbook: 3600 s in 1-s intervals, ten keys (five
// On/Off, five counted) and 100,000 rows of entry log, built into a worksheet and written as a
// workbook file by the real writer.
//
//   cmake --build build --target benchmarks && build/bench/bench_workbook [repetitions]
#include "largestsession.h"
#include "workbook/xlsxworkbookwriter.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace quorvia;

namespace {

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss; // KiB on Linux
}

} // namespace

int main(int argc, char* argv[]) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const SessionRecord record = bench::largestSession();
    if (record.nextEntry != bench::kLargestLogRows || record.state != SessionState::SavePending) {
        std::fprintf(stderr, "the session did not come out as planned\n");
        return 1;
    }
    const long recordedKiB = peakResidentKiB();

    const SessionSheetInputs inputs = bench::largestSessionInputs();

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("P07-3-base-KT.xlsx"));
    XlsxWorkbookWriter writer;
    std::vector<double> buildMs;
    std::vector<double> writeMs;
    std::vector<double> totalMs;
    std::size_t cells = 0;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        const Worksheet sheet = buildSessionSheet(record, inputs);
        const double built = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (!writer.write(sheet, path)) {
            std::fprintf(stderr, "the workbook could not be written\n");
            return 1;
        }
        const double total = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        cells = sheet.cells().size();
        buildMs.push_back(built);
        writeMs.push_back(total - built);
        totalMs.push_back(total);
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const auto minimum = [](const std::vector<double>& v) {
        return *std::min_element(v.begin(), v.end());
    };

    std::printf("largest workbook: %d s in 1-s intervals, 10 keys, %lld log rows, %zu cells\n",
                bench::kLargestSeconds, static_cast<long long>(bench::kLargestLogRows), cells);
    std::printf("repetitions: %d\n", repetitions);
    std::printf("build worksheet: median %.1f ms, min %.1f ms\n", median(buildMs),
                minimum(buildMs));
    std::printf("write workbook:  median %.1f ms, min %.1f ms\n", median(writeMs),
                minimum(writeMs));
    std::printf("build + write:   median %.1f ms, min %.1f ms\n", median(totalMs),
                minimum(totalMs));
    std::printf("file size: %lld bytes\n", static_cast<long long>(QFileInfo(path).size()));
    std::printf("peak resident memory: %ld KiB after recording, %ld KiB at the end\n", recordedKiB,
                peakResidentKiB());
    return 0;
}
