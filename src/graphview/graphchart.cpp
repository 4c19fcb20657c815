#include "graphview/graphchart.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QGraphicsSceneResizeEvent>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace quorvia {

namespace {

constexpr double kScreenDpi = 96;
constexpr double kPngDpi = 300;
// Room below 0 and above the top of the value axis, as a share of the top: more than half the
// largest marker on the smallest plot the window shows.
constexpr double kValueRoom = 0.05;
constexpr int kConditionPixels = 13;

struct Marker {
    QScatterSeries::MarkerShape shape;
    bool filled;
};

// Ten keys, ten markers that stay apart in grey: six shapes, filled black or hollow.
constexpr std::array<Marker, 10> kMarkers{{
    {QScatterSeries::MarkerShapeCircle, true},
    {QScatterSeries::MarkerShapeRectangle, false},
    {QScatterSeries::MarkerShapeTriangle, true},
    {QScatterSeries::MarkerShapeCircle, false},
    {QScatterSeries::MarkerShapeRectangle, true},
    {QScatterSeries::MarkerShapeTriangle, false},
    {QScatterSeries::MarkerShapeRotatedRectangle, true},
    {QScatterSeries::MarkerShapeRotatedRectangle, false},
    {QScatterSeries::MarkerShapeStar, true},
    {QScatterSeries::MarkerShapePentagon, false},
}};

QFont pixelFont(int pixels, bool bold = false) {
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A step between labelled sessions that keeps the labels apart: 1, 2, 5, 10, 20, ...
double sessionStep(int span) {
    double step = 1;
    for (int i = 0; span / step > 12; ++i)
        step *= (i % 3 == 1) ? 2.5 : 2;
    return step;
}

// Smaller markers where many sessions share the width.
double markerSize(int sessions) {
    return std::clamp(200.0 / static_cast<double>(std::max(sessions, 1)), 6.0, 10.0);
}

// Above a tier's plot: its condition names.
constexpr int kAboveTier = 38; // two lines

// A condition's name in at most two lines of the given width, broken between words and elided
// where a word or the second line is wider.
QStringList wrappedName(const QString& text, const QFontMetricsF& metrics, double width) {
    QStringList lines;
    for (const QString& word : text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() &&
            metrics.horizontalAdvance(lines.back() + QLatin1Char(' ') + word) <= width)
            lines.back() += QLatin1Char(' ') + word;
        else if (lines.size() < 2)
            lines << word;
        else
            lines.back() += QLatin1Char(' ') + word;
    }
    for (QString& line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, std::max(width, 0.0));
    return lines;
}

// The marker of a legend entry, as a scatter series draws it, centred on (0, 0).
QPainterPath markerPath(QScatterSeries::MarkerShape shape, double size) {
    QPainterPath path;
    const double r = size / 2;
    const auto polygon = [&](int corners, double inner) {
        QPolygonF points;
        const int steps = inner > 0 ? corners * 2 : corners;
        for (int i = 0; i < steps; ++i) {
            const double radius = (inner > 0 && i % 2) ? r * inner : r;
            const double angle = -M_PI / 2 + 2 * M_PI * i / steps;
            points << QPointF(radius * std::cos(angle), radius * std::sin(angle));
        }
        path.addPolygon(points);
        path.closeSubpath();
    };
    switch (shape) {
    case QScatterSeries::MarkerShapeRectangle:
        path.addRect(-r, -r, size, size);
        break;
    case QScatterSeries::MarkerShapeTriangle:
        polygon(3, 0);
        break;
    case QScatterSeries::MarkerShapeRotatedRectangle:
        polygon(4, 0);
        break;
    case QScatterSeries::MarkerShapeStar:
        polygon(5, 0.45);
        break;
    case QScatterSeries::MarkerShapePentagon:
        polygon(5, 0);
        break;
    default:
        path.addEllipse(QPointF(0, 0), r, r);
    }
    return path;
}

// The legend's rows: their height, the room above and below them and between them and the sides.
constexpr double kLegendLine = 20;
constexpr double kLegendPad = 4;
constexpr double kLegendSide = 8;
// An entry's marker before its text, and the room between entries.
constexpr double kMarkerRoom = 16;
constexpr double kEntryGap = 8;

} // namespace

