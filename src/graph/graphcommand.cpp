#include "graph/graphcommand.h"

#include "graph/graphchart.h"
#include "graph/graphwindow.h"
#include "graph/sessiongraph.h"
#include "graph/studygraph.h"
#include "report/sessionworkbook.h"
#include "study/studyreading.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

namespace quorvia {

namespace {

const QString kGraphOption = QStringLiteral("graph");

void printError(const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
}

std::optional<QSizeF> sizeFrom(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d+(?:\\.\\d+)?)x(\\d+(?:\\.\\d+)?)$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QSizeF size(match.captured(1).toDouble(), match.captured(2).toDouble());
    if (size.width() < 20 || size.height() < 20 || size.width() > 2000 || size.height() > 2000)
        return std::nullopt;
    return size;
}

} // namespace

QStringList workbookFiles(const QStringList& paths) {
    QStringList files;
    for (const QString& path : paths) {
        // A folder named as a workbook is meant as one: the reader says what it is.
        if (!QFileInfo(path).isDir() ||
            path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
            files << path;
            continue;
        }
        const QDir folder(path);
        for (const QString& name :
             folder.entryList({QStringLiteral("*.xlsx")}, QDir::Files, QDir::Name))
            files << folder.filePath(name);
    }
    return files;
}

int runGraphCommand(int argc, char* argv[]) {
    // Drawing needs no display: the command runs in scripts and over ssh.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvia"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws a participant's sessions as a single-case design graph."));
    parser.addHelpOption();
    parser.addPositionalArgument(kGraphOption, QStringLiteral("The graph command."));
    parser.addPositionalArgument(QStringLiteral("workbook"),
                                 QStringLiteral("Session workbooks, or folders of them."),
                                 QStringLiteral("WORKBOOK..."));
    const QCommandLineOption measure(QStringLiteral("measure"),
                                     QStringLiteral("full, partial, rpm or interval."),
                                     QStringLiteral("MEASURE"));
    const QCommandLineOption key(QStringLiteral("key"),
                                 QStringLiteral("A key to draw (repeat for more; default: every "
                                                "key with the measure)."),
                                 QStringLiteral("K"));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("The graph's file: .png (300 dpi), .svg or "
                                                   ".pdf."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 QStringLiteral("Print the plotted values as CSV instead."));
    const QCommandLineOption size(
        QStringLiteral("size"),
        QStringLiteral("The graph's size in millimetres (default 160x100)."),
        QStringLiteral("WxH"));
    const QCommandLineOption primary(
        QStringLiteral("primary"),
        QStringLiteral("The observer whose sessions are drawn (default: the one in the most "
                       "sessions; the others' are reliability records)."),
        QStringLiteral("OBSERVER"));
    parser.addOptions({measure, key, output, csv, size, primary});
    parser.process(app);

    const QStringList paths = parser.positionalArguments().mid(1);
    const std::optional<GraphMeasure> chosen = graphMeasureFromWord(parser.value(measure));
    const std::optional<QSizeF> millimetres =
        parser.isSet(size) ? sizeFrom(parser.value(size)) : kDefaultGraphMillimetres;
    QString usage;
    const StudyFiles found = findStudyFiles(paths);
    if (found.files.isEmpty() && found.skipped.isEmpty())
        usage = paths.isEmpty()
                    ? QStringLiteral("No session workbook given.")
                    : QStringLiteral("The folders given hold no session workbook (.xlsx).");
    else if (!chosen)
        usage = QStringLiteral("--measure must be full, partial, rpm or interval.");
    else if (parser.isSet(output) == parser.isSet(csv))
        usage = QStringLiteral("Give either --output FILE or --csv.");
    else if (!millimetres)
        usage = QStringLiteral("--size must be WIDTHxHEIGHT in millimetres, such as 160x100.");
    if (!usage.isEmpty()) {
        printError(usage + QStringLiteral(" See quorvia graph --help."));
        return 2;
    }

    const Study study = readStudy(paths, parser.value(primary));
    for (const QString& warning : study.warnings)
        printError(QStringLiteral("warning: ") + warning);
    const SessionSet set = sessionSetOf(study, true);
    for (const QString& skipped : set.skipped)
        printError(skipped);
    if (!set.refusal.isEmpty()) {
        printError(set.refusal);
        return 2;
    }
    const GraphData data = graphData(set, *chosen, parser.values(key));
    if (!data.error.isEmpty()) {
        printError(data.error);
        return 2;
    }
    if (parser.isSet(csv)) {
        const QByteArray bytes = graphCsv(set, data).toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        std::fflush(stdout);
    } else {
        QString error;
        if (!exportGraph(set, data, parser.value(output), *millimetres, error)) {
            printError(error);
            return 2;
        }
    }
    return set.skipped.isEmpty() ? 0 : 1;
}

int runGraphWindow(const QStringList& workbooks, Platform& platform) {
    GraphWindow window(platform);
    window.show(); // the workbooks are read with the window up, a progress bar above it
    window.addWorkbooks(workbooks);
    return QApplication::exec();
}

} // namespace quorvia

int quorvia_graph_command(int argc, char* argv[]) {
    return quorvia::runGraphCommand(argc, argv);
}

int quorvia_graph_window(const QStringList* workbooks, quorvia::Platform* platform) {
    return quorvia::runGraphWindow(*workbooks, *platform);
}
