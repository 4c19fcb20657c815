#include "graph/studygraph.h"

#include <QFileInfo>

namespace quorvia {

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
    const StudyParticipant& participant = study.participants.front();
    for (const StudyPhase& phase : participant.phases)
        set.phases.push_back({phase.condition, phase.firstSession, phase.lastSession});
    for (const StudySession& session : participant.sessions)
        set.sessions.push_back({session.file, session.workbook, session.phase});
    return set;
}

} // namespace quorvia
