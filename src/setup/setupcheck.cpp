#include "setup/setupcheck.h"

#include "base/keys.h"
#include "base/numbers.h"

#include <cmath>
#include <limits>

namespace quorvia {

bool applySetPress(SessionRecord& record, const SetupFields& fields) {
    const double number = roundHalfEven(leadingNumber(fields.sessionNumber));
    const bool numberFits = number >= std::numeric_limits<std::int16_t>::min() &&
                            number <= std::numeric_limits<std::int16_t>::max();

    record.participantId = fields.participantId;
    record.sessionNumber = numberFits ? static_cast<std::int16_t>(number) : std::int16_t{0};
    record.condition = fields.condition;
    record.observerId = fields.observerId;
    record.sessionDate = fields.sessionDate;
    record.intervalLength = leadingNumber(fields.intervalLength);
    record.sessionDuration = leadingNumber(fields.sessionDuration);
    record.keysToHit = fields.keysToHit;

    if (!(record.sessionDuration > 0))
        return false;
    if (record.sessionDuration > 3600)
        return false;
    if (!(record.intervalLength > 0))
        return false;
    // The clock ends intervals only on whole seconds: any other length would never end one.
    if (!std::isfinite(record.intervalLength) ||
        record.intervalLength != std::floor(record.intervalLength))
        return false;
    if (countKeys(record.keysToHit) > kSlotCount)
        return false;
    if (record.keysToHit.isEmpty())
        return false;
    // ESC pauses the session: it is the one key the observer must always have.
    if (record.keysToHit.contains(QChar(kEscape)))
        return false;
    if (!numberFits || record.sessionNumber < 1)
        return false;
    if (record.participantId.isEmpty() || record.condition.isEmpty() ||
        record.observerId.isEmpty() || record.sessionDate.isEmpty())
        return false;
    return true;
}

} // namespace quorvia
