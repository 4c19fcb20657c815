#include "graph/sessiongraph.h"

#include "base/csv.h"
#include "report/sessiondate.h"

#include <QDate>

#include <algorithm>

namespace quorvia {

namespace {

bool sessionBefore(const GraphSession& a, const GraphSession& b) {
    if (a.workbook.sessionNumber != b.workbook.sessionNumber)
        return a.workbook.sessionNumber < b.workbook.sessionNumber;
    const QDate dateA = sessionDateValue(a.workbook.sessionDate);
    const QDate dateB = sessionDateValue(b.workbook.sessionDate);
    if (dateA.isValid() && dateB.isValid())
        return dateA < dateB;
    return a.workbook.sessionDate < b.workbook.sessionDate;
}

// "P07 (a.xlsx, b.xlsx); P08 (c.xlsx)" when the sessions do not all share one value; else empty.
template <typename Value> QString mixOf(const std::vector<GraphSession>& sessions, Value value) {
    std::vector<std::pair<QString, QStringList>> groups;
    for (const GraphSession& session : sessions) {
        const QString v = value(session.workbook);
        auto it =
            std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.first == v; });
        if (it == groups.end())
            groups.push_back({v, {session.file}});
        else
            it->second << session.file;
    }
    if (groups.size() < 2)
        return {};
    QStringList parts;
    for (const auto& [v, files] : groups)
        parts << QStringLiteral("%1 (%2)").arg(v, files.join(QStringLiteral(", ")));
    return parts.join(QStringLiteral("; "));
}

const WorkbookSlot* slotOf(const SessionWorkbook& workbook, const QString& key) {
    for (const WorkbookSlot& slot : workbook.keySlots) {
        if (slot.key == key)
            return &slot;
    }
    return nullptr;
}

} // namespace

SessionSet groupSessions(const std::vector<GraphInput>& inputs) {
    SessionSet set;
    std::vector<GraphSession> read;
    for (const GraphInput& input : inputs) {
        if (input.read.workbook)
            read.push_back({input.file, *input.read.workbook, 0});
        else if (input.read.error.contains(input.file))
            set.skipped << input.read.error;
        else
            set.skipped << QStringLiteral("%1: %2").arg(input.file, input.read.error);
    }
    if (read.empty()) {
        set.refusal = inputs.empty() ? QStringLiteral("No session workbook was given.")
                                     : QStringLiteral("None of the workbooks could be read.");
        return set;
    }
    const QString participants =
        mixOf(read, [](const SessionWorkbook& w) { return w.participantId.trimmed(); });
    if (!participants.isEmpty()) {
        set.refusal =
            QStringLiteral("The workbooks are of different participants: %1.").arg(participants);
        return set;
    }
    std::stable_sort(read.begin(), read.end(), sessionBefore);
    for (GraphSession& session : read) {
        if (!set.sessions.empty() &&
            set.sessions.back().workbook.sessionNumber == session.workbook.sessionNumber) {
            set.skipped << QStringLiteral("%1: session %2 is already drawn from %3.")
                               .arg(session.file)
                               .arg(session.workbook.sessionNumber)
                               .arg(set.sessions.back().file);
            continue;
        }
        const QString condition = session.workbook.condition.trimmed();
        if (set.phases.empty() || set.phases.back().condition != condition)
            set.phases.push_back({condition, session.workbook.sessionNumber, 0});
        set.phases.back().lastSession = session.workbook.sessionNumber;
        session.phase = static_cast<int>(set.phases.size());
        set.sessions.push_back(std::move(session));
    }
    return set;
}

QStringList keysWithMeasure(const SessionSet& set, GraphMeasure measure) {
    QStringList keys;
    for (const GraphSession& session : set.sessions) {
        for (const WorkbookSlot& slot : session.workbook.keySlots) {
            if (!keys.contains(slot.key) && slotMeasure(slot, measure))
                keys << slot.key;
        }
    }
    return keys;
}

GraphData graphData(const SessionSet& set, GraphMeasure measure, const QStringList& keys) {
    GraphData data;
    data.measure = measure;
    if (!set.sessions.empty())
        data.participantId = set.sessions.front().workbook.participantId.trimmed();
    const QStringList available = keysWithMeasure(set, measure);
    const QStringList chosen = keys.isEmpty() ? available : keys;
    if (chosen.isEmpty()) {
        data.error =
            QStringLiteral("No key of these sessions has a %1 value (a measure of %2 keys).")
                .arg(graphMeasureWord(measure), graphMeasureMode(measure));
        return data;
    }
    for (const QString& key : chosen) {
        QStringList modes;
        for (const GraphSession& session : set.sessions) {
            const WorkbookSlot* slot = slotOf(session.workbook, key);
            if (slot && !modes.contains(slot->mode))
                modes << slot->mode;
        }
        if (modes.size() > 1) {
            data.error = QStringLiteral("Key %1 is in mode \u201C%2\u201D in some sessions and "
                                        "\u201C%3\u201D in others; it cannot be drawn as one.")
                             .arg(key, modes[0], modes[1]);
            data.series.clear();
            return data;
        }
        if (!available.contains(key)) {
            data.error = QStringLiteral("Key %1 has no %2 value in these sessions.")
                             .arg(key, graphMeasureWord(measure));
            data.series.clear();
            return data;
        }
        GraphSeries series{key, {}, {}};
        for (std::size_t i = 0; i < set.sessions.size(); ++i) {
            const WorkbookSlot* slot = slotOf(set.sessions[i].workbook, key);
            GraphPoint point{i, slot ? slot->behaviour : QString(), std::nullopt};
            if (slot)
                point.value = slotMeasure(*slot, measure);
            if (point.value)
                series.behaviour = point.behaviour;
            series.points.push_back(point);
        }
        data.series.push_back(std::move(series));
    }
    return data;
}

QString graphCsv(const SessionSet& set, const GraphData& data) {
    return QStringLiteral("session,date,condition,phase,key,behaviour,measure,value\r\n") +
           graphCsvRows(set, data);
}

std::vector<std::vector<std::pair<int, double>>> graphPaths(const SessionSet& set,
                                                            const GraphSeries& series) {
    std::vector<std::vector<std::pair<int, double>>> paths;
    int lastNumber = 0;
    int lastPhase = 0;
    for (const GraphPoint& point : series.points) {
        if (!point.value)
            continue;
        const GraphSession& session = set.sessions.at(point.session);
        const int number = session.workbook.sessionNumber;
        if (paths.empty() || session.phase != lastPhase || number != lastNumber + 1)
            paths.emplace_back();
        paths.back().emplace_back(number, *point.value);
        lastNumber = number;
        lastPhase = session.phase;
    }
    return paths;
}

QString graphCsvRows(const SessionSet& set, const GraphData& data, const QString& firstField) {
    QString csv;
    const QString word = graphMeasureWord(data.measure);
    for (std::size_t i = 0; i < set.sessions.size(); ++i) {
        const GraphSession& session = set.sessions[i];
        for (const GraphSeries& series : data.series) {
            const GraphPoint& point = series.points.at(i);
            QStringList fields{QString::number(session.workbook.sessionNumber),
                               csvField(session.workbook.sessionDate),
                               csvField(session.workbook.condition),
                               QString::number(session.phase),
                               csvField(series.key),
                               csvField(point.behaviour),
                               word,
                               point.value ? graphValueText(*point.value) : QString()};
            if (!firstField.isNull())
                fields.prepend(csvField(firstField));
            csv += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
        }
    }
    return csv;
}

} // namespace quorvia
