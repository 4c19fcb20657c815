#pragma once

#include "recording/sessionparameters.h"

#include <QString>

#include <cstdint>
#include <vector>

// What the session journal keeps of a session: how it stood at the Start press, then everything
// that changed it, in the order it happened.
namespace quorvia {

enum class JournalEventKind : int {
    Entry = 1,     // a key entry in the log
    Tick = 2,      // one second of recorded time
    Pause = 3,     // ESC: the "Session Paused" entry
    Resume = 4,    // "Resume"
    Terminate = 5, // "Terminate": the "Session Terminated" end entry
    Finish = 6,    // the last tick: the "Session Finished" end entry
};

struct JournalEvent {
    JournalEventKind kind = JournalEventKind::Tick;
    std::int64_t row = 0;      // the log row written (entries and end entries), else 0
    int slot = 0;              // the slot counted (Entry), else 0
    std::int64_t elapsed = 0;  // recorded seconds after the event
    std::int64_t interval = 0; // current interval after the event
    QString clock;             // clock text after the event
    QString text;              // the row's event text (entries and end entries)
    QString stamp;             // time of day "hh:nn:ss.cc" (Tick, Pause, Finish)
};

// The session as it stood at the Start press: its parameters (the key slots' behaviour names and
// mode values among them) and the start stamp.
struct JournalSessionStart : SessionParameters {
    QString startedAt; // the start stamp "hh:nn:ss.cc"
};

struct JournaledSession {
    std::int64_t id = 0;
    JournalSessionStart start;
    std::vector<JournalEvent> events; // in the order they happened
};

} // namespace quorvia
