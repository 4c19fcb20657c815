#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace quorvia {

// A key slot's behaviour name and the value of its mode check box (0 clear, 1 ticked, 2 greyed).
struct SlotSetup {
    QString behaviour;
    int checkValue = 0;
    bool operator==(const SlotSetup&) const = default;
};

// The parameters of one session in the order of the set-up frame, then the key slots. Whole is
// the type of the session number, Decimal that of the interval length and the session duration:
// numbers once the set press has read them (SessionParameters), the texts of the boxes before
// (SessionParameterTexts).
template <typename Whole, typename Decimal> struct BasicSessionParameters {
    QString participantId;
    Whole sessionNumber{};
    QString condition;
    QString observerId;
    QString sessionDate; // as typed
    Decimal intervalLength{};
    Decimal sessionDuration{};
    QString keysToHit; // one key per character (code point), slot k holds the k-th
    // Each key slot's behaviour name and mode check value, slot k at index k - 1.
    std::vector<SlotSetup> slotSetups;

    // The parameters alone, for passing them on in one assignment.
    BasicSessionParameters& parameters() { return *this; }
    const BasicSessionParameters& parameters() const { return *this; }
};

// The parameters as the set press stores them, with the slots as the Start press found them. The
// record, the journal's session start and a workbook read back hold them as their base.
using SessionParameters = BasicSessionParameters<std::int16_t, double>;

// The parameters as typed into the set-up frame, before the set press reads them, with the
// controls of all ten key slots.
using SessionParameterTexts = BasicSessionParameters<QString, QString>;

} // namespace quorvia
