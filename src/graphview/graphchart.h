#pragma once

#include "graph/sessiongraph.h"
#include "graph/tiers.h"

#include <QChart>
#include <QSizeF>
#include <QValueAxis>

#include <array>
#include <vector>

class QGraphicsSimpleTextItem;
class QGraphicsWidget;

namespace quorvia {

class KeyLegend;

// The session graph: one point per session and key, joined within a phase, a dashed line at each
// phase change and the condition's name above each phase. Black on white throughout, the keys
// told apart by their marker shapes.
// How a chart is drawn: its phase aids, and its place in a figure of tiers.
struct ChartStyle {
    std::vector<PhaseAid> aids;
    bool tier = false;  // in a figure of tiers: the figure draws the phase lines, the legend and
                        // the measure's title, the chart has no background of its own
    QString tierName;   // written inside the tier at its upper right
    bool lowest = true; // the tier under which the session axis is labelled
    std::pair<int, int> sessions{0, 0}; // the span of every tier
    double largest = 0;                 // the largest value of every tier
    std::vector<bool> conditionsShown;  // per phase; empty: every phase
    QStringList markerKeys;             // a key's marker by its place here; empty: series order
};

class SessionChart : public QChart {
    Q_OBJECT
public:
    SessionChart(const SessionSet& set, const GraphData& data, const ChartStyle& style = {});
    QString titleText() const;
    // The foot and the top of the value axis (a little beyond 0 and the top tick).
    std::pair<double, double> valueRange() const { return valueRange_; }
    void placeLabels();
    // Makes room under the plot for as many rows as the legend needs at the new width.
    void setGeometry(const QRectF& rect) override;

private:
    struct ConditionName {
        QString text;
        double first = 0; // the phase's extent on the session axis
        double last = 0;
        std::array<QGraphicsSimpleTextItem*, 2> lines{}; // wrapped to the phase's width
    };
    std::vector<ConditionName> names_;
    QGraphicsSimpleTextItem* title_ = nullptr;
    QGraphicsSimpleTextItem* tierName_ = nullptr;
    KeyLegend* legend_ = nullptr; // none in a tier
    QValueAxis* yAxis_ = nullptr;
    QMargins margins_; // without the legend's rows
    std::pair<double, double> valueRange_{0, 1};
};

// A figure of tiers stacked over one session axis: per tier its sessions as SessionChart draws
// them over one value scale from 0, the phase changes joined from tier to tier by dashed step
// lines, the session axis labelled under the lowest tier and the keys' legend below.
class TierFigure : public QGraphicsWidget {
    Q_OBJECT
public:
    TierFigure(const std::vector<GraphTier>& tiers, TierKind kind,
               const std::vector<PhaseAid>& aids);
    QString titleText() const { return titleText_; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    void resizeEvent(QGraphicsSceneResizeEvent* event) override;

private:
    void layoutTiers();
    // The lines between the tiers and the measure's title, after the charts' layout.
    void placeSteps();

    std::vector<SessionChart*> charts_;
    std::vector<StepLine> steps_;
    std::vector<QGraphicsItem*> stepItems_;
    QGraphicsSimpleTextItem* title_ = nullptr;
    QGraphicsSimpleTextItem* valueTitle_ = nullptr;
    KeyLegend* legend_ = nullptr; // none for the tiers of one participant's keys
    QString titleText_;
    std::pair<int, int> sessions_;
};

// The size of an exported graph when none is asked for; a figure of tiers grows with them.
inline constexpr QSizeF kDefaultGraphMillimetres{160, 100};
QSizeF defaultGraphMillimetres(std::size_t tiers);

// Writes the graph to path in the format its suffix names: .png (300 dots per inch), .svg or
// .pdf, of the given size. Returns false with the reason in error when it could not be written;
// nothing is then left at path.
bool exportGraph(const SessionSet& set, const GraphData& data, const QString& path,
                 QSizeF millimetres, QString& error, const std::vector<PhaseAid>& aids = {});
// The same for a figure of tiers.
bool exportTiers(const std::vector<GraphTier>& tiers, TierKind kind,
                 const std::vector<PhaseAid>& aids, const QString& path, QSizeF millimetres,
                 QString& error);

} // namespace quorvia
