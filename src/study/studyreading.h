#pragma once

#include "study/study.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <vector>

// A study's workbooks found on disk and read on all cores.
namespace quorvia {

struct StudyFiles {
    QStringList files;   // the workbooks, in the order found (folders in name order)
    QStringList skipped; // what was passed over, and why
};

// The given paths as workbooks: files as they are, folders searched for files ending in .xlsx
// in any letter case. A link is followed once: a folder already searched is not searched again.
StudyFiles findStudyFiles(const QStringList& paths);

// Shared with another thread: how many files are read, and whether to stop.
struct StudyProgress {
    std::atomic<int> done{0};
    std::atomic<bool> cancel{false};
};

// Reads every file with the session-workbook reader, side by side on every core. Returns the
// results in the files' order; after a cancel, whatever was read (callers check progress).
std::vector<StudyInput> readStudyFiles(const QStringList& files, StudyProgress* progress = nullptr);

// Whether two workbook files hold the same cells (both read in full).
bool sameWorkbookCells(const QString& first, const QString& second);

// Found, read and built: what the study command and the windows use.
Study readStudy(const QStringList& paths, const QString& primary,
                StudyProgress* progress = nullptr);

} // namespace quorvia
