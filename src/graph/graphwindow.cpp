#include "graph/graphwindow.h"

#include "base/savepath.h"
#include "graph/graphchart.h"
#include "graph/graphcommand.h"
#include "graph/studygraph.h"
#include "graph/studytabs.h"
#include "study/studyreading.h"
#include "study/studyworkbook.h"

#include <QChartView>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorvia {

namespace {

constexpr int kFileRole = Qt::UserRole;

QPushButton* button(const QString& caption, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

GraphWindow::GraphWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , platform_(platform)
    , sessionList_(new QListWidget(this))
    , measureBox_(new QComboBox(this))
    , keyList_(new QListWidget(this))
    , chartView_(new QChartView(this))
    , table_(new QTableWidget(this))
    , status_(new QLabel(this))
    , exportButton_(button(QStringLiteral("Export..."), QStringLiteral("ExportButton"), this))
    , primaryBox_(new QComboBox(this))
    , exportStudyButton_(
          button(QStringLiteral("Export study..."), QStringLiteral("ExportStudyButton"), this)) {
    setObjectName(QStringLiteral("GraphWindow"));
    setWindowTitle(QStringLiteral("Session graph"));
    setAcceptDrops(true);
    resize(1200, 720);

    sessionList_->setObjectName(QStringLiteral("SessionList"));
    sessionList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    measureBox_->setObjectName(QStringLiteral("MeasureBox"));
    for (GraphMeasure m :
         {GraphMeasure::Full, GraphMeasure::Partial, GraphMeasure::Rpm, GraphMeasure::Interval})
        measureBox_->addItem(graphMeasureCaption(m), static_cast<int>(m));
    keyList_->setObjectName(QStringLiteral("KeyList"));
    chartView_->setObjectName(QStringLiteral("GraphView"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumSize(420, 300);
    chartView_->setAccessibleName(QStringLiteral("Graph of the sessions"));
    table_->setObjectName(QStringLiteral("ValueTable"));
    table_->setColumnCount(6);
    table_->setHorizontalHeaderLabels({QStringLiteral("Session"), QStringLiteral("Condition"),
                                       QStringLiteral("Phase"), QStringLiteral("Key"),
                                       QStringLiteral("Behaviour"), QStringLiteral("Value")});
    table_->verticalHeader()->setVisible(false);
    table_->setTabKeyNavigation(false); // Tab moves on to the next control, not the next cell
    table_->setAccessibleName(QStringLiteral("Table of values"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    status_->setObjectName(QStringLiteral("StatusLabel"));
    status_->setWordWrap(true);

    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    // Each input is named by the label above it.
    const auto heading = [left](const QString& text, const QString& name, QWidget* input) {
        auto* label = new QLabel(text, left);
        label->setBuddy(input);
        input->setAccessibleName(name);
        return label;
    };
    leftLayout->addWidget(heading(QStringLiteral("&Sessions (drop workbooks here)"),
                                  QStringLiteral("Sessions"), sessionList_));
    leftLayout->addWidget(sessionList_, 3);
    auto* fileButtons = new QHBoxLayout;
    QPushButton* addFilesButton =
        button(QStringLiteral("Add Files..."), QStringLiteral("AddFilesButton"), left);
    QPushButton* addFolderButton =
        button(QStringLiteral("Add Folder..."), QStringLiteral("AddFolderButton"), left);
    QPushButton* removeButton =
        button(QStringLiteral("Remove"), QStringLiteral("RemoveButton"), left);
    fileButtons->addWidget(addFilesButton);
    fileButtons->addWidget(addFolderButton);
    fileButtons->addWidget(removeButton);
    leftLayout->addLayout(fileButtons);
    leftLayout->addWidget(
        heading(QStringLiteral("&Measure"), QStringLiteral("Measure"), measureBox_));
    leftLayout->addWidget(measureBox_);
    leftLayout->addWidget(heading(QStringLiteral("&Keys"), QStringLiteral("Keys"), keyList_));
    leftLayout->addWidget(keyList_, 2);
    leftLayout->addWidget(exportButton_);
    auto* primaryLabel = new QLabel(QStringLiteral("Primary observer"), left);
    leftLayout->addWidget(primaryLabel);
    primaryBox_->setObjectName(QStringLiteral("PrimaryBox"));
    primaryBox_->setAccessibleName(primaryLabel->text());
    primaryBox_->addItem(QStringLiteral("The one in the most sessions"), QString());
    leftLayout->addWidget(primaryBox_);
    leftLayout->addWidget(exportStudyButton_);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("StudyTabs"));
    tabs->setAccessibleName(QStringLiteral("Graph and study tables"));
    tabs->tabBar()->setAccessibleName(QStringLiteral("Views"));
    tabs->addTab(chartView_, QStringLiteral("Graph"));
    studyTabs_ = std::make_unique<StudyTabs>(tabs);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(tabs);
    splitter->addWidget(table_);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({320, 540, 340});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(status_);

    connect(addFilesButton, &QPushButton::clicked, this, &GraphWindow::addFiles);
    connect(addFolderButton, &QPushButton::clicked, this, &GraphWindow::addFolder);
    connect(removeButton, &QPushButton::clicked, this, &GraphWindow::removeSelected);
    connect(measureBox_, &QComboBox::currentIndexChanged, this, &GraphWindow::regroup);
    connect(keyList_, &QListWidget::itemChanged, this, &GraphWindow::redraw);
    connect(exportButton_, &QPushButton::clicked, this, &GraphWindow::exportAs);
    connect(exportStudyButton_, &QPushButton::clicked, this, &GraphWindow::exportStudy);
    connect(primaryBox_, &QComboBox::currentIndexChanged, this, &GraphWindow::regroup);
    regroup();
}

GraphWindow::~GraphWindow() = default;

void GraphWindow::addWorkbooks(const QStringList& paths) {
    const StudyFiles found = findStudyFiles(paths);
    QStringList files;
    for (const QString& file : found.files) {
        const QString path = QFileInfo(file).absoluteFilePath();
        const bool known = std::any_of(inputs_.begin(), inputs_.end(),
                                       [&](const StudyInput& in) { return in.file == path; });
        if (!known && !files.contains(path))
            files << path;
    }
    const std::optional<std::vector<StudyInput>> read = readWithProgress(this, files);
    if (!read) {
        status_->setText(QStringLiteral("Reading was cancelled; no workbook was added."));
        return;
    }
    inputs_.insert(inputs_.end(), read->begin(), read->end());
    passedOver_ << found.skipped;
    listObservers();
    regroup();
}

// The observers of the workbooks read, to choose the primary from.
void GraphWindow::listObservers() {
    QStringList observers;
    for (const StudyInput& input : inputs_) {
        if (input.read.workbook && !observers.contains(input.read.workbook->observerId.trimmed()))
            observers << input.read.workbook->observerId.trimmed();
    }
    observers.sort();
    const QString chosen = primaryBox_->currentData().toString();
    const QSignalBlocker blocker(primaryBox_);
    while (primaryBox_->count() > 1)
        primaryBox_->removeItem(1);
    for (const QString& observer : observers)
        primaryBox_->addItem(observer, observer);
    primaryBox_->setCurrentIndex(std::max(0, primaryBox_->findData(chosen)));
}

void GraphWindow::exportStudy() {
    const QString path = chooseSavePath(this, platform_.dialogs, platform_.messages,
                                        {QStringLiteral("Export Study"), documentsFolder(),
                                         QStringLiteral("%1-study.xlsx").arg(data_.participantId),
                                         QStringLiteral("Workbook (*.xlsx)")});
    if (path.isEmpty())
        return;
    if (!writeStudyWorkbook(platform_.workbooks, study_, path))
        platform_.messages.inform(this, QStringLiteral("%1 could not be written.").arg(path));
}

void GraphWindow::addFiles() {
    const QStringList files =
        platform_.dialogs.openFileNames(this, {QStringLiteral("Add Session Workbooks"),
                                               documentsFolder(),
                                               {},
                                               QStringLiteral("Session workbook (*.xlsx)")});
    if (!files.isEmpty())
        addWorkbooks(files);
}

void GraphWindow::addFolder() {
    const QString folder = platform_.dialogs.folderName(
        this, {QStringLiteral("Add a Folder of Session Workbooks"), documentsFolder(), {}, {}});
    if (!folder.isEmpty())
        addWorkbooks({folder});
}

void GraphWindow::removeSelected() {
    for (const QListWidgetItem* item : sessionList_->selectedItems()) {
        const QString file = item->data(kFileRole).toString();
        std::erase_if(inputs_, [&](const StudyInput& in) { return in.file == file; });
    }
    listObservers();
    regroup();
}

// The session list and the keys follow the workbooks and the measure; then the graph follows.
void GraphWindow::regroup() {
    study_ = buildStudy(inputs_, {primaryBox_->currentData().toString(), sameWorkbookCells});
    study_.leftOut = passedOver_ + study_.leftOut;
    set_ = sessionSetOf(study_, !inputs_.empty());
    studyTabs_->show(study_);
    exportStudyButton_->setEnabled(!study_.participants.empty());
    sessionList_->clear();
    for (const GraphSession& session : set_.sessions) {
        auto* item =
            new QListWidgetItem(QStringLiteral("%1  %2  %3  (%4)")
                                    .arg(session.workbook.sessionNumber)
                                    .arg(session.workbook.sessionDate, session.workbook.condition,
                                         QFileInfo(session.file).fileName()),
                                sessionList_);
        item->setData(kFileRole, session.file);
    }
    for (const StudyInput& input : inputs_) {
        const bool drawn = std::any_of(set_.sessions.begin(), set_.sessions.end(),
                                       [&](const GraphSession& s) { return s.file == input.file; });
        if (drawn)
            continue;
        QString reliability;
        for (const StudyParticipant& p : study_.participants) {
            for (const StudySession& session : p.sessions) {
                for (const ReliabilityRecord& r : session.reliability) {
                    if (r.file == input.file)
                        reliability = QStringLiteral("%1  reliability record of %2  (%3)")
                                          .arg(session.workbook.sessionNumber)
                                          .arg(r.observerId, QFileInfo(r.file).fileName());
                }
                if (session.copies.contains(input.file))
                    reliability = QStringLiteral("%1  copy  (%2)")
                                      .arg(session.workbook.sessionNumber)
                                      .arg(QFileInfo(input.file).fileName());
            }
        }
        if (!reliability.isEmpty()) {
            auto* item = new QListWidgetItem(reliability, sessionList_);
            item->setData(kFileRole, input.file);
            continue;
        }
        QString reason = QFileInfo(input.file).fileName();
        for (const QString& skipped : set_.skipped) {
            if (skipped.contains(input.file))
                reason = skipped;
        }
        auto* item = new QListWidgetItem(
            QStringLiteral("not drawn: %1")
                .arg(QString(reason).replace(input.file, QFileInfo(input.file).fileName())),
            sessionList_);
        item->setToolTip(reason);
        item->setData(kFileRole, input.file);
        item->setForeground(Qt::darkGray);
    }

    const auto measure = static_cast<GraphMeasure>(measureBox_->currentData().toInt());
    QStringList unchecked;
    for (int i = 0; i < keyList_->count(); ++i) {
        if (keyList_->item(i)->checkState() == Qt::Unchecked)
            unchecked << keyList_->item(i)->data(kFileRole).toString();
    }
    const QSignalBlocker blocker(keyList_);
    keyList_->clear();
    const GraphData all = graphData(set_, measure, {});
    for (const GraphSeries& series : all.series) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1   %2").arg(series.key, series.behaviour), keyList_);
        item->setData(kFileRole, series.key);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(unchecked.contains(series.key) ? Qt::Unchecked : Qt::Checked);
    }
    redraw();
}

void GraphWindow::redraw() {
    const auto measure = static_cast<GraphMeasure>(measureBox_->currentData().toInt());
    QStringList keys;
    for (int i = 0; i < keyList_->count(); ++i) {
        if (keyList_->item(i)->checkState() == Qt::Checked)
            keys << keyList_->item(i)->data(kFileRole).toString();
    }
    data_ = keys.isEmpty() ? GraphData{} : graphData(set_, measure, keys);
    data_.measure = measure;
    if (!set_.sessions.empty())
        data_.participantId = set_.sessions.front().workbook.participantId.trimmed();

    QChart* old = chartView_->chart();
    chartView_->setChart(new SessionChart(set_, data_));
    delete old;

    table_->setRowCount(0);
    for (std::size_t i = 0; i < set_.sessions.size(); ++i) {
        const GraphSession& session = set_.sessions[i];
        for (const GraphSeries& series : data_.series) {
            const GraphPoint& point = series.points.at(i);
            const int row = table_->rowCount();
            table_->insertRow(row);
            const QStringList cells{QString::number(session.workbook.sessionNumber),
                                    session.workbook.condition,
                                    QString::number(session.phase),
                                    series.key,
                                    point.behaviour,
                                    point.value ? graphValueText(*point.value) : QString()};
            for (int c = 0; c < cells.size(); ++c)
                table_->setItem(row, c, new QTableWidgetItem(cells.at(c)));
        }
    }

    QString status;
    if (inputs_.empty())
        status = QStringLiteral("Add the session workbooks of one participant.");
    else if (!set_.refusal.isEmpty())
        status = set_.refusal;
    else if (keyList_->count() == 0)
        status = graphData(set_, measure, {}).error;
    else
        status = QStringLiteral("Sessions: %1, phases: %2.")
                     .arg(set_.sessions.size())
                     .arg(set_.phases.size());
    if (set_.refusal.isEmpty() && !set_.skipped.isEmpty())
        status += QStringLiteral(" %1 workbook(s) not drawn.").arg(set_.skipped.size());
    status_->setText(status);
    exportButton_->setEnabled(!data_.series.empty());
}

void GraphWindow::exportAs() {
    const QString path = chooseSavePath(
        this, platform_.dialogs, platform_.messages,
        {QStringLiteral("Export"), documentsFolder(),
         QStringLiteral("%1-%2.png").arg(data_.participantId, graphMeasureWord(data_.measure)),
         QStringLiteral("PNG image, 300 dpi (*.png);;SVG image (*.svg);;PDF document "
                        "(*.pdf);;Table of values (*.csv)")});
    if (!path.isEmpty())
        exportTo(path);
}

bool GraphWindow::exportTo(const QString& path) {
    QString error;
    if (QFileInfo(path).suffix().toLower() == QLatin1String("csv")) {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(graphCsv(set_, data_).toUtf8()) >= 0 &&
            file.commit())
            return true;
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
    } else if (exportGraph(set_, data_, path, kDefaultGraphMillimetres, error)) {
        return true;
    }
    platform_.messages.inform(this, error);
    return false;
}

void GraphWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void GraphWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    addWorkbooks(paths);
    event->acceptProposedAction();
}

} // namespace quorvia
