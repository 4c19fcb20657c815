#include "graph/tiers.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>

namespace quorvia {

std::optional<TierKind> tierKindFromWord(const QString& word) {
    if (word == QLatin1String("participant"))
        return TierKind::Participant;
    if (word == QLatin1String("key"))
        return TierKind::Key;
    return std::nullopt;
}

std::vector<double> phaseChanges(const SessionSet& set) {
    std::vector<double> changes;
    for (std::size_t p = 1; p < set.phases.size(); ++p)
        changes.push_back((set.phases[p - 1].lastSession + set.phases[p].firstSession) / 2.0);
    return changes;
}

void orderTiers(std::vector<GraphTier>& tiers) {
    std::vector<std::pair<std::optional<double>, GraphTier>> keyed;
    for (GraphTier& tier : tiers) {
        const std::vector<double> changes = phaseChanges(tier.set);
        keyed.emplace_back(changes.empty() ? std::nullopt : std::optional(changes.front()),
                           std::move(tier));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        if (a.first.has_value() != b.first.has_value())
            return a.first.has_value();
        if (a.first && *a.first != *b.first)
            return *a.first < *b.first;
        return a.second.name < b.second.name;
    });
    tiers.clear();
    for (auto& [change, tier] : keyed)
        tiers.push_back(std::move(tier));
}

QStringList inSlotOrder(const SessionSet& set, QStringList keys) {
    const auto slotIndex = [&](const QString& key) {
        for (const GraphSession& session : set.sessions) {
            const auto& keySlots = session.workbook.keySlots;
            const auto it = std::find_if(keySlots.begin(), keySlots.end(),
                                         [&](const WorkbookSlot& s) { return s.key == key; });
            if (it != keySlots.end())
                return it - keySlots.begin();
        }
        return std::numeric_limits<std::ptrdiff_t>::max();
    };
    std::stable_sort(keys.begin(), keys.end(), [&](const QString& a, const QString& b) {
        return slotIndex(a) < slotIndex(b);
    });
    return keys;
}

std::vector<GraphTier> keyTiers(const SessionSet& set, const GraphData& data) {
    std::vector<GraphTier> tiers;
    for (const GraphSeries& series : data.series) {
        GraphData one = data;
        one.series = {series};
        tiers.push_back({series.behaviour.isEmpty() ? series.key : series.behaviour, set, one});
    }
    return tiers;
}

std::vector<StepLine> stepLines(const std::vector<GraphTier>& tiers) {
    std::vector<std::vector<double>> changes;
    std::size_t most = 0;
    for (const GraphTier& tier : tiers) {
        changes.push_back(phaseChanges(tier.set));
        most = std::max(most, changes.back().size());
    }
    std::vector<StepLine> lines;
    for (std::size_t k = 0; k < most; ++k) {
        StepLine line{static_cast<int>(k + 1), {}};
        for (std::size_t t = 0; t <= tiers.size(); ++t) {
            const bool has = t < tiers.size() && k < changes[t].size();
            if (!has) {
                if (!line.points.empty())
                    lines.push_back(std::exchange(line, {static_cast<int>(k + 1), {}}));
                continue;
            }
            const double x = changes[t][k];
            if (!line.points.empty()) // across the foot of the tier above
                line.points.push_back({t - 1, x, true});
            line.points.push_back({t, x, false});
            line.points.push_back({t, x, true});
        }
    }
    return lines;
}

std::vector<bool> conditionsShown(const std::vector<GraphTier>& tiers, std::size_t tier) {
    const std::vector<GraphPhase>& phases = tiers.at(tier).set.phases;
    const std::vector<GraphPhase>& top = tiers.front().set.phases;
    std::vector<bool> shown;
    for (std::size_t p = 0; p < phases.size(); ++p)
        shown.push_back(tier == 0 || p >= top.size() || top[p].condition != phases[p].condition);
    return shown;
}

std::pair<int, int> sessionSpan(const std::vector<GraphTier>& tiers) {
    std::optional<std::pair<int, int>> span;
    for (const GraphTier& tier : tiers) {
        if (tier.set.sessions.empty())
            continue;
        const int first = tier.set.sessions.front().workbook.sessionNumber;
        const int last = tier.set.sessions.back().workbook.sessionNumber;
        span = span ? std::pair(std::min(span->first, first), std::max(span->second, last))
                    : std::pair(first, last);
    }
    return span.value_or(std::pair(1, 1));
}

double largestValue(const std::vector<GraphTier>& tiers) {
    double top = 0;
    for (const GraphTier& tier : tiers) {
        for (const GraphSeries& series : tier.data.series) {
            for (const GraphPoint& point : series.points)
                top = std::max(top, point.value.value_or(0));
        }
    }
    return top;
}

std::optional<PhaseAid> phaseAidFromWord(const QString& word) {
    if (word == QLatin1String("mean"))
        return PhaseAid::Mean;
    if (word == QLatin1String("median"))
        return PhaseAid::Median;
    if (word == QLatin1String("trend"))
        return PhaseAid::Trend;
    return std::nullopt;
}

std::vector<AidLine> phaseAids(const SessionSet& set, const GraphSeries& series, PhaseAid aid) {
    std::vector<AidLine> lines;
    for (std::size_t p = 0; p < set.phases.size(); ++p) {
        std::vector<double> xs;
        std::vector<double> ys;
        for (const GraphPoint& point : series.points) {
            const GraphSession& session = set.sessions.at(point.session);
            if (point.value && session.phase == static_cast<int>(p + 1)) {
                xs.push_back(session.workbook.sessionNumber);
                ys.push_back(*point.value);
            }
        }
        if (ys.empty())
            continue;
        const auto n = static_cast<double>(ys.size());
        const double meanY = std::accumulate(ys.begin(), ys.end(), 0.0) / n;
        double level = meanY;
        double slope = 0;
        if (aid == PhaseAid::Median) {
            std::vector<double> sorted = ys;
            std::sort(sorted.begin(), sorted.end());
            const std::size_t h = sorted.size() / 2;
            level = sorted.size() % 2 ? sorted[h] : (sorted[h - 1] + sorted[h]) / 2;
        }
        const double meanX = std::accumulate(xs.begin(), xs.end(), 0.0) / n;
        if (aid == PhaseAid::Trend && ys.size() > 1) {
            double sxy = 0;
            double sxx = 0;
            for (std::size_t i = 0; i < ys.size(); ++i) {
                sxy += (xs[i] - meanX) * (ys[i] - meanY);
                sxx += (xs[i] - meanX) * (xs[i] - meanX);
            }
            slope = sxy / sxx;
        }
        const double x1 = set.phases[p].firstSession - 0.25;
        const double x2 = set.phases[p].lastSession + 0.25;
        const auto at = [&](double x) {
            return level + slope * (x - meanX);
        };
        lines.push_back({aid, static_cast<int>(p + 1), x1, at(x1), x2, at(x2)});
    }
    return lines;
}

QString tierCsv(const std::vector<GraphTier>& tiers) {
    QString csv =
        QStringLiteral("tier,session,date,condition,phase,key,behaviour,measure,value\r\n");
    for (const GraphTier& tier : tiers)
        csv += graphCsvRows(tier.set, tier.data, tier.name);
    return csv;
}

} // namespace quorvia
