#include "report/slotmeasures.h"

#include <array>

namespace quorvia {

namespace {

struct MeasureInfo {
    GraphMeasure measure;
    const char* word;
    const char* caption;
    bool percent;
    const char* mode;
};

constexpr std::array<MeasureInfo, 4> kMeasures{{
    {GraphMeasure::Full, "full", "Full-interval (% of intervals)", true, "On/Off"},
    {GraphMeasure::Partial, "partial", "Partial-interval (% of intervals)", true, "On/Off"},
    {GraphMeasure::Rpm, "rpm", "Rate (responses per minute)", false, "Hits"},
    {GraphMeasure::Interval, "interval", "Intervals with a response (%)", true, "Hits"},
}};

const MeasureInfo& info(GraphMeasure measure) {
    return kMeasures.at(static_cast<std::size_t>(measure));
}

} // namespace

std::optional<GraphMeasure> graphMeasureFromWord(const QString& word) {
    for (const MeasureInfo& m : kMeasures) {
        if (word == QLatin1String(m.word))
            return m.measure;
    }
    return std::nullopt;
}

QString graphMeasureWord(GraphMeasure measure) {
    return QString::fromLatin1(info(measure).word);
}

QString graphMeasureCaption(GraphMeasure measure) {
    return QString::fromLatin1(info(measure).caption);
}

bool isPercentMeasure(GraphMeasure measure) {
    return info(measure).percent;
}

QString graphMeasureMode(GraphMeasure measure) {
    return QString::fromLatin1(info(measure).mode);
}

std::optional<double> slotMeasure(const WorkbookSlot& slot, GraphMeasure measure) {
    switch (measure) {
    case GraphMeasure::Full:
        return slot.fullPercent;
    case GraphMeasure::Partial:
        return slot.partialPercent;
    case GraphMeasure::Rpm:
        return slot.responsesPerMinute;
    case GraphMeasure::Interval:
        return slot.intervalPercent;
    }
    return std::nullopt;
}

QString graphValueText(double value) {
    return QString::number(value, 'g', 15);
}

} // namespace quorvia
