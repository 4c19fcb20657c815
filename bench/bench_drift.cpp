// Drift of the session clock against the wall clock: a real session on the event loop, driven by
// the window's own Timer1, with the real time of day for the start and end stamps, and with the
// session journal on (an SQLite file in a temporary folder on disk, synced on every tick).
//
//   build/bench/bench_drift [seconds] [characters per second] [--no-journal]
//
// Defaults: a 120-s session with 30-s intervals while a bound key is typed 28 times a second
// (key auto-repeat), so the ticks compete with key presses as they do when an observer codes.
// Pass 0 characters per second for an idle session. Runs on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise; takes as long as the session.
#include "app/mainwindow.h"
#include "platform/qtplatform.h"
#include "platform/sqlitejournal.h"
#include "sessionsetup.h"
#include "support/fakeplatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace quorvia;

namespace {

// Milliseconds since midnight of a stamp "hh:nn:ss.cc"; -1 when it is not one.
qint64 stampMs(const QString& stamp) {
    const QStringList parts = stamp.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return -1;
    const QStringList seconds = parts[2].split(QLatin1Char('.'));
    if (seconds.size() != 2 || seconds[1].size() != 2)
        return -1;
    return ((parts[0].toLongLong() * 60 + parts[1].toLongLong()) * 60 + seconds[0].toLongLong()) *
               1000 +
           seconds[1].toLongLong() * 10;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int duration = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 120;
    const int typingRate = argc > 2 ? std::max(0, QString::fromLocal8Bit(argv[2]).toInt()) : 28;
    const bool journalOn = !(argc > 3 && QByteArray(argv[3]) == "--no-journal");

    SystemClock clock;
    test::FakeBeeper beeper;
    test::FakeFileDialogs dialogs;
    test::FakeMessageBoxes messages;
    test::FakeWorkbookWriter workbooks;
    QTemporaryDir folder(QDir::current().filePath(QStringLiteral("bench-journal-XXXXXX")));
    SqliteJournalStore journal(folder.filePath(QStringLiteral("journal.sqlite")));
    if (journalOn && !journal.isOpen())
        return 1;
    Platform platform{clock, beeper, dialogs, messages, workbooks, journalOn ? &journal : nullptr};
    MainWindow window(platform);
    window.show();
    window.Check2->setChecked(true); // beeps are counted, not sounded
    if (!bench::setUpSession(window, QStringLiteral("ab"), QString::number(duration),
                             QStringLiteral("30")))
        return 1;

    std::printf("bench_drift: %d-s session, 30-s intervals, %d characters a second typed, "
                "platform %s, journal %s\n",
                duration, typingRate, qPrintable(QApplication::platformName()),
                journalOn ? qPrintable(folder.path()) : "off");
    std::fflush(stdout);

    QEventLoop loop;
    QElapsedTimer sinceStart;
    std::vector<qint64> tickMs; // wall time of each tick after Start
    std::vector<double> syncMs; // time each tick spent making the journal durable
    qint64 finishedMs = -1;
    // Runs after the window's own tick handler (connected first).
    QObject::connect(window.Timer1, &QTimer::timeout, &app, [&] {
        tickMs.push_back(sinceStart.elapsed());
        syncMs.push_back(journal.lastSyncSeconds() * 1000);
        if (window.Label1->text() == QLatin1String("Finished")) {
            finishedMs = sinceStart.elapsed();
            // A local loop: quitting the application would first try to close the window, which
            // asks before losing the unsaved session.
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
        }
    });
    QTimer typing;
    if (typingRate > 0) {
        typing.setInterval(1000 / typingRate);
        QObject::connect(&typing, &QTimer::timeout, &window, [&] { window.keyPress(u'a'); });
    }

    sinceStart.start();
    window.Command1->click(); // Start
    if (typingRate > 0)
        typing.start();
    QTimer::singleShot((duration + 30) * 1000, &loop, &QEventLoop::quit); // never hang
    loop.exec();
    typing.stop();

    if (finishedMs < 0) {
        std::printf("the session did not finish\n");
        return 1;
    }
    const SessionRecord& r = window.record();
    const QString started = window.Label21->text();
    const QString ended = window.Label25->text();
    qint64 stampDiff = stampMs(ended) - stampMs(started);
    if (stampDiff < 0)
        stampDiff += 24LL * 3600 * 1000; // over midnight

    // Lateness of tick k against k whole seconds after Start.
    std::vector<qint64> lateness;
    for (std::size_t k = 0; k < tickMs.size(); ++k)
        lateness.push_back(tickMs[k] - static_cast<qint64>(k + 1) * 1000);
    const auto [minLate, maxLate] = std::minmax_element(lateness.begin(), lateness.end());
    double meanLate = 0;
    for (qint64 v : lateness)
        meanLate += double(v);
    meanLate /= double(lateness.size());

    const double recorded = static_cast<double>(r.elapsedSeconds);
    std::printf("recorded seconds:                 %lld (clock %s, %zu ticks)\n",
                static_cast<long long>(r.elapsedSeconds), qPrintable(r.clockText), tickMs.size());
    std::printf("Start stamp (Label21):            %s\n", qPrintable(started));
    std::printf("Finished stamp (Label25):         %s\n", qPrintable(ended));
    std::printf("stamps apart:                     %.2f s (drift %+.2f s, %+.3f %%)\n",
                double(stampDiff) / 1000, double(stampDiff) / 1000 - recorded,
                (double(stampDiff) / 1000 - recorded) / recorded * 100);
    std::printf("QElapsedTimer, Start to Finished: %.3f s (drift %+.3f s)\n",
                double(finishedMs) / 1000, double(finishedMs) / 1000 - recorded);
    std::printf("tick k after k s:                 late by %lld .. %lld ms, mean %.1f ms, "
                "last %lld ms\n",
                static_cast<long long>(*minLate), static_cast<long long>(*maxLate), meanLate,
                static_cast<long long>(lateness.back()));
    std::printf("entries logged:                   %lld, beeps %d\n",
                static_cast<long long>(r.nextEntry - 1), beeper.beeps);
    if (journalOn) {
        std::sort(syncMs.begin(), syncMs.end());
        double meanSync = 0;
        for (double v : syncMs)
            meanSync += v;
        meanSync /= double(syncMs.size());
        qsizetype journaled = 0;
        const std::vector<JournaledSession> sessions = journal.sessions();
        for (const JournalEvent& e : sessions.at(0).events)
            journaled += e.kind == JournalEventKind::Entry ? 1 : 0;
        std::printf("journal sync per tick:            mean %.1f ms, median %.1f ms, max %.1f ms\n",
                    meanSync, syncMs[syncMs.size() / 2], syncMs.back());
        std::printf("entries journaled:                %lld\n", static_cast<long long>(journaled));
    }
    return std::abs(double(stampDiff) / 1000 - recorded) < 1.0 ? 0 : 2;
}
