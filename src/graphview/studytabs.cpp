#include "graphview/studytabs.h"

#include "study/studyreading.h"
#include "study/studytables.h"

#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <thread>

namespace quorvia {

namespace {

constexpr double kLeastCoverage = 20.0;
constexpr double kLeastMean = 80.0;

QTableWidget* tableWidget(const QString& name, const QString& accessibleName) {
    auto* table = new QTableWidget;
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    return table;
}

// Fills the table; mark(row) says which cells of a row to mark, and why.
template <typename Mark> void fill(QTableWidget* table, const StudyTable& content, Mark mark) {
    table->clear();
    table->setColumnCount(static_cast<int>(content.header.size()));
    table->setHorizontalHeaderLabels(content.header);
    table->setRowCount(static_cast<int>(content.rows.size()));
    for (std::size_t r = 0; r < content.rows.size(); ++r) {
        const std::vector<StudyCell>& row = content.rows[r];
        const std::vector<std::pair<int, QString>> marked = mark(row);
        for (std::size_t c = 0; c < row.size(); ++c) {
            auto* item = new QTableWidgetItem(row[c].text);
            for (const auto& [column, why] : marked) {
                if (column == static_cast<int>(c) || column < 0) {
                    item->setBackground(QColor(255, 214, 153));
                    item->setToolTip(why);
                }
            }
            table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    table->resizeColumnsToContents();
}

} // namespace

StudyTabs::StudyTabs(QTabWidget* tabs)
    : sessions_(tableWidget(QStringLiteral("StudySessionsTable"), QStringLiteral("Sessions table")))
    , summary_(
          tableWidget(QStringLiteral("StudySummaryTable"), QStringLiteral("Agreement summary")))
    , sentences_(new QPlainTextEdit) {
    tabs->addTab(sessions_, QStringLiteral("Sessions"));
    auto* agreement = new QWidget;
    auto* layout = new QVBoxLayout(agreement);
    layout->addWidget(summary_, 3);
    auto* caption = new QLabel(QStringLiteral("For the method section"), agreement);
    layout->addWidget(caption);
    sentences_->setObjectName(QStringLiteral("StudySentences"));
    sentences_->setAccessibleName(caption->text());
    sentences_->setReadOnly(true);
    sentences_->setTabChangesFocus(true);
    layout->addWidget(sentences_, 1);
    tabs->addTab(agreement, QStringLiteral("Agreement"));
}

void StudyTabs::show(const Study& study) {
    // Sessions with a reliability record (column 7) are marked.
    fill(sessions_, studyTable(study, StudyTableKind::Sessions), [](const auto& row) {
        std::vector<std::pair<int, QString>> marks;
        if (!row.at(6).text.isEmpty())
            marks.push_back({-1, QStringLiteral("Recorded again by %1").arg(row.at(6).text)});
        return marks;
    });
    // Coverage (column 5) below 20 %, a mean (column 12) of a percentage below 80 %.
    fill(summary_, studyTable(study, StudyTableKind::Summary), [](const auto& row) {
        std::vector<std::pair<int, QString>> marks;
        if (row.at(4).number && *row.at(4).number < kLeastCoverage)
            marks.push_back({4, QStringLiteral("Agreement in fewer than 20 % of the sessions")});
        if (row.at(9).text != QLatin1String("kappa") && row.at(11).number &&
            *row.at(11).number < kLeastMean)
            marks.push_back({11, QStringLiteral("A mean agreement below 80 %")});
        return marks;
    });
    QStringList lines;
    for (const StudyParticipant& p : study.participants) {
        for (const ConditionSummary& c : summarise(p))
            lines << QStringLiteral("%1, %2: %3").arg(p.id, c.condition, summarySentence(c));
    }
    sentences_->setPlainText(lines.join(QLatin1Char('\n')));
}

std::optional<std::vector<StudyInput>> readWithProgress(QWidget* parent, const QStringList& files) {
    StudyProgress progress;
    std::atomic<bool> finished{false};
    std::vector<StudyInput> inputs;
    std::thread reader([&] {
        inputs = readStudyFiles(files, &progress);
        finished = true;
    });
    QProgressDialog dialog(QStringLiteral("Reading %1 workbooks...").arg(files.size()),
                           QStringLiteral("Cancel"), 0, static_cast<int>(files.size()), parent);
    dialog.setObjectName(QStringLiteral("ReadingProgress"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(300);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(30);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished.load())
            loop.quit();
        else
            dialog.setValue(progress.done.load());
    });
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, [&] { progress.cancel = true; });
    poll.start();
    loop.exec();
    reader.join();
    if (progress.cancel.load())
        return std::nullopt;
    return inputs;
}

} // namespace quorvia
