#pragma once

// The program run as a command several times over, as a user's script would run it: wall and
// processor time of each run, sorted, and the peak memory of the runs.

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace bench {

struct CommandRuns {
    std::vector<double> wallMs; // sorted
    std::vector<double> cpuMs;  // user and system time, sorted
    QByteArray output;          // standard output of the last run
};

inline rusage childrenUsage() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage;
}

// Processor time of the finished children so far, in ms: on a busy machine the wall time says
// more about the other processes than about the command.
inline double childrenCpuMs() {
    const rusage usage = childrenUsage();
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The largest resident memory of the finished children, in KiB.
inline long childrenPeakKiB() {
    return childrenUsage().ru_maxrss;
}

// None, with the command's error output printed, when a run fails.
inline std::optional<CommandRuns> runCommand(const QString& program, const QStringList& arguments,
                                             int repetitions, int timeoutMs = 60000) {
    CommandRuns runs;
    for (int i = 0; i < repetitions; ++i) {
        QProcess command;
        QElapsedTimer timer;
        const double cpuBefore = childrenCpuMs();
        timer.start();
        command.start(program, arguments);
        if (!command.waitForFinished(timeoutMs) || command.exitCode() != 0) {
            std::fprintf(stderr, "the command failed: %s\n",
                         command.readAllStandardError().constData());
            return std::nullopt;
        }
        runs.wallMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        runs.cpuMs.push_back(childrenCpuMs() - cpuBefore);
        runs.output = command.readAllStandardOutput();
    }
    std::sort(runs.wallMs.begin(), runs.wallMs.end());
    std::sort(runs.cpuMs.begin(), runs.cpuMs.end());
    return runs;
}

} // namespace bench
