#include "agreement/agreement.h"

#include "base/csv.h"
#include "base/numbers.h"
#include "report/sessiondate.h"

#include <algorithm>
#include <cmath>

namespace quorvia {

namespace {

const QString kOnOff = QStringLiteral("On/Off");

std::optional<double> percent(double part, double whole) {
    if (whole == 0)
        return std::nullopt;
    return roundHalfEven2(part / whole * 100.0);
}

// Counted keys have counts as values; so has a key written without a mode.
bool isOnOff(const WorkbookSlot& slot) {
    return slot.mode == kOnOff;
}

// Whether each of the first n intervals is scored: a count above 0, a code of at least the
// threshold.
std::vector<bool> scored(const std::vector<double>& values, std::size_t intervals,
                         double threshold) {
    std::vector<bool> result(intervals);
    for (std::size_t i = 0; i < intervals; ++i)
        result[i] = values[i] >= threshold;
    return result;
}

void addRows(Agreement& agreement, int slot, const WorkbookSlot& primary, Scoring scoring,
             const OccurrenceAgreement& measures) {
    const std::pair<const char*, std::optional<double>> values[] = {
        {"interval-by-interval", measures.intervalByInterval},
        {"scored-interval", measures.scored},
        {"unscored-interval", measures.unscored},
        {"kappa", measures.kappa},
    };
    for (const auto& [measure, value] : values)
        agreement.rows.push_back({slot, primary.key, primary.behaviour, primary.mode, scoring,
                                  QString::fromLatin1(measure), value});
}

QString decimalText(double value) {
    return shortestDecimal(value);
}

// The reliability workbook's slot of the primary's key: keys are matched by their character.
const WorkbookSlot* slotOfKey(const SessionWorkbook& workbook, const QString& key) {
    for (const WorkbookSlot& slot : workbook.keySlots) {
        if (slot.key == key)
            return &slot;
    }
    return nullptr;
}

// The keys of a workbook in character order: its keys to hit, then its slots' keys.
QStringList sortedKeys(const SessionWorkbook& workbook) {
    QStringList keys;
    for (const char32_t c : workbook.keysToHit.toUcs4())
        keys << QString::fromUcs4(&c, 1);
    keys.sort();
    QStringList inSlots;
    for (const WorkbookSlot& slot : workbook.keySlots)
        inSlots << slot.key;
    inSlots.sort();
    return keys + QStringList{QString()} + inSlots;
}

} // namespace

CountAgreement countAgreement(const std::vector<double>& first, const std::vector<double>& second,
                              std::size_t intervals) {
    intervals = std::min({intervals, first.size(), second.size()});
    double firstTotal = 0;
    double secondTotal = 0;
    double ratios = 0;
    double equal = 0;
    for (std::size_t i = 0; i < intervals; ++i) {
        const double a = first[i];
        const double b = second[i];
        firstTotal += a;
        secondTotal += b;
        const double larger = std::max(a, b);
        ratios += larger == 0 ? 1.0 : std::min(a, b) / larger;
        if (a == b)
            ++equal;
    }
    const auto n = static_cast<double>(intervals);
    return {percent(std::min(firstTotal, secondTotal), std::max(firstTotal, secondTotal)),
            percent(ratios, n), percent(equal, n)};
}

OccurrenceAgreement occurrenceAgreement(const std::vector<bool>& first,
                                        const std::vector<bool>& second) {
    const std::size_t intervals = std::min(first.size(), second.size());
    std::int64_t both = 0;
    std::int64_t neither = 0;
    std::int64_t firstScored = 0;
    std::int64_t secondScored = 0;
    for (std::size_t i = 0; i < intervals; ++i) {
        both += first[i] && second[i];
        neither += !first[i] && !second[i];
        firstScored += first[i];
        secondScored += second[i];
    }
    const auto n = static_cast<std::int64_t>(intervals);
    const std::int64_t agreed = both + neither;
    OccurrenceAgreement result;
    result.intervalByInterval = percent(static_cast<double>(agreed), static_cast<double>(n));
    result.scored = percent(static_cast<double>(both), static_cast<double>(n - neither));
    result.unscored = percent(static_cast<double>(neither), static_cast<double>(n - both));
    // Kappa in whole numbers scaled by n * n, so that Pe = 1 is found exactly:
    // (Po - Pe) / (1 - Pe) = (n agreed - E) / (n n - E), E = s1 s2 + (n - s1)(n - s2).
    const std::int64_t expected =
        firstScored * secondScored + (n - firstScored) * (n - secondScored);
    const std::int64_t denominator = n * n - expected;
    if (denominator != 0)
        result.kappa = std::nearbyint(static_cast<double>(n * agreed - expected) /
                                      static_cast<double>(denominator) * 1000.0) /
                       1000.0;
    return result;
}

AgreementResult compareWorkbooks(const SessionWorkbook& primary,
                                 const SessionWorkbook& reliability) {
    const auto refuse = [](const QString& what) {
        return AgreementResult{std::nullopt,
                               QStringLiteral("The two sessions were not set up alike: %1. "
                                              "Nothing was compared.")
                                   .arg(what)};
    };
    if (sortedKeys(primary) != sortedKeys(reliability))
        return refuse(QStringLiteral("the keys to hit are \u201C%1\u201D and \u201C%2\u201D")
                          .arg(primary.keysToHit, reliability.keysToHit));
    if (primary.intervalLength != reliability.intervalLength)
        return refuse(
            QStringLiteral("the interval lengths are %1 s and %2 s")
                .arg(decimalText(primary.intervalLength), decimalText(reliability.intervalLength)));
    // Both have the same keys, each in a slot of its own.
    const std::size_t keys = primary.keySlots.size();
    for (std::size_t s = 0; s < keys; ++s) {
        const WorkbookSlot& a = primary.keySlots[s];
        const WorkbookSlot& b = *slotOfKey(reliability, a.key);
        if (a.mode != b.mode)
            return refuse(QStringLiteral("key %1 is in mode \u201C%2\u201D and \u201C%3\u201D")
                              .arg(a.key, a.mode, b.mode));
    }

    Agreement agreement;
    const auto warn = [&](const QString& what, const QString& first, const QString& second) {
        if (first != second)
            agreement.warnings << QStringLiteral(
                                      "The %1 differ: \u201C%2\u201D and \u201C%3\u201D.")
                                      .arg(what, first, second);
    };
    warn(QStringLiteral("participant's IDs"), primary.participantId, reliability.participantId);
    warn(QStringLiteral("session numbers"), QString::number(primary.sessionNumber),
         QString::number(reliability.sessionNumber));
    if (!sameSessionDate(primary.sessionDate, reliability.sessionDate))
        warn(QStringLiteral("session dates"), primary.sessionDate, reliability.sessionDate);
    for (const WorkbookSlot& a : primary.keySlots)
        warn(QStringLiteral("behaviour names of key %1").arg(a.key), a.behaviour,
             slotOfKey(reliability, a.key)->behaviour);
    agreement.intervals = std::min(primary.intervalCount, reliability.intervalCount);
    if (primary.intervalCount != reliability.intervalCount)
        agreement.warnings << QStringLiteral("The sessions recorded %1 and %2 intervals; the first "
                                             "%3 are compared.")
                                  .arg(primary.intervalCount)
                                  .arg(reliability.intervalCount)
                                  .arg(agreement.intervals);

    const auto n = static_cast<std::size_t>(agreement.intervals);
    for (std::size_t s = 0; s < keys; ++s) {
        const WorkbookSlot& a = primary.keySlots[s];
        const WorkbookSlot& b = *slotOfKey(reliability, a.key);
        const int slot = static_cast<int>(s) + 1;
        if (isOnOff(a)) {
            addRows(agreement, slot, a, Scoring::Partial,
                    occurrenceAgreement(scored(a.values, n, 1), scored(b.values, n, 1)));
            addRows(agreement, slot, a, Scoring::Whole,
                    occurrenceAgreement(scored(a.values, n, 2), scored(b.values, n, 2)));
            continue;
        }
        const CountAgreement counts = countAgreement(a.values, b.values, n);
        const std::pair<const char*, std::optional<double>> values[] = {
            {"total count", counts.totalCount},
            {"mean count-per-interval", counts.meanPerInterval},
            {"exact count-per-interval", counts.exactPerInterval},
        };
        for (const auto& [measure, value] : values)
            agreement.rows.push_back({slot, a.key, a.behaviour, a.mode, Scoring::Count,
                                      QString::fromLatin1(measure), value});
        addRows(agreement, slot, a, Scoring::Partial,
                occurrenceAgreement(scored(a.values, n, 1), scored(b.values, n, 1)));
    }
    return {std::move(agreement), {}};
}

QString scoringName(Scoring scoring) {
    switch (scoring) {
    case Scoring::Count:
        return QStringLiteral("count");
    case Scoring::Partial:
        return QStringLiteral("partial");
    case Scoring::Whole:
        break;
    }
    return QStringLiteral("whole");
}

QString valueText(const AgreementRow& row) {
    if (!row.value)
        return QStringLiteral("n/a");
    const double value = *row.value == 0 ? 0.0 : *row.value; // no "-0.000"
    return QString::number(value, 'f', row.isKappa() ? 3 : 2);
}

bool belowMinimum(const AgreementRow& row) {
    return !row.isKappa() && row.value && *row.value < 80.0;
}

QString agreementCsv(const Agreement& agreement) {
    const QString end = QStringLiteral("\r\n");
    QString csv = QStringLiteral("key,behaviour,mode,scoring,measure,value") + end;
    for (const AgreementRow& row : agreement.rows) {
        csv += QStringList{csvField(row.key),  csvField(row.behaviour),
                           csvField(row.mode), scoringName(row.scoring),
                           row.measure,        valueText(row)}
                   .join(QLatin1Char(',')) +
               end;
    }
    return csv + QStringLiteral(",,,,intervals compared,") + QString::number(agreement.intervals) +
           end;
}

QStringList headerLines(const SessionWorkbook& workbook) {
    return {
        QStringLiteral("Participant's ID: ") + workbook.participantId,
        QStringLiteral("Session No.: ") + QString::number(workbook.sessionNumber),
        QStringLiteral("Condition: ") + workbook.condition,
        QStringLiteral("Observer's ID: ") + workbook.observerId,
        QStringLiteral("Session Date: ") + workbook.sessionDate,
        QStringLiteral("Session Started at: ") + workbook.startedAt,
        QStringLiteral("Interval Length: ") + decimalText(workbook.intervalLength),
        QStringLiteral("Session Duration: ") + decimalText(workbook.sessionDuration),
        QStringLiteral("Keys to Hit: ") + workbook.keysToHit,
        QStringLiteral("Intervals recorded: ") + QString::number(workbook.intervalCount),
    };
}

Worksheet agreementSummarySheet(const Agreement& agreement, const SessionWorkbook& primary,
                                const SessionWorkbook& reliability, const QString& primaryName,
                                const QString& reliabilityName) {
    Worksheet sheet;
    sheet.setText(1, 1, QStringLiteral("Inter-observer agreement"));
    sheet.setText(3, 2, QStringLiteral("Primary"));
    sheet.setText(3, 3, QStringLiteral("Reliability"));
    sheet.setText(4, 1, QStringLiteral("File"));
    sheet.setText(4, 2, primaryName);
    sheet.setText(4, 3, reliabilityName);
    const QStringList first = headerLines(primary);
    const QStringList second = headerLines(reliability);
    int row = 5;
    for (qsizetype i = 0; i < first.size(); ++i, ++row) {
        const qsizetype colon = first[i].indexOf(QStringLiteral(": "));
        sheet.setText(row, 1, first[i].left(colon));
        sheet.setText(row, 2, first[i].mid(colon + 2));
        sheet.setText(row, 3, second[i].mid(second[i].indexOf(QStringLiteral(": ")) + 2));
    }
    ++row;
    for (const QString& warning : agreement.warnings)
        sheet.setText(row++, 1, QStringLiteral("Warning: ") + warning);
    if (!agreement.warnings.isEmpty())
        ++row;
    const QStringList captions{"key", "behaviour", "mode", "scoring", "measure", "value"};
    for (int c = 0; c < 6; ++c)
        sheet.setText(row, c + 1, captions[c]);
    for (const AgreementRow& line : agreement.rows) {
        ++row;
        sheet.setText(row, 1, line.key);
        sheet.setText(row, 2, line.behaviour);
        sheet.setText(row, 3, line.mode);
        sheet.setText(row, 4, scoringName(line.scoring));
        sheet.setText(row, 5, line.measure);
        if (line.value)
            sheet.setNumber(row, 6, *line.value);
        else
            sheet.setText(row, 6, valueText(line));
    }
    sheet.setText(row + 1, 5, QStringLiteral("intervals compared"));
    sheet.setNumber(row + 1, 6, static_cast<double>(agreement.intervals));
    return sheet;
}

Worksheet agreementIntervalSheet(const SessionWorkbook& primary,
                                 const SessionWorkbook& reliability) {
    Worksheet sheet;
    sheet.setText(1, 1, QStringLiteral("Interval #"));
    const std::int64_t rows = std::max(primary.intervalCount, reliability.intervalCount);
    for (std::int64_t n = 1; n <= rows; ++n)
        sheet.setNumber(static_cast<int>(n) + 1, 1, static_cast<double>(n));
    for (std::size_t s = 0; s < primary.keySlots.size(); ++s) {
        const WorkbookSlot& a = primary.keySlots[s];
        const WorkbookSlot* match = slotOfKey(reliability, a.key);
        if (!match)
            continue;
        const WorkbookSlot& b = *match;
        const int column = 2 + 3 * static_cast<int>(s);
        sheet.setText(1, column, a.key + QStringLiteral(" primary"));
        sheet.setText(1, column + 1, a.key + QStringLiteral(" reliability"));
        sheet.setText(1, column + 2, a.key + QStringLiteral(" agree"));
        for (std::size_t i = 0; i < static_cast<std::size_t>(rows); ++i) {
            const int row = static_cast<int>(i) + 2;
            const bool inFirst = i < a.values.size();
            const bool inSecond = i < b.values.size();
            if (inFirst)
                sheet.setNumber(row, column, a.values[i]);
            if (inSecond)
                sheet.setNumber(row, column + 1, b.values[i]);
            if (inFirst && inSecond)
                sheet.setText(row, column + 2,
                              a.values[i] == b.values[i] ? QStringLiteral("yes")
                                                         : QStringLiteral("no"));
        }
    }
    return sheet;
}

} // namespace quorvia