// The keys' legend under a graph: per key its marker and the behaviour's name, whole, in as many
// rows as the width needs. Only a name wider than a whole row is cut short, with "…".
class KeyLegend : public QGraphicsItem {
public:
    explicit KeyLegend(QGraphicsItem* parent)
        : QGraphicsItem(parent) {
        setFlag(ItemHasNoContents);
    }
    void add(const QPainterPath& marker, bool filled, const QString& name) {
        auto* shape = new QGraphicsPathItem(marker, this);
        shape->setPen(QPen(Qt::black, 1.5));
        shape->setBrush(filled ? Qt::black : Qt::white);
        auto* text = new QGraphicsSimpleTextItem(name, this);
        text->setFont(pixelFont(13));
        text->setBrush(Qt::black);
        entries_.push_back({shape, text, name, 0});
    }
    // Breaks the entries into rows no wider than width; returns the legend's height.
    double wrap(double width) {
        rows_.clear();
        double row = 0;
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            Entry& entry = entries_[i];
            const QFontMetricsF metrics(entry.text->font());
            entry.text->setText(
                metrics.elidedText(entry.name, Qt::ElideRight, std::max(0.0, width - kMarkerRoom)));
            entry.width = kMarkerRoom + metrics.horizontalAdvance(entry.text->text());
            if (rows_.empty() || row + kEntryGap + entry.width > width) {
                rows_.push_back(i);
                row = entry.width;
            } else {
                row += kEntryGap + entry.width;
            }
        }
        return height();
    }
    double height() const {
        return rows_.empty() ? 0 : static_cast<double>(rows_.size()) * kLegendLine + 2 * kLegendPad;
    }
    // Places the rows from top down, each centred on centre as far as left and right allow.
    void place(double top, double centre, double left, double right) {
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            const std::size_t end = r + 1 < rows_.size() ? rows_[r + 1] : entries_.size();
            double width = -kEntryGap;
            for (std::size_t i = rows_[r]; i < end; ++i)
                width += kEntryGap + entries_[i].width;
            double x = std::max(left, std::min(centre - width / 2, right - width));
            const double y = top + kLegendPad + kLegendLine * (static_cast<double>(r) + 0.5);
            for (std::size_t i = rows_[r]; i < end; ++i) {
                const Entry& entry = entries_[i];
                entry.shape->setPos(x + 6, y);
                entry.text->setPos(x + kMarkerRoom, y - entry.text->boundingRect().height() / 2);
                x += entry.width + kEntryGap;
            }
        }
    }
    QRectF boundingRect() const override { return {}; }
    void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}

private:
    struct Entry {
        QGraphicsPathItem* shape;
        QGraphicsSimpleTextItem* text;
        QString name;
        double width; // of the marker and the text as laid out
    };
    std::vector<Entry> entries_;
    std::vector<std::size_t> rows_; // the first entry of each row
};

namespace {

void styleAxis(QValueAxis* axis, const QString& title) {
    axis->setTitleText(title);
    axis->setTitleFont(pixelFont(13));
    axis->setTitleBrush(Qt::black);
    axis->setLabelsFont(pixelFont(12));
    axis->setLabelsBrush(Qt::black);
    axis->setLinePen(QPen(Qt::black, 1.5));
    axis->setGridLineVisible(false);
    axis->setMinorGridLineVisible(false);
    axis->setLabelFormat(QStringLiteral("%d"));
}

} // namespace

