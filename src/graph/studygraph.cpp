#include "graph/studygraph.h"

#include <QFileInfo>

namespace quorvia {

namespace {

SessionSet setOf(const StudyParticipant& participant) {
    SessionSet set;
    for (const StudyPhase& phase : participant.phases)
        set.phases.push_back({phase.condition, phase.firstSession, phase.lastSession});
    for (const StudySession& session : participant.sessions)
        set.sessions.push_back({session.file, session.workbook, session.phase});
    return set;
}

} // namespace

SessionSet sessionSetOf(const Study& study, bool anyFile) {
    SessionSet set;
    set.skipped = study.leftOut;
    if (study.participants.empty()) {
        if (!anyFile)
            set.refusal = QStringLiteral("No session workbook was given.");
        else if (study.workbooksRead == 0)
            set.refusal = QStringLiteral("None of the workbooks could be read.");
        else // a participant left out as a whole says why last
            set.refusal = QStringLiteral("No session can be drawn. %1")
                              .arg(study.leftOut.value(study.leftOut.size() - 1));
        return set;
    }
    if (study.participants.size() > 1) {
        QStringList ids;
        for (const StudyParticipant& p : study.participants) {
            QStringList files;
            for (const StudySession& session : p.sessions) {
                if (files.size() == 3) {
                    files.last() += QStringLiteral(" and %1 more").arg(p.sessions.size() - 3);
                    break;
                }
                files << QFileInfo(session.file).fileName();
            }
            ids << QStringLiteral("%1 (%2)").arg(p.id, files.join(QStringLiteral(", ")));
        }
        set.refusal = QStringLiteral("The workbooks are of different participants: %1.")
                          .arg(ids.join(QStringLiteral("; ")));
        return set;
    }
    SessionSet one = setOf(study.participants.front());
    one.skipped = set.skipped;
    return one;
}

std::vector<GraphTier> participantTiers(const Study& study) {
    std::vector<GraphTier> tiers;
    for (const StudyParticipant& participant : study.participants)
        tiers.push_back({participant.id, setOf(participant), {}});
    return tiers;
}

StudyFigure studyFigure(const Study& study, bool anyFile, GraphMeasure measure,
                        const QStringList& keys, std::optional<TierKind> kind) {
    StudyFigure figure;
    if (!kind && study.participants.size() > 1)
        kind = TierKind::Participant;
    figure.kind = kind;
    if (kind != TierKind::Participant) {
        SessionSet set = sessionSetOf(study, anyFile);
        if (!set.refusal.isEmpty()) {
            figure.error = set.refusal;
            if (kind == TierKind::Key)
                figure.error += QStringLiteral(" Key tiers are the keys of one participant.");
            return figure;
        }
        const QStringList chosen =
            keys.isEmpty() && kind ? inSlotOrder(set, keysWithMeasure(set, measure)) : keys;
        GraphData data = graphData(set, measure, chosen);
        if (!data.error.isEmpty()) {
            figure.error = data.error;
            return figure;
        }
        if (kind)
            figure.tiers = keyTiers(set, data);
        else
            figure.tiers.push_back({data.participantId, std::move(set), std::move(data)});
        return figure;
    }
    if (study.participants.empty()) {
        figure.error = sessionSetOf(study, anyFile).refusal;
        return figure;
    }
    figure.tiers = participantTiers(study);
    for (GraphTier& tier : figure.tiers) {
        tier.data = graphData(tier.set, measure, keys);
        if (!tier.data.error.isEmpty()) {
            figure.error = QStringLiteral("%1: %2").arg(tier.name, tier.data.error);
            figure.tiers.clear();
            return figure;
        }
    }
    orderTiers(figure.tiers);
    return figure;
}

} // namespace quorvia
