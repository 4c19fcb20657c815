#pragma once

#include "graph/sessiongraph.h"

#include <QChart>
#include <QSizeF>

#include <array>
#include <vector>

class QGraphicsSimpleTextItem;

namespace quorvia {

// The session graph: one point per session and key, joined within a phase, a dashed line at each
// phase change and the condition's name above each phase. Black on white throughout, the keys
// told apart by their marker shapes.
class SessionChart : public QChart {
    Q_OBJECT
public:
    SessionChart(const SessionSet& set, const GraphData& data);
    QString titleText() const;

private:
    void placeConditionNames();

    struct ConditionName {
        QString text;
        double first = 0; // the phase's extent on the session axis
        double last = 0;
        std::array<QGraphicsSimpleTextItem*, 2> lines{}; // wrapped to the phase's width
    };
    std::vector<ConditionName> names_;
    QGraphicsSimpleTextItem* title_ = nullptr;
};

// The size of an exported graph when none is asked for.
inline constexpr QSizeF kDefaultGraphMillimetres{160, 100};

// Writes the graph to path in the format its suffix names: .png (300 dots per inch), .svg or
// .pdf, of the given size. Returns false with the reason in error when it could not be written;
// nothing is then left at path.
bool exportGraph(const SessionSet& set, const GraphData& data, const QString& path,
                 QSizeF millimetres, QString& error);

} // namespace quorvia
