#pragma once

#include "study/study.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The study's three tables, for CSV, the study workbook and the window alike.
namespace quorvia {

// A cell: its text as the CSV shows it, and the number behind it where it is one.
struct StudyCell {
    QString text;
    std::optional<double> number;
};

struct StudyTable {
    QStringList header;
    std::vector<std::vector<StudyCell>> rows;
};

enum class StudyTableKind { Sessions, Agreement, Summary };

std::optional<StudyTableKind> studyTableFromWord(const QString& word);

StudyTable studyTable(const Study& study, StudyTableKind kind);

// RFC 4180 with CRLF line ends, a header row: the dialect of the agreement command.
QString studyCsv(const StudyTable& table);

// The sentence an analyst copies into a method section, for one condition's summary:
// "Agreement was assessed in 4 of 12 sessions (33.33 %); Talking, mean count-per-interval: ..."
QString summarySentence(const ConditionSummary& summary);

} // namespace quorvia
