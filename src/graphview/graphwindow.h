#pragma once

#include "base/services.h"
#include "graph/effects.h"
#include "graph/sessiongraph.h"
#include "graph/studygraph.h"
#include "study/study.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace quorvia {

class FigureView;
class StudyTabs;

// The "Session graph" window: the sessions read, the choice of keys and measure, the graph and a
// table of the plotted values, and their export.
class GraphWindow : public QWidget {
    Q_OBJECT
public:
    explicit GraphWindow(Platform& platform, QWidget* parent = nullptr);
    ~GraphWindow() override;

    // Reads the workbooks (files or folders) not yet in the list, off the window's thread with a
    // progress bar and Cancel, and draws again: the primary observer's sessions, the others'
    // workbooks as reliability records in the study's tabs.
    void addWorkbooks(const QStringList& paths);
    // Writes the graph (.png, .svg, .pdf) or the table (.csv) to path; false with a message box
    // when that fails.
    bool exportTo(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void addFiles();
    void addFolder();
    void removeSelected();
    void regroup();
    void redraw();
    void exportAs();
    void exportStudy();
    void listObservers();
    void listGoals();
    void showEffects();
    std::vector<PhaseAid> aids() const;
    std::optional<TierKind> tierChoice() const;

    Platform& platform_;
    std::vector<StudyInput> inputs_; // in the order added
    QStringList passedOver_;         // what the search of folders passed over
    Study study_;
    SessionSet set_;     // the sessions of a participant's graph
    GraphData data_;     // its series
    StudyFigure figure_; // what is drawn: the graph as one tier, or the tiers
    QMap<QString, EffectGoal> goals_;

    QListWidget* sessionList_;
    QComboBox* measureBox_;
    QListWidget* keyList_;
    QComboBox* tierBox_;
    std::vector<QCheckBox*> aidBoxes_; // mean, median, trend
    FigureView* chartView_;
    QTableWidget* table_;
    QTableWidget* goalTable_;
    QTableWidget* effectsTable_;
    QLabel* status_;
    QPushButton* exportButton_;
    QComboBox* primaryBox_;
    QPushButton* exportStudyButton_;
    std::unique_ptr<StudyTabs> studyTabs_;
};

} // namespace quorvia
