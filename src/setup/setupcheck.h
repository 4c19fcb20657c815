#pragma once

#include "recording/sessionrecord.h"

#include <QString>

namespace quorvia {

// The eight parameter texts of the set-up frame, exactly as typed.
using SetupFields = SessionParameterTexts;

// The set press: stores the eight fields in the record (numbers through the leading-number
// reading, the session number rounded half-to-even) and then checks them in order (at most ten
// keys, one per character, ESC not among them). Returns whether every check passed. The fields
// stay stored after a failed check; a session number outside -32768..32767 is stored as 0 and
// fails.
bool applySetPress(SessionRecord& record, const SetupFields& fields);

} // namespace quorvia
