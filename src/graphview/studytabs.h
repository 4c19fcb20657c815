#pragma once

#include "study/study.h"

#include <QStringList>
#include <QWidget>

#include <vector>

class QPlainTextEdit;
class QTableWidget;
class QTabWidget;

namespace quorvia {

// The study beside the graph: a "Sessions" tab (the sessions table, reliability sessions marked)
// and an "Agreement" tab (the summary, coverage below 20 % and means below 80 % marked, and a
// sentence per condition to copy).
class StudyTabs {
public:
    explicit StudyTabs(QTabWidget* tabs);
    void show(const Study& study);

private:
    QTableWidget* sessions_;
    QTableWidget* summary_;
    QPlainTextEdit* sentences_;
};

// Reads the files off the window's thread on every core, with a progress bar and Cancel; the
// window keeps handling its events meanwhile. None when the observer cancelled.
std::optional<std::vector<StudyInput>> readWithProgress(QWidget* parent, const QStringList& files);

} // namespace quorvia
