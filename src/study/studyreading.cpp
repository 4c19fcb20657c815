#include "study/studyreading.h"

#include "report/sessionworkbook.h"
#include "workbook/workbookreader.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <thread>

namespace quorvia {

namespace {

bool isWorkbookName(const QString& name) {
    return name.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
}

void search(const QString& folder, QSet<QString>& searched, StudyFiles& found) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (searched.contains(canonical)) {
        found.skipped << QStringLiteral("%1: this folder is already searched (a link loops "
                                        "back to it); passed over.")
                             .arg(folder);
        return;
    }
    searched.insert(canonical);
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString path = dir.filePath(entry.fileName());
        if (entry.isDir()) {
            search(path, searched, found);
        } else if (isWorkbookName(entry.fileName())) {
            if (entry.isFile())
                found.files << path;
            else if (entry.isSymLink() && !entry.exists())
                found.skipped << QStringLiteral("%1: a link to nothing; passed over.").arg(path);
            else
                found.skipped << QStringLiteral("%1 is not a regular file; passed over.").arg(path);
        }
    }
}

} // namespace

StudyFiles findStudyFiles(const QStringList& paths) {
    StudyFiles found;
    QSet<QString> searched;
    for (const QString& path : paths) {
        // A folder named as a workbook is meant as one, and a file given is read whatever it
        // is: the reader says what is wrong with it.
        const QFileInfo info(path);
        if (info.isDir() && !isWorkbookName(path))
            search(path, searched, found);
        else
            found.files << path;
    }
    return found;
}

std::vector<StudyInput> readStudyFiles(const QStringList& files, StudyProgress* progress) {
    std::vector<StudyInput> inputs(static_cast<std::size_t>(files.size()));
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (;;) {
            if (progress && progress->cancel.load())
                return;
            const qsizetype i = next.fetch_add(1);
            if (i >= files.size())
                return;
            StudyInput& input = inputs[static_cast<std::size_t>(i)];
            input.file = files[i];
            input.read = readSessionWorkbook(input.file);
            if (progress)
                progress->done.fetch_add(1);
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const auto helpers = static_cast<unsigned>(
        std::min<qsizetype>(static_cast<qsizetype>(cores) - 1, files.size() - 1));
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < helpers; ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();
    return inputs;
}

bool sameWorkbookCells(const QString& first, const QString& second) {
    Worksheet a;
    Worksheet b;
    QString error;
    return readWorkbookCells(first, a, error) && readWorkbookCells(second, b, error) &&
           a.cells() == b.cells();
}

Study readStudy(const QStringList& paths, const QString& primary, StudyProgress* progress) {
    const StudyFiles files = findStudyFiles(paths);
    const std::vector<StudyInput> inputs = readStudyFiles(files.files, progress);
    if (progress && progress->cancel.load())
        return {};
    Study study = buildStudy(inputs, {primary, sameWorkbookCells});
    study.leftOut = files.skipped + study.leftOut;
    return study;
}

} // namespace quorvia