SessionChart::SessionChart(const SessionSet& set, const GraphData& data, const ChartStyle& style) {
    setAnimationOptions(QChart::NoAnimation);
    setBackgroundBrush(Qt::white);
    setBackgroundVisible(!style.tier);
    setBackgroundRoundness(0);
    setDropShadowEnabled(false);
    setPlotAreaBackgroundVisible(false);
    // The title and the condition names are placed by hand above the plot, in this margin; a
    // tier has the condition names only, and the measure's title is the figure's. The legend's
    // rows are placed below the session axis, in the bottom margin.
    margins_ = style.tier ? QMargins(26, kAboveTier, 18, 2) : QMargins(12, 66, 28, 8);
    setMargins(margins_);
    title_ =
        new QGraphicsSimpleTextItem(QStringLiteral("Participant %1").arg(data.participantId), this);
    title_->setFont(pixelFont(17, true));
    title_->setBrush(Qt::black);
    title_->setVisible(!style.tier);
    if (!style.tierName.isEmpty()) {
        tierName_ = new QGraphicsSimpleTextItem(style.tierName, this);
        tierName_->setFont(pixelFont(14, true));
        tierName_->setBrush(Qt::black);
    }
    legend()->setVisible(false);
    if (!data.series.empty() && !style.tier)
        legend_ = new KeyLegend(this);

    int first = set.sessions.empty() ? 1 : set.sessions.front().workbook.sessionNumber;
    int last = set.sessions.empty() ? 1 : set.sessions.back().workbook.sessionNumber;
    if (style.tier)
        std::tie(first, last) = style.sessions;
    auto* xAxis = new QValueAxis;
    styleAxis(xAxis, QStringLiteral("Session"));
    if (!style.lowest) { // laid out as the lowest tier's, so that the plots align, but unseen
        xAxis->setLabelsBrush(Qt::transparent);
        xAxis->setTitleBrush(Qt::transparent);
    }
    // Half a step of room after the last session, so that its label is not cut short.
    const double step = sessionStep(last - first);
    xAxis->setRange(first - 0.5, last + std::max(0.5, step / 2));
    xAxis->setTickType(QValueAxis::TicksDynamic);
    xAxis->setTickAnchor(0);
    xAxis->setTickInterval(step);
    addAxis(xAxis, Qt::AlignBottom);

    double top = 100;
    if (!isPercentMeasure(data.measure)) {
        top = style.largest;
        for (const GraphSeries& series : data.series) {
            for (const GraphPoint& point : series.points)
                top = std::max(top, point.value.value_or(0));
        }
    }
    auto* yAxis = new QValueAxis;
    yAxis_ = yAxis;
    styleAxis(yAxis, style.tier ? QString() : graphMeasureCaption(data.measure));
    double tick = 20;
    if (!isPercentMeasure(data.measure)) {
        yAxis->setRange(0, top > 0 ? top : 1);
        yAxis->applyNiceNumbers();
        top = yAxis->max();
        tick = top / std::max(1, yAxis->tickCount() - 1);
        yAxis->setLabelFormat(top < 5 ? QStringLiteral("%.1f") : QStringLiteral("%d"));
    }
    // The ticks run from 0 to the top; a little room below 0 and above the top keeps the markers
    // there whole, the zero a little above the session axis.
    const double room = top * kValueRoom;
    yAxis->setRange(-room, top + room);
    yAxis->setTickType(QValueAxis::TicksDynamic);
    yAxis->setTickAnchor(0);
    yAxis->setTickInterval(tick);
    addAxis(yAxis, Qt::AlignLeft);
    valueRange_ = {yAxis->min(), yAxis->max()};

    auto attach = [&](QXYSeries* series) {
        addSeries(series);
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    };

    // Phase changes first, so that the data is drawn over them; in tiers the figure draws them.
    for (std::size_t p = 1; p < set.phases.size() && !style.tier; ++p) {
        const double x = (set.phases[p - 1].lastSession + set.phases[p].firstSession) / 2.0;
        auto* line = new QLineSeries;
        line->setPen(QPen(Qt::black, 1.2, Qt::DashLine));
        line->append(x, yAxis->min());
        line->append(x, yAxis->max());
        attach(line);
    }

    // The aids under the data: thin grey, one line per phase.
    for (const GraphSeries& series : data.series) {
        for (const PhaseAid aid : style.aids) {
            for (const AidLine& a : phaseAids(set, series, aid)) {
                auto* line = new QLineSeries;
                line->setPen(QPen(QColor(128, 128, 128), 1,
                                  aid == PhaseAid::Median ? Qt::DotLine : Qt::SolidLine));
                line->append(a.x1, a.y1);
                line->append(a.x2, a.y2);
                attach(line);
            }
        }
    }

    for (std::size_t k = 0; k < data.series.size(); ++k) {
        const GraphSeries& series = data.series[k];
        auto* points = new QScatterSeries;
        const qsizetype place = style.markerKeys.indexOf(series.key);
        const Marker& marker =
            kMarkers.at((place >= 0 ? static_cast<std::size_t>(place) : k) % kMarkers.size());
        points->setName(series.behaviour.isEmpty() ? series.key : series.behaviour);
        points->setMarkerShape(marker.shape);
        double size = markerSize(style.tier ? style.sessions.second - style.sessions.first + 1
                                            : static_cast<int>(set.sessions.size()));
        if (marker.shape == QScatterSeries::MarkerShapeStar)
            size *= 1.3;
        points->setMarkerSize(size);
        if (legend_)
            legend_->add(markerPath(marker.shape, size), marker.filled, points->name());
        points->setPen(QPen(Qt::black, 1.5));
        points->setBrush(marker.filled ? Qt::black : Qt::white);
        for (const auto& stretch : graphPaths(set, series)) {
            auto* path = new QLineSeries;
            path->setPen(QPen(Qt::black, 1.5));
            for (const auto& [number, value] : stretch) {
                path->append(number, value);
                points->append(number, value);
            }
            attach(path);
        }
        attach(points);
    }

    for (std::size_t p = 0; p < set.phases.size(); ++p) {
        const GraphPhase& phase = set.phases[p];
        if (p < style.conditionsShown.size() && !style.conditionsShown[p])
            continue;
        ConditionName name;
        name.text = phase.condition;
        name.first = std::max(xAxis->min(), phase.firstSession - 0.5);
        name.last = std::min(xAxis->max(), phase.lastSession + 0.5);
        for (auto*& line : name.lines) {
            line = new QGraphicsSimpleTextItem(this);
            line->setFont(pixelFont(kConditionPixels, true));
            line->setBrush(Qt::black);
        }
        names_.push_back(name);
    }
    connect(this, &QChart::plotAreaChanged, this, &SessionChart::placeLabels);
}

