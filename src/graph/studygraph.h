#pragma once

#include "graph/sessiongraph.h"
#include "study/study.h"

// The graph of a study: the primary observer's sessions of its one participant.
namespace quorvia {

// The sessions and phases of the study's participant; what the study left out is skipped. A
// study of more than one participant, or of none, is refused.
SessionSet sessionSetOf(const Study& study, bool anyFile);

} // namespace quorvia
