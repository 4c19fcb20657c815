#pragma once

#include "report/sessionworkbook.h"
#include "report/slotmeasures.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A participant's sessions as a single-case design graph: the sessions in order, their phases and
// the values of one measure per chosen key.
namespace quorvia {

// One workbook as read: the file as the user named it and the reader's result.
struct GraphInput {
    QString file;
    SessionWorkbookResult read;
};

struct GraphSession {
    QString file;
    SessionWorkbook workbook;
    int phase = 0; // from 1
};

// Consecutive sessions with the same condition.
struct GraphPhase {
    QString condition;
    int firstSession = 0; // session numbers
    int lastSession = 0;
};

struct SessionSet {
    std::vector<GraphSession> sessions; // by session number, then date
    std::vector<GraphPhase> phases;     // phase n at index n - 1
    QStringList skipped;                // "file: reason" of each workbook left out
    QString refusal;                    // why nothing can be drawn; empty when something can
};

// Orders the readable workbooks and splits them into phases. Workbooks of different participants
// are refused as a whole; an unreadable workbook, or a second one of a session number already
// present, is skipped and named with its reason. Keys may differ between sessions.
SessionSet groupSessions(const std::vector<GraphInput>& inputs);

struct GraphPoint {
    std::size_t session = 0; // index into SessionSet::sessions
    QString behaviour;       // the key's behaviour name in that session
    std::optional<double> value;
};

struct GraphSeries {
    QString key;
    QString behaviour;              // the name in the latest session, for the legend
    std::vector<GraphPoint> points; // one per session, in session order
};

struct GraphData {
    QString participantId;
    GraphMeasure measure = GraphMeasure::Full;
    std::vector<GraphSeries> series;
    QString error; // a chosen key that cannot be drawn, or no key with the measure at all
};

// The keys of the sessions (in the order they first appear) that have a value of the measure in
// at least one session.
QStringList keysWithMeasure(const SessionSet& set, GraphMeasure measure);

// One series per key; no keys: every key with the measure. A key whose mode differs between
// sessions is refused; a key missing from a session has no point there.
GraphData graphData(const SessionSet& set, GraphMeasure measure, const QStringList& keys);

// The stretches of a series that the graph joins by a path, as (session number, value) points:
// a path runs within a phase over consecutive session numbers and breaks where a session, or the
// series' value in it, is missing.
std::vector<std::vector<std::pair<int, double>>> graphPaths(const SessionSet& set,
                                                            const GraphSeries& series);

// The plotted values as CSV (RFC 4180, CRLF line ends): a header row, then one row per session
// and key in session order.
QString graphCsv(const SessionSet& set, const GraphData& data);
// The rows of graphCsv without its header, each after firstField when one is given.
QString graphCsvRows(const SessionSet& set, const GraphData& data, const QString& firstField = {});

} // namespace quorvia
