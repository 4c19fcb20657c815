#pragma once

#include "agreement/agreement.h"
#include "report/sessionworkbook.h"
#include "report/slotmeasures.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// A study: the session workbooks of one or more participants, both observers' side by side,
// sorted into the primary observer's sessions and the reliability records compared with them.
namespace quorvia {

// One workbook as read: the file as found and the reader's result.
struct StudyInput {
    QString file;
    SessionWorkbookResult read;
};

// Another observer's workbook of a primary session, compared with it.
struct ReliabilityRecord {
    QString observerId; // blanks around it removed
    QString file;
    Agreement agreement;
};

struct StudySession {
    QString file;       // the primary observer's workbook
    QStringList copies; // further files of it, equal cell by cell
    SessionWorkbook workbook;
    QString condition;                          // blanks around it removed
    int phase = 0;                              // from 1
    std::vector<ReliabilityRecord> reliability; // by observer ID in text order, then file
};

// Consecutive sessions with the same condition.
struct StudyPhase {
    QString condition;
    int firstSession = 0; // session numbers
    int lastSession = 0;
};

struct StudyParticipant {
    QString id; // blanks around it removed
    QString primaryObserver;
    std::vector<StudySession> sessions; // by session number
    std::vector<StudyPhase> phases;     // phase n at index n - 1
};

struct Study {
    std::vector<StudyParticipant> participants; // by ID in text order, none without sessions
    QStringList leftOut;  // each file, session or participant left out, and why
    QStringList warnings; // differences found by the comparisons, each naming both files
    int filesUsed = 0;
    int workbooksRead = 0; // usable session workbooks among the files
};

// Whether two workbook files hold the same cells (a file saved twice).
using SameCells = std::function<bool(const QString& first, const QString& second)>;

struct StudyOptions {
    QString primary;     // the primary observer's ID; empty: the one in the most sessions
    SameCells sameCells; // how to tell copies apart
};

// The study of the workbooks read: unreadable ones, ambiguous sessions and participants and
// pairs whose set-ups differ are left out and named, the rest paired and compared.
Study buildStudy(const std::vector<StudyInput>& inputs, const StudyOptions& options);

// The slot of a key in a workbook by its character, or none.
const WorkbookSlot* keySlot(const SessionWorkbook& workbook, const QString& key);

// A session's value of a key and measure as its workbook holds it; none where the key is not in
// the session or the workbook has no value.
std::optional<double> sessionValue(const StudySession& session, const QString& key,
                                   GraphMeasure measure);

// The summary of one measure of one key over a condition's pairs. The mean, minimum and maximum
// are of the values as the agreement table prints them, in that measure's precision.
struct MeasureSummary {
    QString key;
    QString behaviour; // as first found in the participant's agreement rows
    QString mode;
    Scoring scoring = Scoring::Count;
    QString measure;
    int pairs = 0; // pairs with a number for it
    std::optional<double> mean;
    std::optional<double> min;
    std::optional<double> max;
    bool isKappa() const { return measure == QLatin1String("kappa"); }
};

struct ConditionSummary {
    QString condition; // "(all)" for every session of the participant
    int sessions = 0;
    int sessionsWithAgreement = 0;
    double coverage = 0;                  // percent, 2 decimals
    std::vector<MeasureSummary> measures; // every key, scoring and measure of the participant
};

// Per condition in order of first appearance, then "(all)".
std::vector<ConditionSummary> summarise(const StudyParticipant& participant);

// The mean of values of d decimals, rounded half to even to d decimals (exactly).
double roundedMean(const std::vector<double>& values, int decimals);

// A summary value in its measure's text form ("80.00", "0.583") or "n/a".
QString summaryValueText(const MeasureSummary& summary, const std::optional<double>& value);

} // namespace quorvia
