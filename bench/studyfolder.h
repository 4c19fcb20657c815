#pragma once

// A study written by the program's own writer: participants of many 30-minute sessions in 10-s
// intervals with five keys (a, c, e On/Off; b, d counted), phases of 25 sessions alternating
// "Baseline" and "Intervention", every third session recorded again by a second observer who
// misses some presses.

#include "recording/keyinput.h"
#include "recording/sessionclock.h"
#include "report/sessionsheet.h"
#include "support/records.h"
#include "workbook/xlsxworkbookwriter.h"

#include <QDir>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace bench {

struct StudySession {
    QString participant;
    int number = 0;
    QString observer;
    QString condition;
    int missEvery = 0; // the second observer misses every n-th press
    int seconds = 1800;
    int spread = 0; // counted keys' rates vary from session to session over this many steps
};

inline quorvia::Worksheet studySheet(const StudySession& s) {
    quorvia::SessionRecord record =
        quorvia::test::freshRecord(QStringLiteral("abcde"), s.seconds, 10);
    record.participantId = s.participant;
    record.sessionNumber = static_cast<std::int16_t>(s.number);
    record.condition = s.condition;
    record.observerId = s.observer;
    record.state = quorvia::SessionState::Recording;
    const int level = s.condition == QLatin1String("Baseline") ? 3 : 7;
    int pressed = 0;
    for (int second = 0; second < s.seconds; ++second) {
        for (int k = 0; k < 5; ++k) {
            // On/Off keys switch now and then, counted keys are pressed at a rate of the phase.
            const int seed =
                (second * 31 + k * 17 + s.number * 7) %
                (k % 2 == 0 ? 97 : level + 5 + (s.spread ? (s.number * 5 + k) % s.spread : 0));
            if (seed == 0 && (s.missEvery == 0 || ++pressed % s.missEvery != 0))
                quorvia::handleKey(record, record.keysToHit.at(k).unicode());
        }
        quorvia::tick(record, 0);
    }
    quorvia::SessionSheetInputs inputs;
    const char* names[] = {"Hitting", "Talking", "Out of seat", "Hand raising", "On task"};
    for (int slot = 1; slot <= 5; ++slot)
        inputs.slotControls.push_back({QString::fromLatin1(names[slot - 1]), slot % 2});
    inputs.startedAt = QStringLiteral("09:00:00.00");
    inputs.endedAt = QStringLiteral("09:%1:00.00").arg(s.seconds / 60, 2, 10, QLatin1Char('0'));
    return quorvia::buildSessionSheet(record, inputs);
}

// participants x sessions primary workbooks in folder/P01, folder/P02, ..., phases of
// phaseLength sessions, and a reliability record of every third session. With firstIntervention,
// a staggered design instead: participant p in "Baseline" up to session firstIntervention[p - 1],
// in "Intervention" from it. Written on two threads; false when one could not be written.
inline bool writeStudy(const QString& folder, int participants, int sessions, int phaseLength = 25,
                       const std::vector<int>& firstIntervention = {}, bool reliability = true,
                       int seconds = 1800, int spread = 0) {
    std::vector<std::pair<StudySession, QString>> all;
    for (int p = 1; p <= participants; ++p) {
        const QString id = QStringLiteral("P%1").arg(p, 2, 10, QLatin1Char('0'));
        QDir(folder).mkpath(id);
        for (int n = 1; n <= sessions; ++n) {
            const bool baseline = firstIntervention.empty()
                                      ? ((n - 1) / phaseLength) % 2 == 0
                                      : n < firstIntervention.at(static_cast<std::size_t>(p - 1));
            const QString condition =
                baseline ? QStringLiteral("Baseline") : QStringLiteral("Intervention");
            const QString base =
                QStringLiteral("%1/%2/%2-%3").arg(folder, id).arg(n, 4, 10, QLatin1Char('0'));
            all.push_back({{id, n, QStringLiteral("KT"), condition, 0, seconds, spread},
                           base + QStringLiteral("-KT.xlsx")});
            if (reliability && n % 3 == 0)
                all.push_back({{id, n, QStringLiteral("RB"), condition, 9 + n % 5, seconds, spread},
                               base + QStringLiteral("-RB.xlsx")});
        }
    }
    std::atomic<std::size_t> next{0};
    std::atomic<bool> ok{true};
    const auto work = [&] {
        quorvia::XlsxWorkbookWriter writer;
        for (std::size_t i = next++; i < all.size(); i = next++) {
            if (!writer.write(studySheet(all[i].first), all[i].second))
                ok = false;
        }
    };
    std::thread helper(work);
    work();
    helper.join();
    return ok;
}

} // namespace bench
