#pragma once

#include "graph/sessiongraph.h"
#include "base/services.h"

#include <QWidget>

class QChartView;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace quorvia {

// The "Session graph" window: the sessions read, the choice of keys and measure, the graph and a
// table of the plotted values, and their export.
class GraphWindow : public QWidget {
    Q_OBJECT
public:
    explicit GraphWindow(Platform& platform, QWidget* parent = nullptr);

    // Reads the workbooks (files or folders) not yet in the list and draws again.
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

    Platform& platform_;
    std::vector<GraphInput> inputs_; // in the order added
    SessionSet set_;
    GraphData data_;

    QListWidget* sessionList_;
    QComboBox* measureBox_;
    QListWidget* keyList_;
    QChartView* chartView_;
    QTableWidget* table_;
    QLabel* status_;
    QPushButton* exportButton_;
};

} // namespace quorvia
