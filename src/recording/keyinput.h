#pragma once

#include "base/keys.h"
#include "recording/sessionrecord.h"

#include <QString>

namespace quorvia {

struct KeyOutcome {
    std::int64_t entryShown = 0; // the row the character's entry takes if it makes one
    int slot = 0;                // first slot bound to the character, 0 when none
    bool paused = false;         // the character was ESC and paused the session
};

// One typed character (a code point) while recording: counts and logs a bound key, pauses on ESC
// (writing the "Session Paused" entry), and grows the log when it is full. Unbound characters are
// only reported back.
KeyOutcome handleKey(SessionRecord& record, char32_t c);

// The On/Off label after a press: "On" becomes "Off", anything else becomes "On".
QString toggledOnOff(const QString& caption);

} // namespace quorvia
