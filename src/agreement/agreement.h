#pragma once

#include "report/sessionworkbook.h"
#include "workbook/worksheet.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// Inter-observer agreement: two observers' session workbooks of the same session compared
// interval by interval, key by key.
namespace quorvia {

// The measures over intervals 1 to n of two observers. Percentages are rounded half-to-even to 2
// decimals, kappa to 3; none (shown "n/a") where the measure divides 0 by 0.
struct CountAgreement {
    std::optional<double> totalCount;       // smaller total / larger total
    std::optional<double> meanPerInterval;  // mean of smaller / larger, 1 where both are 0
    std::optional<double> exactPerInterval; // share of intervals with equal counts
};
CountAgreement countAgreement(const std::vector<double>& first, const std::vector<double>& second,
                              std::size_t intervals);

struct OccurrenceAgreement {
    std::optional<double> intervalByInterval; // both scored or both unscored / intervals
    std::optional<double> scored;             // both scored / scored by either
    std::optional<double> unscored;           // both unscored / unscored by either
    std::optional<double> kappa;              // Cohen's kappa
};
OccurrenceAgreement occurrenceAgreement(const std::vector<bool>& first,
                                        const std::vector<bool>& second);

enum class Scoring { Count, Partial, Whole };

// One line of the table: a measure of one key under one scoring.
struct AgreementRow {
    int slot = 0; // 1 for the first key
    QString key;
    QString behaviour; // as the primary workbook names it
    QString mode;      // "On/Off", "Hits" (or empty for a key written without a mode)
    Scoring scoring = Scoring::Count;
    QString measure; // "total count", ..., "kappa"
    std::optional<double> value;
    bool isKappa() const { return measure == QLatin1String("kappa"); }
};

struct Agreement {
    std::vector<AgreementRow> rows; // keys in slot order, measures in their fixed order
    std::int64_t intervals = 0;     // intervals compared
    QStringList warnings;           // differences that do not stop the comparison
};

struct AgreementResult {
    std::optional<Agreement> agreement;
    QString error; // why nothing was computed: the set-ups differ
};

// The two workbooks compared. They must have the same keys (matched by their character, in any
// slots), interval length and mode per key; a different participant, session number, date,
// number of intervals or behaviour name of a key is only a warning.
AgreementResult compareWorkbooks(const SessionWorkbook& primary,
                                 const SessionWorkbook& reliability);

QString scoringName(Scoring scoring); // "count", "partial", "whole"
// "80.00", "71.43" for percentages, "0.583", "-0.250" for kappa, or "n/a".
QString valueText(const AgreementRow& row);
// Whether the value falls below the usual minimum of 80 % (never for kappa or n/a).
bool belowMinimum(const AgreementRow& row);

// The table as CSV (RFC 4180, CRLF line ends): a header row, one row per measure, then the
// number of intervals compared.
QString agreementCsv(const Agreement& agreement);

// The agreement workbook's two sheets: the headers side by side with the measures, and both
// observers' interval values with whether they agree.
Worksheet agreementSummarySheet(const Agreement& agreement, const SessionWorkbook& primary,
                                const SessionWorkbook& reliability, const QString& primaryName,
                                const QString& reliabilityName);
Worksheet agreementIntervalSheet(const SessionWorkbook& primary,
                                 const SessionWorkbook& reliability);

// The header lines of a workbook as its window shows them: "Participant's ID: P07" and so on.
QStringList headerLines(const SessionWorkbook& workbook);

} // namespace quorvia
