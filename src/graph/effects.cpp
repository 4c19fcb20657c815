#include "graph/effects.h"

#include "base/csv.h"

#include <algorithm>
#include <cmath>

namespace quorvia {

namespace {

constexpr std::int64_t kMicro = 1'000'000;

// numerator / denominator (denominator > 0) rounded half to even to a whole number.
std::int64_t divideHalfEven(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t quotient = numerator / denominator;
    std::int64_t remainder = numerator % denominator;
    if (remainder < 0) { // floor division
        quotient -= 1;
        remainder += denominator;
    }
    const std::int64_t twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0))
        quotient += 1;
    return quotient;
}

// A whole number of 10^-decimals as text: 6667 with 2 decimals is "66.67".
QString unitsText(std::int64_t units, int decimals) {
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const std::int64_t magnitude = units < 0 ? -units : units;
    return QStringLiteral("%1%2.%3")
        .arg(units < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / scale)
        .arg(magnitude % scale, decimals, 10, QLatin1Char('0'));
}

std::vector<std::int64_t> microUnits(const std::vector<double>& values) {
    std::vector<std::int64_t> units;
    for (const double v : values)
        units.push_back(std::llround(v * static_cast<double>(kMicro)));
    return units;
}

std::vector<double> phaseValues(const GraphTier& tier, const GraphSeries& series, int phase) {
    std::vector<double> values;
    for (const GraphPoint& point : series.points) {
        if (point.value && tier.set.sessions.at(point.session).phase == phase)
            values.push_back(*point.value);
    }
    return values;
}

} // namespace

std::optional<EffectGoal> effectGoalFromWord(const QString& word) {
    if (word == QLatin1String("increase"))
        return EffectGoal::Increase;
    if (word == QLatin1String("decrease"))
        return EffectGoal::Decrease;
    return std::nullopt;
}

QString effectGoalWord(EffectGoal goal) {
    return goal == EffectGoal::Increase ? QStringLiteral("increase") : QStringLiteral("decrease");
}

NonOverlap nonOverlap(const std::vector<double>& earlier, const std::vector<double>& later,
                      EffectGoal goal) {
    const int sign = goal == EffectGoal::Increase ? 1 : -1;
    const auto [lowest, highest] = std::minmax_element(earlier.begin(), earlier.end());
    NonOverlap result;
    result.later = static_cast<std::int64_t>(later.size());
    for (const double b : later) {
        if (goal == EffectGoal::Increase ? b > *highest : b < *lowest)
            ++result.beyond;
        for (const double a : earlier) {
            const double gain = sign * (b - a);
            if (gain > 0)
                ++result.better;
            else if (gain < 0)
                ++result.worse;
            else
                ++result.ties;
        }
    }
    return result;
}

QString pndText(const NonOverlap& o) {
    return unitsText(divideHalfEven(10'000 * o.beyond, o.later), 2);
}

QString napText(const NonOverlap& o) {
    return unitsText(divideHalfEven(1000 * (2 * o.better + o.ties), 2 * o.pairs()), 3);
}

// 2 (better + ties / 2) / pairs - 1 = (better - worse) / pairs.
QString tauText(const NonOverlap& o) {
    return unitsText(divideHalfEven(1000 * (o.better - o.worse), o.pairs()), 3);
}

QString meanText(const std::vector<double>& values) {
    if (values.empty())
        return {};
    std::int64_t sum = 0;
    for (const std::int64_t v : microUnits(values))
        sum += v;
    return unitsText(divideHalfEven(sum, static_cast<std::int64_t>(values.size()) * 10'000), 2);
}

QString medianText(const std::vector<double>& values) {
    if (values.empty())
        return {};
    std::vector<std::int64_t> units = microUnits(values);
    std::sort(units.begin(), units.end());
    const std::size_t h = units.size() / 2;
    if (units.size() % 2 != 0)
        return unitsText(divideHalfEven(units[h], 10'000), 2);
    return unitsText(divideHalfEven(units[h - 1] + units[h], 20'000), 2);
}

QStringList effectsHeader() {
    return QStringLiteral("tier,key,behaviour,measure,from phase,from condition,to phase,to "
                          "condition,n from,n to,mean from,mean to,median from,median to,PND,NAP,"
                          "Tau")
        .split(QLatin1Char(','));
}

std::vector<QStringList> effectRows(const std::vector<GraphTier>& tiers,
                                    const QMap<QString, EffectGoal>& goals, EffectGoal otherwise) {
    std::vector<QStringList> rows;
    for (const GraphTier& tier : tiers) {
        QStringList keys;
        for (const GraphSeries& series : tier.data.series)
            keys << series.key;
        for (const QString& key : inSlotOrder(tier.set, keys)) {
            const GraphSeries& series =
                *std::find_if(tier.data.series.begin(), tier.data.series.end(),
                              [&](const GraphSeries& s) { return s.key == key; });
            const EffectGoal goal = goals.value(key, otherwise);
            for (std::size_t p = 1; p < tier.set.phases.size(); ++p) {
                const int from = static_cast<int>(p);
                const std::vector<double> a = phaseValues(tier, series, from);
                const std::vector<double> b = phaseValues(tier, series, from + 1);
                QStringList row{tier.name,
                                series.key,
                                series.behaviour,
                                graphMeasureWord(tier.data.measure),
                                QString::number(from),
                                tier.set.phases[p - 1].condition,
                                QString::number(from + 1),
                                tier.set.phases[p].condition,
                                QString::number(a.size()),
                                QString::number(b.size()),
                                meanText(a),
                                meanText(b),
                                medianText(a),
                                medianText(b)};
                if (a.empty() || b.empty()) {
                    row << QString() << QString() << QString();
                } else {
                    const NonOverlap o = nonOverlap(a, b, goal);
                    row << pndText(o) << napText(o) << tauText(o);
                }
                rows.push_back(row);
            }
        }
    }
    return rows;
}

QString effectsCsv(const std::vector<QStringList>& rows) {
    QString csv = effectsHeader().join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& field : row)
            fields << csvField(field);
        csv += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return csv;
}

} // namespace quorvia
