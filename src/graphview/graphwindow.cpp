#include "graphview/graphwindow.h"

#include "base/savepath.h"
#include "graph/studygraph.h"
#include "graphview/graphchart.h"
#include "graphview/graphcommand.h"
#include "graphview/studytabs.h"
#include "report/sessionworkbook.h"
#include "study/studyreading.h"
#include "study/studyworkbook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGraphicsWidget>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
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

// The figure, as wide as the view and as tall as the view or the tiers need, whichever is more;
// the view scrolls over a taller figure.
class FigureView : public QGraphicsView {
public:
    explicit FigureView(QWidget* parent)
        : QGraphicsView(parent) {
        setScene(&scene_);
        setRenderHint(QPainter::Antialiasing);
        setFrameShape(QFrame::NoFrame);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    // Shows figure in place of the one shown; a figure of tiers is given room for each.
    void show(QGraphicsWidget* figure, int tiers) {
        scene_.clear();
        figure_ = figure;
        minimumHeight_ = tiers > 1 ? 110 + 170 * tiers : 0;
        scene_.addItem(figure);
        fit();
    }
    QGraphicsWidget* figure() const { return figure_; }
    // The height the figure needs.
    int neededHeight() const { return minimumHeight_; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QGraphicsView::resizeEvent(event);
        fit();
    }

private:
    void fit() {
        if (!figure_)
            return;
        const QSize area = viewport()->size();
        const QRectF rect(0, 0, area.width(), std::max(area.height(), minimumHeight_));
        figure_->setGeometry(rect);
        setSceneRect(rect);
    }

    QGraphicsScene scene_;
    QGraphicsWidget* figure_ = nullptr;
    int minimumHeight_ = 0;
};

GraphWindow::GraphWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , platform_(platform)
    , sessionList_(new QListWidget(this))
    , measureBox_(new QComboBox(this))
    , keyList_(new QListWidget(this))
    , tierBox_(new QComboBox(this))
    , chartView_(new FigureView(this))
    , table_(new QTableWidget(this))
    , goalTable_(new QTableWidget(this))
    , effectsTable_(new QTableWidget(this))
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
    chartView_->setMinimumSize(420, 300);
    tierBox_->setObjectName(QStringLiteral("TierBox"));
    tierBox_->addItem(QStringLiteral("One graph (tiers for several participants)"), -1);
    tierBox_->addItem(QStringLiteral("A tier per participant"),
                      static_cast<int>(TierKind::Participant));
    tierBox_->addItem(QStringLiteral("A tier per key"), static_cast<int>(TierKind::Key));
    const std::pair<const char*, const char*> aidNames[] = {
        {"Mean line", "MeanAid"}, {"Median line", "MedianAid"}, {"Trend line", "TrendAid"}};
    for (const auto& [caption, name] : aidNames) {
        auto* box = new QCheckBox(QString::fromLatin1(caption), this);
        box->setObjectName(QString::fromLatin1(name));
        aidBoxes_.push_back(box);
    }
    goalTable_->setObjectName(QStringLiteral("GoalTable"));
    goalTable_->setColumnCount(3);
    goalTable_->setHorizontalHeaderLabels(
        {QStringLiteral("Key"), QStringLiteral("Behaviour"), QStringLiteral("Goal")});
    goalTable_->verticalHeader()->setVisible(false);
    goalTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    goalTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    goalTable_->setMaximumHeight(150);
    effectsTable_->setObjectName(QStringLiteral("EffectsTable"));
    effectsTable_->setColumnCount(static_cast<int>(effectsHeader().size()));
    effectsTable_->setHorizontalHeaderLabels(effectsHeader());
    effectsTable_->verticalHeader()->setVisible(false);
    effectsTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    effectsTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
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
    auto* tierLabel = new QLabel(QStringLiteral("Tiers"), left);
    tierBox_->setAccessibleName(tierLabel->text());
    leftLayout->addWidget(tierLabel);
    leftLayout->addWidget(tierBox_);
    auto* aidRow = new QHBoxLayout;
    for (QCheckBox* box : aidBoxes_)
        aidRow->addWidget(box);
    leftLayout->addLayout(aidRow);
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
    auto* effects = new QWidget(tabs);
    auto* effectsLayout = new QVBoxLayout(effects);
    effectsLayout->addWidget(new QLabel(QStringLiteral("Goal of each key"), effects));
    effectsLayout->addWidget(goalTable_);
    effectsLayout->addWidget(effectsTable_, 1);
    tabs->addTab(effects, QStringLiteral("Effects"));

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
    connect(tierBox_, &QComboBox::currentIndexChanged, this, &GraphWindow::regroup);
    for (QCheckBox* box : aidBoxes_)
        connect(box, &QCheckBox::toggled, this, &GraphWindow::redraw);
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
    // Before the window is first shown, its height grows with the tiers.
    if (!isVisible() && chartView_->neededHeight() > chartView_->height()) {
        const int extra = chartView_->neededHeight() - chartView_->height();
        const int available = screen() ? screen()->availableGeometry().height() : height();
        resize(width(), std::min(available, height() + extra));
    }
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

std::optional<TierKind> GraphWindow::tierChoice() const {
    const int kind = tierBox_->currentData().toInt();
    return kind < 0 ? std::nullopt : std::optional(static_cast<TierKind>(kind));
}

std::vector<PhaseAid> GraphWindow::aids() const {
    std::vector<PhaseAid> chosen;
    const PhaseAid all[] = {PhaseAid::Mean, PhaseAid::Median, PhaseAid::Trend};
    for (std::size_t i = 0; i < aidBoxes_.size(); ++i) {
        if (aidBoxes_[i]->isChecked())
            chosen.push_back(all[i]);
    }
    return chosen;
}

// The session list and the keys follow the workbooks and the measure; then the graph follows.
void GraphWindow::regroup() {
    study_ = buildStudy(inputs_, {primaryBox_->currentData().toString(), sameWorkbookCells});
    study_.leftOut = passedOver_ + study_.leftOut;
    set_ = sessionSetOf(study_, !inputs_.empty());
    studyTabs_->show(study_);
    exportStudyButton_->setEnabled(!study_.participants.empty());
    sessionList_->clear();
    const bool several = study_.participants.size() > 1;
    for (const StudyParticipant& participant : study_.participants) {
        for (const StudySession& session : participant.sessions) {
            auto* item = new QListWidgetItem(
                QStringLiteral("%1%2  %3  %4  (%5)")
                    .arg(several ? participant.id + QStringLiteral("  ") : QString())
                    .arg(session.workbook.sessionNumber)
                    .arg(session.workbook.sessionDate, session.workbook.condition,
                         QFileInfo(session.file).fileName()),
                sessionList_);
            item->setData(kFileRole, session.file);
        }
    }
    for (const StudyInput& input : inputs_) {
        const bool drawn = std::any_of(
            study_.participants.begin(), study_.participants.end(), [&](const StudyParticipant& p) {
                return std::any_of(p.sessions.begin(), p.sessions.end(),
                                   [&](const StudySession& s) { return s.file == input.file; });
            });
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
        for (const QString& skipped : study_.leftOut) {
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
    const StudyFigure all = studyFigure(study_, !inputs_.empty(), measure, {}, tierChoice());
    QStringList keys;
    for (const GraphTier& tier : all.tiers) {
        for (const GraphSeries& series : tier.data.series) {
            if (keys.contains(series.key))
                continue;
            keys << series.key;
            auto* item = new QListWidgetItem(
                QStringLiteral("%1   %2").arg(series.key, series.behaviour), keyList_);
            item->setData(kFileRole, series.key);
            item->setData(Qt::UserRole + 1, series.behaviour);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(unchecked.contains(series.key) ? Qt::Unchecked : Qt::Checked);
        }
    }
    listGoals();
    redraw();
}

// A goal per key of the list, kept while the key stays.
void GraphWindow::listGoals() {
    goalTable_->setRowCount(0);
    for (int i = 0; i < keyList_->count(); ++i) {
        const QString key = keyList_->item(i)->data(kFileRole).toString();
        goalTable_->insertRow(i);
        goalTable_->setItem(i, 0, new QTableWidgetItem(key));
        goalTable_->setItem(
            i, 1, new QTableWidgetItem(keyList_->item(i)->data(Qt::UserRole + 1).toString()));
        auto* box = new QComboBox(goalTable_);
        box->setObjectName(QStringLiteral("Goal-%1").arg(key));
        box->addItem(QStringLiteral("decrease"), static_cast<int>(EffectGoal::Decrease));
        box->addItem(QStringLiteral("increase"), static_cast<int>(EffectGoal::Increase));
        box->setCurrentIndex(goals_.value(key, EffectGoal::Decrease) == EffectGoal::Increase);
        connect(box, &QComboBox::currentIndexChanged, this, [this, key, box] {
            goals_[key] = static_cast<EffectGoal>(box->currentData().toInt());
            showEffects();
        });
        goalTable_->setCellWidget(i, 2, box);
    }
}

void GraphWindow::showEffects() {
    const std::vector<QStringList> rows = effectRows(figure_.tiers, goals_, EffectGoal::Decrease);
    effectsTable_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c)
            effectsTable_->setItem(static_cast<int>(r), c, new QTableWidgetItem(rows[r].at(c)));
    }
}

void GraphWindow::redraw() {
    const auto measure = static_cast<GraphMeasure>(measureBox_->currentData().toInt());
    QStringList keys;
    for (int i = 0; i < keyList_->count(); ++i) {
        if (keyList_->item(i)->checkState() == Qt::Checked)
            keys << keyList_->item(i)->data(kFileRole).toString();
    }
    figure_ = studyFigure(study_, !inputs_.empty(), measure, keys, tierChoice());
    if (keys.isEmpty()) { // nothing chosen: the sessions' axes without series
        if (figure_.kind == TierKind::Key)
            figure_.tiers.clear();
        for (GraphTier& tier : figure_.tiers)
            tier.data.series.clear();
    }
    if (!figure_.kind && !figure_.tiers.empty()) {
        data_ = figure_.tiers.front().data;
    } else {
        data_ = GraphData{};
        if (!figure_.tiers.empty())
            data_.participantId = figure_.tiers.front().data.participantId;
    }
    data_.measure = measure;
    if (!figure_.kind && !set_.sessions.empty())
        data_.participantId = set_.sessions.front().workbook.participantId.trimmed();

    if (figure_.kind && !figure_.tiers.empty()) {
        chartView_->show(new TierFigure(figure_.tiers, *figure_.kind, aids()),
                         static_cast<int>(figure_.tiers.size()));
    } else {
        ChartStyle style;
        style.aids = aids();
        chartView_->show(new SessionChart(figure_.kind ? SessionSet{} : set_, data_, style), 1);
    }

    const bool tiers = figure_.kind.has_value();
    QStringList headers{QStringLiteral("Session"),   QStringLiteral("Condition"),
                        QStringLiteral("Phase"),     QStringLiteral("Key"),
                        QStringLiteral("Behaviour"), QStringLiteral("Value")};
    if (tiers)
        headers.prepend(QStringLiteral("Tier"));
    table_->setRowCount(0);
    table_->setColumnCount(static_cast<int>(headers.size()));
    table_->setHorizontalHeaderLabels(headers);
    std::size_t sessions = 0;
    for (const GraphTier& tier : figure_.tiers) {
        sessions += tier.set.sessions.size();
        for (std::size_t i = 0; i < tier.set.sessions.size(); ++i) {
            const GraphSession& session = tier.set.sessions[i];
            for (const GraphSeries& series : tier.data.series) {
                const GraphPoint& point = series.points.at(i);
                const int row = table_->rowCount();
                table_->insertRow(row);
                QStringList cells{QString::number(session.workbook.sessionNumber),
                                  session.workbook.condition,
                                  QString::number(session.phase),
                                  series.key,
                                  point.behaviour,
                                  point.value ? graphValueText(*point.value) : QString()};
                if (tiers)
                    cells.prepend(tier.name);
                for (int c = 0; c < cells.size(); ++c)
                    table_->setItem(row, c, new QTableWidgetItem(cells.at(c)));
            }
        }
    }
    showEffects();

    QString status;
    if (inputs_.empty())
        status = QStringLiteral("Add the session workbooks of one or more participants.");
    else if (!figure_.error.isEmpty())
        status = figure_.error;
    else if (keyList_->count() == 0)
        status = studyFigure(study_, true, measure, {}, tierChoice()).error;
    else if (tiers)
        status = QStringLiteral("Tiers: %1, sessions: %2.").arg(figure_.tiers.size()).arg(sessions);
    else
        status = QStringLiteral("Sessions: %1, phases: %2.")
                     .arg(set_.sessions.size())
                     .arg(set_.phases.size());
    if (figure_.error.isEmpty() && !study_.leftOut.isEmpty())
        status += QStringLiteral(" %1 workbook(s) not drawn.").arg(study_.leftOut.size());
    status_->setText(status);
    const bool anySeries = std::any_of(figure_.tiers.begin(), figure_.tiers.end(),
                                       [](const GraphTier& t) { return !t.data.series.empty(); });
    exportButton_->setEnabled(anySeries);
}

void GraphWindow::exportAs() {
    // A figure of a tier per participant is named by all of them.
    QStringList names{data_.participantId};
    if (figure_.kind == TierKind::Participant) {
        names.clear();
        for (const GraphTier& tier : figure_.tiers)
            names << tier.name;
    }
    const QString path = chooseSavePath(
        this, platform_.dialogs, platform_.messages,
        {QStringLiteral("Export"), documentsFolder(),
         QStringLiteral("%1-%2.png").arg(names.join(u'-'), graphMeasureWord(data_.measure)),
         QStringLiteral("PNG image, 300 dpi (*.png);;SVG image (*.svg);;PDF document "
                        "(*.pdf);;Table of values (*.csv)")});
    if (!path.isEmpty())
        exportTo(path);
}

bool GraphWindow::exportTo(const QString& path) {
    QString error;
    if (QFileInfo(path).suffix().toLower() == QLatin1String("csv")) {
        const QString csv = figure_.kind ? tierCsv(figure_.tiers) : graphCsv(set_, data_);
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(csv.toUtf8()) >= 0 && file.commit())
            return true;
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
    } else if (figure_.kind) {
        if (exportTiers(figure_.tiers, *figure_.kind, aids(), path,
                        defaultGraphMillimetres(figure_.tiers.size()), error))
            return true;
    } else if (exportGraph(set_, data_, path, kDefaultGraphMillimetres, error, aids())) {
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
