#pragma once

#include "graph/tiers.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// Effect sizes between adjacent phases: the non-overlap of their values (PND, NAP, Tau) with
// each phase's mean and median.
namespace quorvia {

// Whether the treatment is to raise or to lower the behaviour.
enum class EffectGoal { Decrease, Increase };

std::optional<EffectGoal> effectGoalFromWord(const QString& word);
QString effectGoalWord(EffectGoal goal);

// The comparison of an earlier phase's values with a later one's, counted exactly.
struct NonOverlap {
    std::int64_t beyond = 0; // later values above the earlier highest (below the lowest)
    std::int64_t better = 0; // (earlier, later) pairs in which the later is better
    std::int64_t ties = 0;
    std::int64_t worse = 0;
    std::int64_t later = 0; // values of the later phase
    std::int64_t pairs() const { return better + ties + worse; }
};

// Both phases need at least one value.
NonOverlap nonOverlap(const std::vector<double>& earlier, const std::vector<double>& later,
                      EffectGoal goal);

// PND = 100 x beyond / later, 2 decimals; NAP = (better + ties / 2) / pairs and
// Tau = 2 NAP - 1, 3 decimals; all rounded half to even, exactly.
QString pndText(const NonOverlap& overlap);
QString napText(const NonOverlap& overlap);
QString tauText(const NonOverlap& overlap);

// The mean and the median of values, rounded half to even to 2 decimals (exact for values of
// up to 6 decimals); empty without values.
QString meanText(const std::vector<double>& values);
QString medianText(const std::vector<double>& values);

// The header of the effects table and its rows: one per tier, key and pair of adjacent phases,
// in tier order, then slot order, then phase order. A key not in goals has the default goal.
QStringList effectsHeader();
std::vector<QStringList> effectRows(const std::vector<GraphTier>& tiers,
                                    const QMap<QString, EffectGoal>& goals, EffectGoal otherwise);
// The rows as CSV (RFC 4180, CRLF line ends) under the header.
QString effectsCsv(const std::vector<QStringList>& rows);

} // namespace quorvia