QString SessionChart::titleText() const {
    return title_->text();
}

void SessionChart::setGeometry(const QRectF& rect) {
    if (legend_) {
        QMargins room = margins_;
        room.setBottom(room.bottom() +
                       static_cast<int>(std::ceil(legend_->wrap(rect.width() - 2 * kLegendSide))));
        if (room != margins())
            setMargins(room);
    }
    QChart::setGeometry(rect);
}

void SessionChart::placeLabels() {
    const QRectF area = plotArea();
    // A value title longer than the plot is high goes on two lines (its unit on the second)
    // rather than be cut short.
    const QString valueTitle = yAxis_->titleText();
    const qsizetype unit = valueTitle.indexOf(QStringLiteral(" ("));
    if (unit > 0 && !valueTitle.contains(u'<') &&
        QFontMetricsF(yAxis_->titleFont()).horizontalAdvance(valueTitle) > area.height())
        yAxis_->setTitleText(valueTitle.left(unit) + QStringLiteral("<br>") +
                             valueTitle.mid(unit + 1));
    if (legend_)
        legend_->place(size().height() - margins_.bottom() - legend_->height(), area.center().x(),
                       kLegendSide, size().width() - kLegendSide);
    title_->setPos(area.center().x() - title_->boundingRect().width() / 2, 8);
    if (tierName_)
        tierName_->setPos(area.right() - tierName_->boundingRect().width() - 6, area.top() + 2);
    const QFontMetricsF metrics(pixelFont(kConditionPixels, true));
    for (const ConditionName& name : names_) {
        const double left = mapToPosition(QPointF(name.first, 0)).x();
        const double right = mapToPosition(QPointF(name.last, 0)).x();
        const QStringList lines = wrappedName(name.text, metrics, right - left - 4);
        double y = area.top() - 4;
        for (auto i = static_cast<qsizetype>(name.lines.size()) - 1; i >= 0; --i) {
            QGraphicsSimpleTextItem* item = name.lines.at(static_cast<std::size_t>(i));
            item->setText(lines.value(i));
            if (i >= lines.size())
                continue;
            y -= item->boundingRect().height();
            item->setPos((left + right - item->boundingRect().width()) / 2, y);
        }
    }
}

namespace {

// How far a tier reaches up over the unseen session axis of the tier above.
constexpr double kTierOverlap = kAboveTier + 8;

} // namespace

