#include "study/studytables.h"

#include "base/csv.h"
#include "report/slotmeasures.h"

namespace quorvia {

namespace {

StudyCell text(const QString& t) {
    return {t, std::nullopt};
}

StudyCell number(double n, const QString& shown) {
    return {shown, n};
}

StudyCell whole(qint64 n) {
    return number(static_cast<double>(n), QString::number(n));
}

// The measures of a key's mode, as the graph command names them.
std::vector<GraphMeasure> measuresOf(const WorkbookSlot& slot) {
    if (slot.mode == QLatin1String("On/Off"))
        return {GraphMeasure::Full, GraphMeasure::Partial};
    return {GraphMeasure::Rpm, GraphMeasure::Interval};
}

QString reliabilityIds(const StudySession& session) {
    QStringList ids;
    for (const ReliabilityRecord& r : session.reliability) {
        if (!ids.contains(r.observerId))
            ids << r.observerId;
    }
    return ids.join(QLatin1Char(';'));
}

std::vector<StudyCell> sessionFields(const StudyParticipant& p, const StudySession& s) {
    return {text(p.id), whole(s.workbook.sessionNumber), text(s.workbook.sessionDate),
            text(s.condition), whole(s.phase)};
}

StudyTable sessionsTable(const Study& study) {
    StudyTable table{{"participant", "session", "date", "condition", "phase", "observer",
                      "reliability", "key", "behaviour", "mode", "measure", "value"},
                     {}};
    for (const StudyParticipant& p : study.participants) {
        for (const StudySession& s : p.sessions) {
            for (const WorkbookSlot& slot : s.workbook.keySlots) {
                for (const GraphMeasure measure : measuresOf(slot)) {
                    std::vector<StudyCell> row = sessionFields(p, s);
                    row.push_back(text(p.primaryObserver));
                    row.push_back(text(reliabilityIds(s)));
                    row.push_back(text(slot.key));
                    row.push_back(text(slot.behaviour));
                    row.push_back(text(slot.mode));
                    row.push_back(text(graphMeasureWord(measure)));
                    const std::optional<double> value = slotMeasure(slot, measure);
                    row.push_back(value ? number(*value, graphValueText(*value)) : text({}));
                    table.rows.push_back(std::move(row));
                }
            }
        }
    }
    return table;
}

StudyTable agreementTable(const Study& study) {
    StudyTable table{{"participant", "session", "date", "condition", "phase", "primary",
                      "reliability", "key", "behaviour", "mode", "scoring", "measure", "value"},
                     {}};
    for (const StudyParticipant& p : study.participants) {
        for (const StudySession& s : p.sessions) {
            for (const ReliabilityRecord& r : s.reliability) {
                std::vector<StudyCell> front = sessionFields(p, s);
                front.push_back(text(p.primaryObserver));
                front.push_back(text(r.observerId));
                for (const AgreementRow& a : r.agreement.rows) {
                    std::vector<StudyCell> row = front;
                    for (const QString& t :
                         {a.key, a.behaviour, a.mode, scoringName(a.scoring), a.measure})
                        row.push_back(text(t));
                    row.push_back(a.value ? number(*a.value, valueText(a)) : text(valueText(a)));
                    table.rows.push_back(std::move(row));
                }
                std::vector<StudyCell> row = front;
                for (int i = 0; i < 4; ++i)
                    row.push_back(text({}));
                row.push_back(text(QStringLiteral("intervals compared")));
                row.push_back(whole(r.agreement.intervals));
                table.rows.push_back(std::move(row));
            }
        }
    }
    return table;
}

StudyTable summaryTable(const Study& study) {
    StudyTable table{{"participant", "condition", "sessions", "sessions with agreement", "coverage",
                      "key", "behaviour", "mode", "scoring", "measure", "pairs", "mean", "min",
                      "max"},
                     {}};
    for (const StudyParticipant& p : study.participants) {
        for (const ConditionSummary& c : summarise(p)) {
            const std::vector<StudyCell> front{
                text(p.id), text(c.condition), whole(c.sessions), whole(c.sessionsWithAgreement),
                number(c.coverage, QString::number(c.coverage, 'f', 2))};
            if (c.measures.empty()) {
                std::vector<StudyCell> row = front;
                for (int i = 0; i < 5; ++i)
                    row.push_back(text({}));
                row.push_back(whole(0));
                for (int i = 0; i < 3; ++i)
                    row.push_back(text(QStringLiteral("n/a")));
                table.rows.push_back(std::move(row));
            }
            for (const MeasureSummary& m : c.measures) {
                std::vector<StudyCell> row = front;
                for (const QString& t :
                     {m.key, m.behaviour, m.mode, scoringName(m.scoring), m.measure})
                    row.push_back(text(t));
                row.push_back(whole(m.pairs));
                for (const std::optional<double>& v : {m.mean, m.min, m.max})
                    row.push_back(v ? number(*v, summaryValueText(m, v))
                                    : text(summaryValueText(m, v)));
                table.rows.push_back(std::move(row));
            }
        }
    }
    return table;
}

} // namespace

std::optional<StudyTableKind> studyTableFromWord(const QString& word) {
    if (word == QLatin1String("sessions"))
        return StudyTableKind::Sessions;
    if (word == QLatin1String("agreement"))
        return StudyTableKind::Agreement;
    if (word == QLatin1String("summary"))
        return StudyTableKind::Summary;
    return std::nullopt;
}

StudyTable studyTable(const Study& study, StudyTableKind kind) {
    switch (kind) {
    case StudyTableKind::Sessions:
        return sessionsTable(study);
    case StudyTableKind::Agreement:
        return agreementTable(study);
    case StudyTableKind::Summary:
        break;
    }
    return summaryTable(study);
}

QString studyCsv(const StudyTable& table) {
    const QString end = QStringLiteral("\r\n");
    QString csv = table.header.join(QLatin1Char(',')) + end;
    for (const std::vector<StudyCell>& row : table.rows) {
        QString line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                line += QLatin1Char(',');
            line += csvField(row[i].text);
        }
        csv += line + end;
    }
    return csv;
}

QString summarySentence(const ConditionSummary& summary) {
    QString sentence = QStringLiteral("Agreement was assessed in %1 of %2 sessions (%3 %)")
                           .arg(summary.sessionsWithAgreement)
                           .arg(summary.sessions)
                           .arg(QString::number(summary.coverage, 'f', 2));
    for (const MeasureSummary& m : summary.measures) {
        if (m.pairs == 0)
            continue;
        const QString unit = m.isKappa() ? QString() : QStringLiteral(" %");
        const QString scoring = m.scoring == Scoring::Count
                                    ? QString()
                                    : QStringLiteral(" (%1)").arg(scoringName(m.scoring));
        sentence += QStringLiteral("; %1, %2%3: mean %4%5 (range %6\u2013%7%5)")
                        .arg(m.behaviour.isEmpty() ? m.key : m.behaviour, m.measure, scoring,
                             summaryValueText(m, m.mean), unit, summaryValueText(m, m.min),
                             summaryValueText(m, m.max));
    }
    return sentence + QLatin1Char('.');
}

} // namespace quorvia
