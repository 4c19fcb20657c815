#pragma once

#include "graph/sessiongraph.h"
#include "graph/tiers.h"
#include "study/study.h"

// The graph of a study: the primary observer's sessions of its one participant.
namespace quorvia {

// The sessions and phases of the study's participant; what the study left out is skipped. A
// study of more than one participant, or of none, is refused.
SessionSet sessionSetOf(const Study& study, bool anyFile);

// The sessions and phases of each participant of the study as a tier named by the ID, in ID
// order, without series yet.
std::vector<GraphTier> participantTiers(const Study& study);

// The tiers of a figure drawn from a study, or why it cannot be drawn.
struct StudyFigure {
    std::vector<GraphTier> tiers; // one, unnamed, for a participant's graph without tiers
    std::optional<TierKind> kind; // none: a participant's graph as one chart
    QString error;
};

// The figure of the measure and keys (none: every key with the measure; key tiers in slot
// order): without a kind of tiers, a study of more than one participant in participant tiers.
StudyFigure studyFigure(const Study& study, bool anyFile, GraphMeasure measure,
                        const QStringList& keys, std::optional<TierKind> kind);

} // namespace quorvia
