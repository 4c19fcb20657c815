// Cost of one key press through the window's key handler, with every display written, over an
// hour's worth of key auto-repeat (100,000 presses) in one session.
//
//   build/bench/bench_keypress [presses]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise. The presses without
// repaint time each press of a long session through MainWindow::keyPress (handler and label writes,
// no repaint) and reports every block of 10,000 presses, so a slowdown as the log grows would show
// as rising block means; it runs once without the session journal and once with it (an SQLite file
// in a temporary folder on disk, each entry committed before the handler returns, a durable sync on
// each tick). The presses with repaint time presses followed by the repaint they cause.
#include "app/mainwindow.h"
#include "platform/sqlitejournal.h"
#include "sessionsetup.h"
#include "support/fakeplatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace quorvia;

namespace {

struct Stats {
    double mean;
    double median;
    double p99;
    double p999;
    double max;
};

Stats statsOf(std::vector<qint64> ns) {
    std::sort(ns.begin(), ns.end());
    double sum = 0;
    for (qint64 v : ns)
        sum += static_cast<double>(v);
    const auto at = [&](double q) {
        return static_cast<double>(ns[static_cast<std::size_t>(q * double(ns.size() - 1))]) / 1e3;
    };
    return {sum / double(ns.size()) / 1e3, at(0.5), at(0.99), at(0.999),
            static_cast<double>(ns.back()) / 1e3};
}

const QString kKeys = QStringLiteral("abc");
constexpr int kBlock = 10000;
constexpr int kPressesPerTick = 28; // key auto-repeat runs at about 28 characters a second

// Presses without repaint: the handler with its label writes, press after press, with the journal
// when one is given. Returns whether every press was counted and logged (and journaled).
bool timePresses(int presses, SqliteJournalStore* journal) {
    test::FakePlatform fakes;
    fakes.platform.journal = journal;
    MainWindow window(fakes.platform);
    window.show();
    if (!bench::setUpSession(window, kKeys, QStringLiteral("3600"), QStringLiteral("10")))
        return false;
    window.Command1->click();
    window.Timer1->stop(); // ticks are driven below, not by the clock

    std::vector<qint64> all;
    all.reserve(static_cast<std::size_t>(presses));
    std::vector<qint64> block;
    block.reserve(kBlock);
    std::vector<qint64> ticks;
    std::vector<qint64> syncs;
    QElapsedTimer timer;
    QElapsedTimer wall;
    wall.start();
    std::printf("  %-17s %9s %9s %9s %9s %9s %10s\n", "presses", "mean us", "median", "p99",
                "p99.9", "max", "capacity");
    for (int n = 0; n < presses; ++n) {
        if (n % kPressesPerTick == kPressesPerTick - 1) {
            timer.start();
            window.timer1Timer();
            ticks.push_back(timer.nsecsElapsed());
            if (journal != nullptr)
                syncs.push_back(static_cast<qint64>(journal->lastSyncSeconds() * 1e9));
        }
        const char32_t c = kKeys.at(n % 3).unicode();
        timer.start();
        window.keyPress(c);
        const qint64 ns = timer.nsecsElapsed();
        block.push_back(ns);
        all.push_back(ns);
        if (block.size() == kBlock) {
            const Stats s = statsOf(block);
            std::printf("  %7d - %7d %9.2f %9.2f %9.2f %9.1f %9.1f %10lld\n", n + 2 - kBlock, n + 1,
                        s.mean, s.median, s.p99, s.p999, s.max,
                        static_cast<long long>(window.record().entryCapacity));
            block.clear();
        }
    }
    const double wallSeconds = double(wall.nsecsElapsed()) / 1e9;
    const Stats s = statsOf(all);
    std::printf("  %-17s %9.2f %9.2f %9.2f %9.1f %9.1f\n", "all", s.mean, s.median, s.p99, s.p999,
                s.max);
    const Stats t = statsOf(ticks);
    std::printf("  tick handler: mean %.1f us, median %.1f us, p99 %.1f us, max %.1f us\n", t.mean,
                t.median, t.p99, t.max);
    if (!syncs.empty()) {
        const Stats y = statsOf(syncs);
        std::printf("  of which the sync (checkpoint to disk): mean %.1f us, median %.1f us, "
                    "p99 %.1f us, max %.1f us\n",
                    y.mean, y.median, y.p99, y.max);
    }
    std::printf("  wall time for %d presses with %lld ticks: %.3f s\n", presses,
                static_cast<long long>(window.record().elapsedSeconds), wallSeconds);

    const SessionRecord& r = window.record();
    std::int64_t counted = 0;
    for (int slot = 1; slot <= 3; ++slot)
        counted += r.keyHits(slot);
    bool intact = r.nextEntry == presses + 1 && counted == presses &&
                  r.entryEvent(presses) == QString(kKeys.at((presses - 1) % 3));
    if (journal != nullptr) {
        const std::vector<JournaledSession> journaled = journal->sessions();
        qsizetype entries = 0;
        for (const JournalEvent& e : journaled.back().events)
            entries += e.kind == JournalEventKind::Entry ? 1 : 0;
        std::printf("  journal: %lld entries\n", static_cast<long long>(entries));
        intact = intact && entries == presses;
    }
    std::printf("  log: %lld entries, capacity %lld, counted %lld: %s\n\n",
                static_cast<long long>(r.nextEntry - 1), static_cast<long long>(r.entryCapacity),
                static_cast<long long>(counted), intact ? "nothing lost" : "ENTRIES LOST");
    return intact;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int presses =
        argc > 1 ? std::max(10000, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;
    std::printf("bench_keypress: %d presses of the keys \"abc\", one clock tick every %d presses\n",
                presses, kPressesPerTick);
    std::printf("platform: %s\n\n", qPrintable(QApplication::platformName()));

    std::printf(
        "Presses without repaint: MainWindow::keyPress, all displays written, no journal\n");
    if (!timePresses(presses, nullptr))
        return 1;
    {
        QTemporaryDir folder(QDir::current().filePath(QStringLiteral("bench-journal-XXXXXX")));
        SqliteJournalStore store(folder.filePath(QStringLiteral("journal.sqlite")));
        std::printf("Presses without repaint, with the session journal: %s\n",
                    qPrintable(folder.path()));
        if (!store.isOpen() || !timePresses(presses, &store))
            return 1;
    }

    // Presses with repaint: each press followed by the repaint it causes.
    {
        test::FakePlatform fakes;
        MainWindow window(fakes.platform);
        window.show();
        QApplication::processEvents();
        if (!bench::setUpSession(window, kKeys, QStringLiteral("3600"), QStringLiteral("10")))
            return 1;
        window.Command1->click();
        window.Timer1->stop();
        QApplication::processEvents();

        constexpr int kPainted = 5000;
        std::vector<qint64> ns;
        ns.reserve(kPainted);
        QElapsedTimer timer;
        for (int n = 0; n < kPainted; ++n) {
            timer.start();
            window.keyPress(kKeys.at(n % 3).unicode());
            QApplication::processEvents();
            ns.push_back(timer.nsecsElapsed());
        }
        const Stats s = statsOf(ns);
        std::printf("Presses with repaint: keyPress and the repaint of the window (offscreen), %d "
                    "presses\n",
                    kPainted);
        std::printf("  mean %.2f us, median %.2f us, p99 %.2f us, max %.1f us\n", s.mean, s.median,
                    s.p99, s.max);
    }
    return 0;
}
