#include "graphview/graphchart.h"

#include <QApplication>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvia;

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
        std::vector<GraphInput> inputs;
        for (int n = 1; n <= 4; ++n) {
            SessionWorkbook w;
            w.participantId = "P07";
            w.sessionNumber = static_cast<std::int16_t>(n);
            w.condition = n < 3 ? "Baseline" : "Praise";
            w.keySlots.push_back({"a", "on task", "On/Off", 20.0 * n, {}, {}, {}, {}});
            inputs.push_back({QString::number(n), {w, {}}});
        }
        const SessionSet set = groupSessions(inputs);
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
            std::vector<GraphInput> inputs;
            for (int n = 1; n <= 4; ++n) {
                SessionWorkbook w;
                w.participantId = id;
                w.sessionNumber = static_cast<std::int16_t>(n);
                w.condition = n < (id == "P01" ? 2 : 3) ? "Baseline" : "Praise";
                w.keySlots.push_back({"a", "on task", "On/Off", 20.0 * n, {}, {}, {}, {}});
                inputs.push_back({QString::number(n), {w, {}}});
            }
            GraphTier tier{id, groupSessions(inputs), {}};
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
        std::vector<GraphInput> inputs;
        const QStringList conditions{"Baseline", "Baseline", "Token economy",      "Baseline",
                                     "Baseline", "Baseline", "Praise and prompts", "Praise"};
        for (int n = 1; n <= conditions.size(); ++n) {
            SessionWorkbook w;
            w.participantId = "P07";
            w.sessionNumber = static_cast<std::int16_t>(n);
            w.condition = conditions.at(n - 1);
            const double value = n % 2 ? 0 : 100;
            w.keySlots.push_back({"a", "on task", "On/Off", value, {}, {}, {}, {}});
            w.keySlots.push_back({"b", "hits", "Hits", {}, {}, value / 20, {}, {}});
            inputs.push_back({QString::number(n), {w, {}}});
        }
        const SessionSet set = groupSessions(inputs);
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