TierFigure::TierFigure(const std::vector<GraphTier>& tiers, TierKind kind,
                       const std::vector<PhaseAid>& aids)
    : sessions_(sessionSpan(tiers)) {
    QStringList keys;
    QStringList names;
    QStringList behaviours;
    for (const GraphTier& tier : tiers) {
        names << tier.name;
        for (const GraphSeries& series : tier.data.series) {
            if (!keys.contains(series.key)) {
                keys << series.key;
                behaviours << (series.behaviour.isEmpty() ? series.key : series.behaviour);
            }
        }
    }
    const double largest = largestValue(tiers);
    for (std::size_t t = 0; t < tiers.size(); ++t) {
        ChartStyle style;
        style.aids = aids;
        style.tier = true;
        style.tierName = tiers[t].name;
        style.lowest = t + 1 == tiers.size();
        style.sessions = sessions_;
        style.largest = largest;
        style.conditionsShown = conditionsShown(tiers, t);
        style.markerKeys = keys;
        auto* chart = new SessionChart(tiers[t].set, tiers[t].data, style);
        chart->setParentItem(this);
        connect(chart, &QChart::plotAreaChanged, this, &TierFigure::placeSteps);
        charts_.push_back(chart);
    }
    steps_ = stepLines(tiers);
    const GraphMeasure measure = tiers.empty() ? GraphMeasure::Full : tiers.front().data.measure;
    valueTitle_ = new QGraphicsSimpleTextItem(graphMeasureCaption(measure), this);
    valueTitle_->setFont(pixelFont(13));
    valueTitle_->setRotation(-90);
    if (kind == TierKind::Key && !tiers.empty()) {
        titleText_ = QStringLiteral("Participant %1").arg(tiers.front().data.participantId);
        title_ = new QGraphicsSimpleTextItem(titleText_, this);
        title_->setFont(pixelFont(17, true));
    } else {
        titleText_ = QStringLiteral("Participants %1").arg(names.join(QStringLiteral(", ")));
        const double size = markerSize(sessions_.second - sessions_.first + 1);
        if (!keys.isEmpty())
            legend_ = new KeyLegend(this);
        for (qsizetype k = 0; k < keys.size(); ++k) {
            const Marker& marker = kMarkers.at(static_cast<std::size_t>(k) % kMarkers.size());
            const double scale = marker.shape == QScatterSeries::MarkerShapeStar ? 1.3 : 1;
            legend_->add(markerPath(marker.shape, size * scale), marker.filled, behaviours.at(k));
        }
    }
}

void TierFigure::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->fillRect(rect(), Qt::white);
}

void TierFigure::resizeEvent(QGraphicsSceneResizeEvent* event) {
    QGraphicsWidget::resizeEvent(event);
    layoutTiers();
}

// The tiers one below the other, all of the same height; the charts lay their plots out alike.
void TierFigure::layoutTiers() {
    const QSizeF area = size();
    const double top = 6 + (title_ ? 28 : 0);
    const double bottom =
        area.height() - (legend_ ? legend_->wrap(area.width() - 2 * kLegendSide) : 2);
    const auto n = static_cast<double>(charts_.size());
    const double height =
        std::max(60.0, (bottom - top + kTierOverlap * (n - 1)) / std::max(n, 1.0));
    for (std::size_t t = 0; t < charts_.size(); ++t)
        charts_[t]->setGeometry(QRectF(0, top + static_cast<double>(t) * (height - kTierOverlap),
                                       area.width(), height));
    if (title_)
        title_->setPos((area.width() - title_->boundingRect().width()) / 2, 8);
    placeSteps();
}

void TierFigure::placeSteps() {
    if (charts_.empty())
        return;
    const QRectF first = charts_.front()->mapRectToItem(this, charts_.front()->plotArea());
    const QRectF last = charts_.back()->mapRectToItem(this, charts_.back()->plotArea());
    valueTitle_->setPos(4, (first.top() + last.bottom() + valueTitle_->boundingRect().width()) / 2);

    // The step lines, in the charts' own mapping from sessions and values to the plot.
    for (QGraphicsItem* item : stepItems_)
        delete item;
    stepItems_.clear();
    for (const StepLine& line : steps_) {
        QPainterPath path;
        const auto position = [&](const StepPoint& p) {
            SessionChart* chart = charts_.at(p.tier);
            const auto [foot, top] = chart->valueRange();
            const QPointF value(p.session, p.foot ? foot : top);
            return chart->mapToItem(this, chart->mapToPosition(value));
        };
        for (std::size_t i = 0; i < line.points.size(); ++i) {
            QPointF at = position(line.points[i]);
            // The way across from a tier's foot to the next tier's line goes half-way down the gap
            // between them, clear of the session axis it would otherwise hide in.
            const bool across =
                line.points[i].foot && i + 1 < line.points.size() && line.points[i + 1].foot;
            const bool fromAcross = i > 0 && line.points[i].foot && line.points[i - 1].foot;
            if (across || fromAcross) {
                const std::size_t below = line.points[i].tier + 1;
                const QRectF next =
                    charts_.at(below)->mapRectToItem(this, charts_.at(below)->plotArea());
                at.setY((at.y() + next.top()) / 2);
            }
            if (i == 0)
                path.moveTo(at);
            else
                path.lineTo(at);
        }
        auto* item = new QGraphicsPathItem(path, this);
        item->setPen(QPen(Qt::black, 1.2, Qt::DashLine));
        item->setZValue(-static_cast<double>(charts_.size())); // under the data
        stepItems_.push_back(item);
    }

    if (legend_)
        legend_->place(size().height() - legend_->height(), last.center().x(), kLegendSide,
                       size().width() - kLegendSide);
}

