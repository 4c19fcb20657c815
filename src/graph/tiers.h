#pragma once

#include "graph/sessiongraph.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A figure of tiers stacked over one session axis (a multiple-baseline design), and the aids
// drawn over a phase: where its lines go, worked out before anything is drawn.
namespace quorvia {

enum class TierKind { Participant, Key };

std::optional<TierKind> tierKindFromWord(const QString& word);

// One tier of a figure: a participant's sessions with the series drawn in it.
struct GraphTier {
    QString name; // the participant ID, or the behaviour of a key tier
    SessionSet set;
    GraphData data;
};

// Where the phases change, in sessions: half-way between the last session of a phase and the
// first of the next; the k-th change at index k - 1.
std::vector<double> phaseChanges(const SessionSet& set);

// Participant tiers top to bottom in the order their first phase change comes, the earliest
// first; ties in text order of the name; a tier without a change last.
void orderTiers(std::vector<GraphTier>& tiers);

// The keys in slot order: by their slot in the first session that has them.
QStringList inSlotOrder(const SessionSet& set, QStringList keys);

// One tier per series of data, in its order, named by the key's behaviour (the key without one).
std::vector<GraphTier> keyTiers(const SessionSet& set, const GraphData& data);

// A corner of the step line: at a session of a tier, at the tier's top or at its foot (its
// session axis).
struct StepPoint {
    std::size_t tier = 0;
    double session = 0;
    bool foot = false;
    bool operator==(const StepPoint&) const = default;
};

// The k-th phase change of consecutive tiers joined as one path: down the line of a tier to its
// foot, across to the next tier's k-th line and down it. A tier without a k-th change ends it.
struct StepLine {
    int change = 0; // k, from 1
    std::vector<StepPoint> points;
};
std::vector<StepLine> stepLines(const std::vector<GraphTier>& tiers);

// Whether each phase of a tier has its condition written above it: every phase of the top tier;
// in a lower tier only a phase whose condition differs from the top tier's phase of its number.
std::vector<bool> conditionsShown(const std::vector<GraphTier>& tiers, std::size_t tier);

// The first and last session of all tiers.
std::pair<int, int> sessionSpan(const std::vector<GraphTier>& tiers);

// The largest value plotted in any tier (0 without one).
double largestValue(const std::vector<GraphTier>& tiers);

enum class PhaseAid { Mean, Median, Trend };

std::optional<PhaseAid> phaseAidFromWord(const QString& word);

// An aid over one phase of one series, in sessions and values: across the phase's sessions and a
// quarter session beyond each end, so that the lines of adjacent phases never meet.
struct AidLine {
    PhaseAid aid = PhaseAid::Mean;
    int phase = 0; // from 1
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
};

// The aid over each phase that has a value of the series: the mean or the median of its values
// as a level line, or their least-squares line over the sessions (a level line at the value
// where the phase has one value only).
std::vector<AidLine> phaseAids(const SessionSet& set, const GraphSeries& series, PhaseAid aid);

// The plotted values of every tier as CSV: the columns of graphCsv after a first column "tier".
QString tierCsv(const std::vector<GraphTier>& tiers);

} // namespace quorvia
