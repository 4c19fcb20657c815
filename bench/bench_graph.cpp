// The graph command end to end: 100 session workbooks of one participant (60 intervals of 1 s,
// ten keys: five On/Off, five counted) written by the program's own writer, then drawn to a PNG
// by `quorvia graph` as a separate process. Reports the wall time of each run and the command's
// peak resident memory.
//
//   cmake --build build --target benchmarks quorvia && build/bench/bench_graph [repetitions
//   [copy.png]]
#include "commandruns.h"
#include "recording/keyinput.h"
#include "recording/sessionclock.h"
#include "report/sessionsheet.h"
#include "support/records.h"
#include "workbook/xlsxworkbookwriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace quorvia;

namespace {

constexpr int kSessions = 100;

Worksheet sessionSheet(int number) {
    SessionRecord record = test::freshRecord(QStringLiteral("abcdefghij"), 60, 1);
    record.sessionNumber = static_cast<std::int16_t>(number);
    record.condition =
        ((number - 1) / 25) % 2 == 0 ? QStringLiteral("Baseline") : QStringLiteral("Token economy");
    record.state = SessionState::Recording;
    for (int second = 0; second < 60; ++second) {
        for (int k = 0; k < 10; ++k) {
            if ((second * 7 + k * 3 + number) % (k + 4) == 0)
                handleKey(record, record.keysToHit.at(k).unicode());
        }
        tick(record, 0);
    }
    SessionSheetInputs inputs;
    for (int s = 1; s <= 10; ++s)
        inputs.slotControls.push_back({QStringLiteral("behaviour %1").arg(s), s % 2});
    inputs.startedAt = QStringLiteral("09:00:00.00");
    inputs.endedAt = QStringLiteral("09:01:00.00");
    return buildSessionSheet(record, inputs);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir folder;
    XlsxWorkbookWriter writer;
    QStringList arguments{QStringLiteral("graph")};
    for (int n = 1; n <= kSessions; ++n) {
        const QString path = folder.filePath(QStringLiteral("P07-%1.xlsx").arg(n));
        if (!writer.write(sessionSheet(n), path)) {
            std::fprintf(stderr, "workbook %d could not be written\n", n);
            return 1;
        }
        arguments << path;
    }
    const QString png = folder.filePath(QStringLiteral("graph.png"));
    arguments << QStringLiteral("--measure") << QStringLiteral("full") << QStringLiteral("--output")
              << png;

    const auto runs = bench::runCommand(QStringLiteral(QUORVIA_EXECUTABLE), arguments, repetitions);
    if (!runs)
        return 1;
    const auto& ms = runs->wallMs;
    const QImage image(png);
    if (argc > 2)
        QFile::copy(png, QString::fromLocal8Bit(argv[2]));
    std::printf("%d workbooks (60 intervals, 10 keys) to a %dx%d PNG, %d runs\n", kSessions,
                image.width(), image.height(), repetitions);
    std::printf("wall time: median %.0f ms, min %.0f ms, max %.0f ms\n", ms[ms.size() / 2],
                ms.front(), ms.back());
    std::printf("peak resident memory of the command: %ld KiB\n", bench::childrenPeakKiB());
    return 0;
}