QSizeF defaultGraphMillimetres(std::size_t tiers) {
    if (tiers <= 1)
        return kDefaultGraphMillimetres;
    return {kDefaultGraphMillimetres.width(), 35 + 50 * static_cast<double>(tiers)};
}

namespace {

// Writes the laid-out figure of the scene to path, as its suffix names.
bool writeFigure(QGraphicsScene& scene, const QString& title, const QString& path,
                 QSizeF millimetres, QString& error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QSizeF logical = millimetres / 25.4 * kScreenDpi;
    const QRectF source(QPointF(0, 0), logical);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    bool painted = true;
    if (suffix == QLatin1String("png")) {
        const QSize pixels = (millimetres / 25.4 * kPngDpi).toSize();
        QImage image(pixels, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDotsPerMeterX(qRound(kPngDpi / 0.0254));
        image.setDotsPerMeterY(qRound(kPngDpi / 0.0254));
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)), source);
        }
        painted = image.save(&file, "PNG");
    } else if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setResolution(static_cast<int>(kScreenDpi));
        svg.setSize(logical.toSize());
        svg.setViewBox(source);
        svg.setTitle(title);
        QPainter painter;
        painted = painter.begin(&svg);
        if (painted)
            scene.render(&painter, source, source);
    } else {
        QPdfWriter pdf(&file);
        pdf.setResolution(static_cast<int>(kPngDpi));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(
            QPageSize(millimetres, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        pdf.setTitle(title);
        QPainter painter;
        painted = painter.begin(&pdf);
        if (painted) {
            painter.setRenderHint(QPainter::Antialiasing);
            scene.render(&painter, QRectF(0, 0, pdf.width(), pdf.height()), source);
        }
    }
    if (!painted || !file.commit()) {
        error = QStringLiteral("%1: the graph could not be written (%2).")
                    .arg(path, file.errorString());
        return false;
    }
    return true;
}

bool checkSuffix(const QString& path, QString& error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("svg") ||
        suffix == QLatin1String("pdf"))
        return true;
    error = QStringLiteral("%1: the file name must end in .png, .svg or .pdf.").arg(path);
    return false;
}

} // namespace

bool exportGraph(const SessionSet& set, const GraphData& data, const QString& path,
                 QSizeF millimetres, QString& error, const std::vector<PhaseAid>& aids) {
    if (!checkSuffix(path, error))
        return false;
    QGraphicsScene scene;
    ChartStyle style;
    style.aids = aids;
    auto* chart = new SessionChart(set, data, style);
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), millimetres / 25.4 * kScreenDpi));
    QApplication::processEvents(); // lays the chart out
    return writeFigure(scene, chart->titleText(), path, millimetres, error);
}

bool exportTiers(const std::vector<GraphTier>& tiers, TierKind kind,
                 const std::vector<PhaseAid>& aids, const QString& path, QSizeF millimetres,
                 QString& error) {
    if (!checkSuffix(path, error))
        return false;
    QGraphicsScene scene;
    auto* figure = new TierFigure(tiers, kind, aids);
    scene.addItem(figure);
    figure->resize(millimetres / 25.4 * kScreenDpi);
    QApplication::processEvents(); // lays the charts out
    return writeFigure(scene, figure->titleText(), path, millimetres, error);
}

} // namespace quorvia
