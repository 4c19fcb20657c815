#include "study/study.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

namespace quorvia {

namespace {

struct Found {
    QString file;
    const SessionWorkbook* workbook = nullptr;
    QString observer;
};

// The files of one observer for one session: one workbook, the others equal copies of it; none
// when they differ (named in leftOut).
struct Chosen {
    const Found* found = nullptr;
    QStringList copies;
};

QString fileList(const std::vector<const Found*>& files) {
    QStringList names;
    for (const Found* f : files)
        names << f->file;
    return names.join(QStringLiteral(", "));
}

std::optional<Chosen> oneOf(const std::vector<const Found*>& files, const StudyOptions& options,
                            const QString& what, QStringList& leftOut) {
    Chosen chosen{files.front(), {}};
    for (std::size_t i = 1; i < files.size(); ++i) {
        if (!options.sameCells || !options.sameCells(files.front()->file, files[i]->file)) {
            leftOut << QStringLiteral("%1 is left out: its workbooks differ (%2).")
                           .arg(what, fileList(files));
            return std::nullopt;
        }
        chosen.copies << files[i]->file;
    }
    return chosen;
}

// "P07 (a.xlsx): ..." from the reader's error, naming the file by its path.
QString readerMessage(const StudyInput& input) {
    const QString name = QFileInfo(input.file).fileName();
    if (input.read.error.startsWith(name))
        return input.file + input.read.error.mid(name.size());
    return QStringLiteral("%1: %2").arg(input.file, input.read.error);
}

// Integer units of a value printed with d decimals.
std::int64_t units(double value, int decimals) {
    return std::llround(value * std::pow(10.0, decimals));
}

// a / b rounded half to even, b > 0.
std::int64_t divideHalfEven(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    std::int64_t r = a % b;
    if (r < 0) { // floor division
        --q;
        r += b;
    }
    if (2 * r > b || (2 * r == b && q % 2 != 0))
        ++q;
    return q;
}

} // namespace

const WorkbookSlot* keySlot(const SessionWorkbook& workbook, const QString& key) {
    for (const WorkbookSlot& slot : workbook.keySlots) {
        if (slot.key == key)
            return &slot;
    }
    return nullptr;
}

std::optional<double> sessionValue(const StudySession& session, const QString& key,
                                   GraphMeasure measure) {
    const WorkbookSlot* slot = keySlot(session.workbook, key);
    return slot ? slotMeasure(*slot, measure) : std::nullopt;
}

Study buildStudy(const std::vector<StudyInput>& inputs, const StudyOptions& options) {
    Study study;
    // Participant -> session number -> the files found for it.
    std::map<QString, std::map<int, std::vector<Found>>> byParticipant;
    for (const StudyInput& input : inputs) {
        if (!input.read.workbook) {
            study.leftOut << readerMessage(input);
            continue;
        }
        const SessionWorkbook& w = *input.read.workbook;
        ++study.workbooksRead;
        byParticipant[w.participantId.trimmed()][w.sessionNumber].push_back(
            {input.file, &w, w.observerId.trimmed()});
    }
    const QString wanted = options.primary.trimmed();
    for (auto& [participantId, sessions] : byParticipant) {
        for (auto& [number, files] : sessions)
            std::sort(files.begin(), files.end(), [](const Found& a, const Found& b) {
                return a.observer != b.observer ? a.observer < b.observer : a.file < b.file;
            });
        // The primary observer: the one asked for, or the one in the most session numbers.
        std::map<QString, int> sessionsOf;
        for (const auto& [number, files] : sessions) {
            QStringList observers;
            for (const Found& f : files) {
                if (!observers.contains(f.observer))
                    observers << f.observer;
            }
            for (const QString& o : observers)
                ++sessionsOf[o];
        }
        const QString who = QStringLiteral("Participant %1").arg(participantId);
        QString primary = wanted;
        if (primary.isEmpty()) {
            int most = 0;
            QStringList tied;
            for (const auto& [observer, count] : sessionsOf) {
                if (count > most) {
                    most = count;
                    tied = QStringList{observer};
                } else if (count == most) {
                    tied << observer;
                }
            }
            if (tied.size() > 1) {
                study.leftOut << QStringLiteral(
                                     "%1 is left out: observers %2 are each in %3 "
                                     "sessions; choose the primary observer (--primary).")
                                     .arg(who, tied.join(QStringLiteral(", ")))
                                     .arg(most);
                continue;
            }
            primary = tied.value(0);
        } else if (sessionsOf.find(primary) == sessionsOf.end()) {
            study.leftOut << QStringLiteral("%1 is left out: no workbook is of observer %2.")
                                 .arg(who, primary);
            continue;
        }

        StudyParticipant participant{participantId, primary, {}, {}};
        for (const auto& [number, files] : sessions) {
            const QString session =
                QStringLiteral("Session %1 of participant %2").arg(number).arg(participantId);
            // The files by observer, the primary's first.
            std::map<QString, std::vector<const Found*>> byObserver;
            for (const Found& f : files)
                byObserver[f.observer].push_back(&f);
            const auto own = byObserver.find(primary);
            if (own == byObserver.end()) {
                std::vector<const Found*> all;
                for (const Found& f : files)
                    all.push_back(&f);
                study.leftOut << QStringLiteral("%1 is left out: it has no workbook of the "
                                                "primary observer %2 (%3).")
                                     .arg(session, primary, fileList(all));
                continue;
            }
            const std::optional<Chosen> chosen =
                oneOf(own->second, options, session, study.leftOut);
            if (!chosen)
                continue;
            StudySession s{chosen->found->file,
                           chosen->copies,
                           *chosen->found->workbook,
                           chosen->found->workbook->condition.trimmed(),
                           0,
                           {}};
            study.filesUsed += 1 + static_cast<int>(chosen->copies.size());
            for (const auto& [observer, theirs] : byObserver) {
                if (observer == primary)
                    continue;
                const std::optional<Chosen> record =
                    oneOf(theirs, options,
                          QStringLiteral("The record of observer %1 of %2")
                              .arg(observer, session.toLower()),
                          study.leftOut);
                if (!record)
                    continue;
                AgreementResult result = compareWorkbooks(s.workbook, *record->found->workbook);
                if (!result.agreement) {
                    study.leftOut << QStringLiteral("%1 and %2 are not compared: %3")
                                         .arg(s.file, record->found->file, result.error);
                    continue;
                }
                for (const QString& warning : result.agreement->warnings)
                    study.warnings << QStringLiteral("%1 and %2: %3")
                                          .arg(s.file, record->found->file, warning);
                study.filesUsed += 1 + static_cast<int>(record->copies.size());
                s.reliability.push_back(
                    {observer, record->found->file, std::move(*result.agreement)});
            }
            // Phases: consecutive sessions with the same condition.
            if (participant.phases.empty() || participant.phases.back().condition != s.condition)
                participant.phases.push_back({s.condition, number, number});
            participant.phases.back().lastSession = number;
            s.phase = static_cast<int>(participant.phases.size());
            participant.sessions.push_back(std::move(s));
        }
        if (!participant.sessions.empty())
            study.participants.push_back(std::move(participant));
    }
    return study;
}

double roundedMean(const std::vector<double>& values, int decimals) {
    std::int64_t sum = 0;
    for (const double v : values)
        sum += units(v, decimals);
    return static_cast<double>(divideHalfEven(sum, static_cast<std::int64_t>(values.size()))) /
           std::pow(10.0, decimals);
}

std::vector<ConditionSummary> summarise(const StudyParticipant& participant) {
    // Every key, scoring and measure of the participant's agreement rows, in order of appearance.
    std::vector<MeasureSummary> found;
    for (const StudySession& session : participant.sessions) {
        for (const ReliabilityRecord& record : session.reliability) {
            for (const AgreementRow& row : record.agreement.rows) {
                const bool known =
                    std::any_of(found.begin(), found.end(), [&](const MeasureSummary& m) {
                        return m.key == row.key && m.scoring == row.scoring &&
                               m.measure == row.measure;
                    });
                if (!known)
                    found.push_back({row.key,
                                     row.behaviour,
                                     row.mode,
                                     row.scoring,
                                     row.measure,
                                     0,
                                     {},
                                     {},
                                     {}});
            }
        }
    }
    QStringList conditions;
    for (const StudySession& session : participant.sessions) {
        if (!conditions.contains(session.condition))
            conditions << session.condition;
    }
    const QString all = QStringLiteral("(all)");
    std::vector<ConditionSummary> result;
    for (const QString& condition : conditions + QStringList{all}) {
        ConditionSummary summary{condition, 0, 0, 0, found};
        std::vector<std::vector<double>> values(found.size());
        for (const StudySession& session : participant.sessions) {
            if (condition != all && session.condition != condition)
                continue;
            ++summary.sessions;
            summary.sessionsWithAgreement += session.reliability.empty() ? 0 : 1;
            for (const ReliabilityRecord& record : session.reliability) {
                for (const AgreementRow& row : record.agreement.rows) {
                    if (!row.value)
                        continue;
                    for (std::size_t m = 0; m < found.size(); ++m) {
                        if (found[m].key == row.key && found[m].scoring == row.scoring &&
                            found[m].measure == row.measure)
                            values[m].push_back(*row.value);
                    }
                }
            }
        }
        summary.coverage = static_cast<double>(divideHalfEven(10000 * summary.sessionsWithAgreement,
                                                              summary.sessions)) /
                           100.0;
        for (std::size_t m = 0; m < found.size(); ++m) {
            MeasureSummary& measure = summary.measures[m];
            measure.pairs = static_cast<int>(values[m].size());
            if (values[m].empty())
                continue;
            measure.mean = roundedMean(values[m], measure.isKappa() ? 3 : 2);
            measure.min = *std::min_element(values[m].begin(), values[m].end());
            measure.max = *std::max_element(values[m].begin(), values[m].end());
        }
        result.push_back(std::move(summary));
    }
    return result;
}

QString summaryValueText(const MeasureSummary& summary, const std::optional<double>& value) {
    if (!value)
        return QStringLiteral("n/a");
    const double v = *value == 0 ? 0.0 : *value;
    return QString::number(v, 'f', summary.isKappa() ? 3 : 2);
}

} // namespace quorvia
