#include "graph/graphchart.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QLegendMarker>
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

SessionChart::SessionChart(const SessionSet& set, const GraphData& data) {
    setAnimationOptions(QChart::NoAnimation);
    setBackgroundBrush(Qt::white);
    setBackgroundRoundness(0);
    setDropShadowEnabled(false);
    setPlotAreaBackgroundVisible(false);
    // The title and the condition names are placed by hand above the plot, in this margin.
    setMargins(QMargins(12, 50, 28, 8));
    title_ =
        new QGraphicsSimpleTextItem(QStringLiteral("Participant %1").arg(data.participantId), this);
    title_->setFont(pixelFont(17, true));
    title_->setBrush(Qt::black);
    legend()->setAlignment(Qt::AlignBottom);
    legend()->setFont(pixelFont(13));
    legend()->setLabelColor(Qt::black);
    legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    legend()->setVisible(!data.series.empty());

    const int first = set.sessions.empty() ? 1 : set.sessions.front().workbook.sessionNumber;
    const int last = set.sessions.empty() ? 1 : set.sessions.back().workbook.sessionNumber;
    auto* xAxis = new QValueAxis;
    styleAxis(xAxis, QStringLiteral("Session"));
    // Half a step of room after the last session, so that its label is not cut short.
    const double step = sessionStep(last - first);
    xAxis->setRange(first - 0.5, last + std::max(0.5, step / 2));
    xAxis->setTickType(QValueAxis::TicksDynamic);
    xAxis->setTickAnchor(0);
    xAxis->setTickInterval(step);
    addAxis(xAxis, Qt::AlignBottom);

    double top = 100;
    if (!isPercentMeasure(data.measure)) {
        top = 0;
        for (const GraphSeries& series : data.series) {
            for (const GraphPoint& point : series.points)
                top = std::max(top, point.value.value_or(0));
        }
    }
    auto* yAxis = new QValueAxis;
    styleAxis(yAxis, graphMeasureCaption(data.measure));
    if (isPercentMeasure(data.measure)) {
        yAxis->setRange(0, 100);
        yAxis->setTickCount(6);
    } else {
        yAxis->setRange(0, top > 0 ? top : 1);
        yAxis->applyNiceNumbers();
        yAxis->setLabelFormat(yAxis->max() < 5 ? QStringLiteral("%.1f") : QStringLiteral("%d"));
    }
    addAxis(yAxis, Qt::AlignLeft);
    const double yTop = yAxis->max();

    auto attach = [&](QXYSeries* series, bool inLegend) {
        addSeries(series);
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
        if (!inLegend) {
            for (QLegendMarker* marker : legend()->markers(series))
                marker->setVisible(false);
        }
    };

    // Phase changes first, so that the data is drawn over them.
    for (std::size_t p = 1; p < set.phases.size(); ++p) {
        const double x = (set.phases[p - 1].lastSession + set.phases[p].firstSession) / 2.0;
        auto* line = new QLineSeries;
        line->setPen(QPen(Qt::black, 1.2, Qt::DashLine));
        line->append(x, 0);
        line->append(x, yTop);
        attach(line, false);
    }

    for (std::size_t k = 0; k < data.series.size(); ++k) {
        const GraphSeries& series = data.series[k];
        QLineSeries* path = nullptr;
        int pathPhase = 0;
        auto* points = new QScatterSeries;
        const Marker& marker = kMarkers.at(k % kMarkers.size());
        points->setName(series.behaviour.isEmpty() ? series.key : series.behaviour);
        points->setMarkerShape(marker.shape);
        // Smaller markers where many sessions share the width.
        const double size = std::clamp(
            200.0 / static_cast<double>(std::max<std::size_t>(set.sessions.size(), 1)), 6.0, 10.0);
        points->setMarkerSize(marker.shape == QScatterSeries::MarkerShapeStar ? size * 1.3 : size);
        points->setPen(QPen(Qt::black, 1.5));
        points->setBrush(marker.filled ? Qt::black : Qt::white);
        for (const GraphPoint& point : series.points) {
            if (!point.value) { // the path breaks where the key has no value
                path = nullptr;
                continue;
            }
            const GraphSession& session = set.sessions.at(point.session);
            if (!path || pathPhase != session.phase) {
                path = new QLineSeries;
                path->setPen(QPen(Qt::black, 1.5));
                attach(path, false);
                pathPhase = session.phase;
            }
            path->append(session.workbook.sessionNumber, *point.value);
            points->append(session.workbook.sessionNumber, *point.value);
        }
        attach(points, true);
    }

    for (const GraphPhase& phase : set.phases) {
        auto* item = new QGraphicsSimpleTextItem(phase.condition, this);
        item->setFont(pixelFont(14, true));
        item->setBrush(Qt::black);
        names_.push_back({(phase.firstSession + phase.lastSession) / 2.0, item});
    }
    connect(this, &QChart::plotAreaChanged, this, &SessionChart::placeConditionNames);
}

QString SessionChart::titleText() const {
    return title_->text();
}

void SessionChart::placeConditionNames() {
    const QRectF area = plotArea();
    title_->setPos(area.center().x() - title_->boundingRect().width() / 2, 8);
    for (const ConditionName& name : names_) {
        const QRectF box = name.item->boundingRect();
        const double x = mapToPosition(QPointF(name.centre, 0)).x();
        name.item->setPos(x - box.width() / 2, area.top() - box.height() - 4);
    }
}

bool exportGraph(const SessionSet& set, const GraphData& data, const QString& path,
                 QSizeF millimetres, QString& error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") &&
        suffix != QLatin1String("pdf")) {
        error = QStringLiteral("%1: the file name must end in .png, .svg or .pdf.").arg(path);
        return false;
    }
    const QSizeF logical = millimetres / 25.4 * kScreenDpi;
    QGraphicsScene scene;
    auto* chart = new SessionChart(set, data);
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), logical));
    QApplication::processEvents(); // lays the chart out
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
        svg.setTitle(chart->titleText());
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
        pdf.setTitle(chart->titleText());
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

} // namespace quorvia
