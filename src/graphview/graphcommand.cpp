#include "graphview/graphcommand.h"

#include "graph/effects.h"
#include "graph/sessiongraph.h"
#include "graph/studygraph.h"
#include "graphview/graphchart.h"
#include "graphview/graphwindow.h"
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
        QStringLiteral("The graph's size in millimetres (default 160x100; with tiers "
                       "160 wide and 35 high plus 50 a tier)."),
        QStringLiteral("WxH"));
    const QCommandLineOption primary(
        QStringLiteral("primary"),
        QStringLiteral("The observer whose sessions are drawn (default: the one in the most "
                       "sessions; the others' are reliability records)."),
        QStringLiteral("OBSERVER"));
    const QCommandLineOption tiers(
        QStringLiteral("tiers"),
        QStringLiteral("Tiers stacked over one session axis: participant (the default for more "
                       "than one participant) or key (one participant's keys)."),
        QStringLiteral("participant|key"));
    const QCommandLineOption aid(QStringLiteral("aid"),
                                 QStringLiteral("A thin grey line over each phase: mean, median "
                                                "or trend (repeat for more)."),
                                 QStringLiteral("AID"));
    const QCommandLineOption effects(
        QStringLiteral("effects"),
        QStringLiteral("Print the effect sizes between adjacent phases as CSV instead."));
    const QCommandLineOption goal(QStringLiteral("goal"),
                                  QStringLiteral("What the phases' change is to do to the "
                                                 "behaviour, for --effects: increase or decrease "
                                                 "(default)."),
                                  QStringLiteral("increase|decrease"));
    parser.addOptions({measure, key, output, csv, size, primary, tiers, aid, effects, goal});
    parser.process(app);

    const QStringList paths = parser.positionalArguments().mid(1);
    const std::optional<GraphMeasure> chosen = graphMeasureFromWord(parser.value(measure));
    const std::optional<QSizeF> millimetres =
        parser.isSet(size) ? sizeFrom(parser.value(size)) : kDefaultGraphMillimetres;
    const std::optional<TierKind> tierKind = tierKindFromWord(parser.value(tiers));
    const std::optional<EffectGoal> effectGoal =
        parser.isSet(goal) ? effectGoalFromWord(parser.value(goal)) : EffectGoal::Decrease;
    std::vector<PhaseAid> aids;
    bool aidsKnown = true;
    for (const QString& word : parser.values(aid)) {
        const std::optional<PhaseAid> a = phaseAidFromWord(word);
        aidsKnown = aidsKnown && a.has_value();
        if (a && std::find(aids.begin(), aids.end(), *a) == aids.end())
            aids.push_back(*a);
    }
    const int outputs =
        int(parser.isSet(output)) + int(parser.isSet(csv)) + int(parser.isSet(effects));
    QString usage;
    const StudyFiles found = findStudyFiles(paths);
    if (found.files.isEmpty() && found.skipped.isEmpty())
        usage = paths.isEmpty()
                    ? QStringLiteral("No session workbook given.")
                    : QStringLiteral("The folders given hold no session workbook (.xlsx).");
    else if (!chosen)
        usage = QStringLiteral("--measure must be full, partial, rpm or interval.");
    else if (outputs != 1)
        usage = QStringLiteral("Give one of --output FILE, --csv and --effects.");
    else if (parser.isSet(tiers) && !tierKind)
        usage = QStringLiteral("--tiers must be participant or key.");
    else if (!aidsKnown)
        usage = QStringLiteral("--aid must be mean, median or trend.");
    else if (!effectGoal)
        usage = QStringLiteral("--goal must be increase or decrease.");
    else if (parser.isSet(goal) && !parser.isSet(effects))
        usage = QStringLiteral("--goal goes with --effects.");
    else if (!millimetres)
        usage = QStringLiteral("--size must be WIDTHxHEIGHT in millimetres, such as 160x100.");
    if (!usage.isEmpty()) {
        printError(usage + QStringLiteral(" See quorvia graph --help."));
        return 2;
    }

    const Study study = readStudy(paths, parser.value(primary));
    for (const QString& warning : study.warnings)
        printError(QStringLiteral("warning: ") + warning);
    for (const QString& skipped : study.leftOut)
        printError(skipped);
    const StudyFigure figure = studyFigure(study, true, *chosen, parser.values(key), tierKind);
    if (!figure.error.isEmpty()) {
        printError(figure.error);
        return 2;
    }
    const auto print = [](const QString& text) {
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        std::fflush(stdout);
    };
    const GraphTier& first = figure.tiers.front();
    QString error;
    if (parser.isSet(effects)) {
        print(effectsCsv(effectRows(figure.tiers, {}, *effectGoal)));
    } else if (parser.isSet(csv)) {
        print(figure.kind ? tierCsv(figure.tiers) : graphCsv(first.set, first.data));
    } else if (figure.kind) {
        const QSizeF mm =
            parser.isSet(size) ? *millimetres : defaultGraphMillimetres(figure.tiers.size());
        if (!exportTiers(figure.tiers, *figure.kind, aids, parser.value(output), mm, error)) {
            printError(error);
            return 2;
        }
    } else if (!exportGraph(first.set, first.data, parser.value(output), *millimetres, error,
                            aids)) {
        printError(error);
        return 2;
    }
    return study.leftOut.isEmpty() ? 0 : 1;
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
