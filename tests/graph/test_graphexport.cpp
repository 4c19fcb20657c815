#include "graphview/graphchart.h"

#include <QApplication>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;

namespace {

// Sessions 1, 2, ... of participant id in the conditions given, session n with the slots
// slotsOf(n).
template <typename Slots>
SessionSet sessionsOf(const QString& id, const QStringList& conditions, Slots slotsOf) {
    std::vector<GraphInput> inputs;
    for (int n = 1; n <= conditions.size(); ++n) {
        SessionWorkbook w;
        w.participantId = id;
        w.sessionNumber = static_cast<std::int16_t>(n);
        w.condition = conditions.at(n - 1);
        w.keySlots = slotsOf(n);
        inputs.push_back({QString::number(n), {w, {}}});
    }
    return groupSessions(inputs);
}

std::vector<WorkbookSlot> onTask(int n) {
    return {{"a", "on task", "On/Off", 20.0 * n, {}, {}, {}, {}}};
}

} // namespace

class TestGraphExport : public QObject {
    Q_OBJECT

private slots:
    // The image has the size asked for: pixels at 300 dpi, millimetres in the SVG, points in the
    // PDF.
    void exportedSize_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSizeF>("millimetres");
        QTest::addColumn<QString>("sizeText"); // what the file states its size to be
        QTest::newRow("png default") << "g.png" << QSizeF(160, 100) << "1890x1181";
        QTest::newRow("png small") << "g.PNG" << QSizeF(50.8, 25.4) << "600x300";
        QTest::newRow("svg") << "g.svg" << QSizeF(160, 100) << "160x100";
        QTest::newRow("pdf") << "g.pdf" << QSizeF(254, 127) << "720x360";
    }
    void exportedSize() {
        QFETCH(QString, name);
        QFETCH(QSizeF, millimetres);
        QFETCH(QString, sizeText);
        const SessionSet set =
            sessionsOf("P07", {"Baseline", "Baseline", "Praise", "Praise"}, onTask);
        const GraphData data = graphData(set, GraphMeasure::Full, {});
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QString error;
        QVERIFY2(exportGraph(set, data, path, millimetres, error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QString size;
        if (name.endsWith("png", Qt::CaseInsensitive)) {
            QImageReader reader(path);
            QCOMPARE(reader.format(), QByteArray("png"));
            const QImage image = reader.read();
            QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 300);
            size = QStringLiteral("%1x%2").arg(image.width()).arg(image.height());
        } else if (name.endsWith("svg")) {
            const auto m = QRegularExpression(R"(<svg[^>]*width="([\d.]+)mm" height="([\d.]+)mm")")
                               .match(QString::fromUtf8(bytes));
            QVERIFY(m.hasMatch());
            size = QStringLiteral("%1x%2")
                       .arg(qRound(m.captured(1).toDouble()))
                       .arg(qRound(m.captured(2).toDouble()));
            QVERIFY(bytes.contains("Participant P07"));
        } else {
            QVERIFY(bytes.startsWith("%PDF-"));
            QVERIFY(bytes.trimmed().endsWith("%%EOF"));
            const auto m = QRegularExpression(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])")
                               .match(QString::fromLatin1(bytes));
            QVERIFY(m.hasMatch());
            size = QStringLiteral("%1x%2")
                       .arg(qRound(m.captured(1).toDouble()))
                       .arg(qRound(m.captured(2).toDouble()));
        }
        QCOMPARE(size, sizeText);
    }

    // Two participants' tiers in one SVG, as tall as two tiers need by default.
    void tiers() {
        std::vector<GraphTier> tiers;
        for (const QString id : {"P01", "P02"}) {
            const QStringList conditions{"Baseline", id == "P01" ? "Praise" : "Baseline", "Praise",
                                         "Praise"};
            GraphTier tier{id, sessionsOf(id, conditions, onTask), {}};
            tier.data = graphData(tier.set, GraphMeasure::Full, {});
            tiers.push_back(tier);
        }
        QTemporaryDir dir;
        QString error;
        const QSizeF size = defaultGraphMillimetres(tiers.size());
        QCOMPARE(size, QSizeF(160, 135));
        QVERIFY2(exportTiers(tiers, TierKind::Participant, {PhaseAid::Trend}, dir.filePath("t.svg"),
                             size, error),
                 qPrintable(error));
        QFile file(dir.filePath("t.svg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString svg = QString::fromUtf8(file.readAll());
        QVERIFY(svg.contains("<title>Participants P01, P02</title>"));
        QCOMPARE(svg.count(">Baseline<"), 1); // the lower tier's conditions are the same
        QVERIFY(svg.contains(">P02<"));
    }

    // Every marker shows whole inside the plot, and the condition names stay apart within it,
    // also for a one-session phase.
    void markersAndNamesInside_data() {
        QTest::addColumn<int>("measure");
        QTest::newRow("percent: 0 and 100") << int(GraphMeasure::Full);
        QTest::newRow("rate: 0 and a nice top") << int(GraphMeasure::Rpm);
    }
    void markersAndNamesInside() {
        QFETCH(int, measure);
        const QStringList conditions{"Baseline", "Baseline", "Token economy",      "Baseline",
                                     "Baseline", "Baseline", "Praise and prompts", "Praise"};
        const SessionSet set = sessionsOf("P07", conditions, [](int n) {
            const double value = n % 2 ? 0 : 100;
            return std::vector<WorkbookSlot>{{"a", "on task", "On/Off", value, {}, {}, {}, {}},
                                             {"b", "hits", "Hits", {}, {}, value / 20, {}, {}}};
        });
        const GraphData data = graphData(set, static_cast<GraphMeasure>(measure), {});
        QGraphicsScene scene;
        auto* chart = new SessionChart(set, data);
        scene.addItem(chart);
        chart->setGeometry(QRectF(0, 0, 600, 380));
        QApplication::processEvents();
        const QRectF area = chart->plotArea();
        for (QAbstractSeries* series : chart->series()) {
            auto* points = qobject_cast<QScatterSeries*>(series);
            if (!points)
                continue;
            const double half = points->markerSize() / 2 + points->pen().widthF();
            for (const QPointF& p : points->points()) {
                const QPointF at = chart->mapToPosition(p, points);
                QVERIFY2(
                    area.contains(QRectF(at - QPointF(half, half), QSizeF(2 * half, 2 * half))),
                    qPrintable(QStringLiteral("%1, %2").arg(p.x()).arg(p.y())));
            }
        }
        QList<QRectF> names;
        for (QGraphicsItem* item : chart->childItems()) {
            auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item);
            if (!text || text->text().isEmpty() || text->text() == chart->titleText())
                continue;
            const QRectF box = text->sceneBoundingRect();
            QVERIFY2(box.left() >= area.left() && box.right() <= area.right(),
                     qPrintable(text->text()));
            for (const QRectF& other : names)
                QVERIFY2(!box.intersects(other), qPrintable(text->text()));
            names << box;
        }
        QVERIFY(names.size() >= 4);
    }

    // Every behaviour's name shows whole under the plot, in a second row when two do not fit one,
    // the plot shorter by it; only a name wider than the whole graph is cut short.
    void legendNamesWhole_data() {
        QTest::addColumn<bool>("tiers");
        QTest::newRow("chart") << false;
        QTest::newRow("tiers") << true;
    }
    void legendNamesWhole() {
        QFETCH(bool, tiers);
        double oneRow = 0;
        for (const int words : {1, 7, 16}) { // one row, two rows, each wider than the graph
            const auto name = [&](const QString& key) {
                return key + QString(" on task").repeated(words);
            };
            GraphTier tier{"P07",
                           sessionsOf("P07", {"Baseline", "Baseline"},
                                      [&](int n) {
                                          return std::vector<WorkbookSlot>{
                                              {"a", name("a"), "On/Off", 20.0 * n, {}, {}, {}, {}},
                                              {"b", name("b"), "On/Off", 10.0 * n, {}, {}, {}, {}}};
                                      }),
                           {}};
            tier.data = graphData(tier.set, GraphMeasure::Full, {});
            QGraphicsScene scene;
            QGraphicsWidget* figure = tiers ? static_cast<QGraphicsWidget*>(
                                                  new TierFigure({tier}, TierKind::Participant, {}))
                                            : new SessionChart(tier.set, tier.data);
            scene.addItem(figure);
            figure->setGeometry(QRectF(0, 0, 600, 380));
            QApplication::processEvents();
            double plotBottom = 0;
            QSet<int> rows; // the tops of the legend's texts
            for (QGraphicsItem* item : scene.items()) {
                if (auto* chart = dynamic_cast<SessionChart*>(item))
                    plotBottom =
                        std::max(plotBottom, chart->mapRectToScene(chart->plotArea()).bottom());
                auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item);
                if (!text || !QRegularExpression("^[ab] on").match(text->text()).hasMatch())
                    continue;
                const QString whole = name(text->text().left(1));
                QVERIFY2(words < 16 ? text->text() == whole
                                    : text->text().endsWith(u'\u2026') &&
                                          whole.startsWith(text->text().chopped(1)),
                         qPrintable(text->text()));
                QVERIFY(figure->rect().contains(text->sceneBoundingRect()));
                rows << qRound(text->sceneBoundingRect().top());
            }
            QCOMPARE(rows.size(), words == 1 ? 1 : 2);
            if (words == 1)
                oneRow = plotBottom;
            QVERIFY((plotBottom < oneRow) == (words > 1));
        }
    }

    void unwritable() {
        const SessionSet set;
        QString error;
        QVERIFY(!exportGraph(set, {}, "/nonexistent/folder/g.png", {160, 100}, error));
        QVERIFY(error.startsWith("/nonexistent/folder/g.png: "));
        QVERIFY(!exportGraph(set, {}, QDir::temp().filePath("g.jpg"), {160, 100}, error));
        QVERIFY(!QFile::exists(QDir::temp().filePath("g.jpg")));
    }
};

QTEST_MAIN(TestGraphExport)
#include "test_graphexport.moc"
