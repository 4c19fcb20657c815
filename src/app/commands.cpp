#include "app/commands.h"

#include "agreement/agreementfiles.h"
#include "app/agreementwindow.h"
#include "platform/qtplatform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibrary>

#include <cstdio>

namespace quorvia {

void printTo(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

void describeApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Quorvia"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVIA_VERSION));
    // The desktop entry and the icon carry the application's id (see data/).
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVIA_APP_ID));
}

void setApplicationIcon() {
    QIcon icon;
    for (const int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1/" QUORVIA_APP_ID ".png").arg(size));
    QApplication::setWindowIcon(icon);
}

Invocation parseInvocation(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption agreementWindow(QStringLiteral("agreement"), {});
    const QCommandLineOption graphWindow(QStringLiteral("graph"), {});
    const QCommandLineOption output(QStringLiteral("output"), {}, QStringLiteral("file"));
    const QCommandLineOption primary(QStringLiteral("primary"), {}, QStringLiteral("observer"));
    const QCommandLineOption table(QStringLiteral("table"), {}, QStringLiteral("table"));
    parser.addOptions({help, version, agreementWindow, graphWindow, output, primary, table});

    Invocation invocation;
    const auto misuse = [&](const QString& message) {
        invocation.action = Invocation::Action::Misuse;
        invocation.message = message;
        return invocation;
    };
    if (!parser.parse(QStringList{QStringLiteral("quorvia")} + arguments))
        return misuse(parser.errorText());
    QStringList positional = parser.positionalArguments();
    if (parser.isSet(help)) {
        invocation.action = Invocation::Action::Help;
        return invocation;
    }
    if (parser.isSet(version)) {
        invocation.action = Invocation::Action::Version;
        return invocation;
    }
    if (!positional.isEmpty() && positional.first() == QStringLiteral("study")) {
        positional.removeFirst();
        if (positional.isEmpty() || parser.isSet(agreementWindow) || parser.isSet(graphWindow))
            return misuse(QStringLiteral("study takes workbooks or folders: PATH... "
                                         "[--primary OBSERVER] [--table sessions|agreement|"
                                         "summary] [--output FILE.xlsx]"));
        invocation.action = Invocation::Action::StudyCommand;
        invocation.files = positional;
        invocation.primary = parser.value(primary).trimmed();
        invocation.table = parser.isSet(table) ? parser.value(table) : QStringLiteral("sessions");
        invocation.output = parser.value(output);
        if (parser.isSet(primary) && invocation.primary.isEmpty())
            return misuse(QStringLiteral("--primary needs an observer's ID"));
        if (!QStringList{"sessions", "agreement", "summary"}.contains(invocation.table))
            return misuse(QStringLiteral("--table must be sessions, agreement or summary"));
        if (parser.isSet(output) && invocation.output.isEmpty())
            return misuse(QStringLiteral("--output needs a file name"));
        return invocation;
    }
    if (parser.isSet(primary) || parser.isSet(table))
        return misuse(QStringLiteral("--primary and --table belong to the study command"));
    if (!positional.isEmpty() && positional.first() == QStringLiteral("agreement")) {
        positional.removeFirst();
        if (positional.size() != 2 || parser.isSet(agreementWindow))
            return misuse(QStringLiteral("agreement takes two workbooks: PRIMARY.xlsx "
                                         "RELIABILITY.xlsx"));
        invocation.action = Invocation::Action::AgreementCommand;
        invocation.files = positional;
        invocation.output = parser.value(output);
        if (parser.isSet(output) && invocation.output.isEmpty())
            return misuse(QStringLiteral("--output needs a file name"));
        return invocation;
    }
    if (parser.isSet(graphWindow)) {
        if (parser.isSet(agreementWindow) || parser.isSet(output))
            return misuse(QStringLiteral("--graph takes only workbooks or folders"));
        invocation.action = Invocation::Action::GraphWindow;
        invocation.files = positional;
        return invocation;
    }
    if (!positional.isEmpty())
        return misuse(QStringLiteral("unknown command \u201C%1\u201D").arg(positional.first()));
    if (parser.isSet(output))
        return misuse(QStringLiteral("--output belongs to the agreement command"));
    if (parser.isSet(agreementWindow))
        invocation.action = Invocation::Action::AgreementWindow;
    return invocation;
}

QString helpText() {
    return QStringLiteral(
        "Usage: quorvia [--agreement | --graph [WORKBOOK...]]\n"
        "       quorvia COMMAND ...\n"
        "\n"
        "Without arguments, opens the observation window.\n"
        "\n"
        "Options:\n"
        "  --agreement     open the Inter-observer agreement window\n"
        "  --graph [WORKBOOK...]\n"
        "                  open the Session graph window with these workbooks (or folders)\n"
        "  -h, --help      show this help\n"
        "  -v, --version   show the version\n"
        "\n"
        "Commands:\n"
        "  agreement PRIMARY.xlsx RELIABILITY.xlsx [--output FILE.xlsx]\n"
        "                  inter-observer agreement of two session workbooks of the same\n"
        "                  session, as CSV on standard output (key,behaviour,mode,scoring,\n"
        "                  measure,value); --output also writes an agreement workbook.\n"
        "                  Exit status 0, or 2 for unusable files or set-ups that differ.\n"
        "  study PATH... [--primary OBSERVER] [--table sessions|agreement|summary]\n"
        "        [--output FILE.xlsx]\n"
        "                  a study: the workbooks and folders of one or more participants,\n"
        "                  the primary observer's sessions, every reliability record compared\n"
        "                  with them and the agreement per condition, as CSV on standard\n"
        "                  output; --output also writes a study workbook. Exit status 0, 1\n"
        "                  when something was left out, 2 when nothing can be reported.\n"
        "  graph WORKBOOK... --measure full|partial|rpm|interval [--key K]...\n"
        "        (--output FILE.png|FILE.svg|FILE.pdf | --csv)\n"
        "                  a participant's sessions as a single-case graph, or its values as\n"
        "                  CSV on standard output; `quorvia graph --help` for its options.\n"
        "                  Exit status 0, 1 when some workbooks could not be read, 2 when\n"
        "                  nothing can be drawn.\n");
}

int runAgreementCommand(int& argc, char** argv, const Invocation& invocation) {
    // No window: runs in a script or over ssh, without a display.
    QCoreApplication app(argc, argv);
    const QString& primary = invocation.files.at(0);
    const QString& reliability = invocation.files.at(1);
    const AgreementOfFiles files = compareFiles(primary, reliability);
    if (!files.agreement) {
        printTo(stderr, files.error + QLatin1Char('\n'));
        return 2;
    }
    for (const QString& warning : files.agreement->warnings)
        printTo(stderr, QStringLiteral("warning: ") + warning + QLatin1Char('\n'));
    printTo(stdout, agreementCsv(*files.agreement));
    if (!invocation.output.isEmpty()) {
        XlsxModuleWriter writer;
        if (!writeAgreementWorkbook(writer, files, primary, reliability, invocation.output)) {
            printTo(stderr, QStringLiteral("%1 could not be written.\n").arg(invocation.output));
            return 2;
        }
    }
    return 0;
}

int runAgreementWindow(int& argc, char** argv) {
    QApplication app(argc, argv);
    setApplicationIcon();
    SilentBeeper beeper;
    SystemClock clock;
    QtFileDialogs dialogs;
    QtMessageBoxes messages;
    XlsxModuleWriter workbooks;
    Platform platform{clock, beeper, dialogs, messages, workbooks};
    AgreementWindow window(platform);
    window.show();
    return QApplication::exec();
}

bool isGraphCommand(int argc, char* argv[]) {
    return argc > 1 && qstrcmp(argv[1], "graph") == 0;
}

namespace {

// The graph module stays loaded until the program ends.
template <typename Function> Function graphFunction(const char* name) {
    static QLibrary module; // one per function; the module itself is loaded once
    const auto found = reinterpret_cast<Function>(
        moduleFunction(module, QStringLiteral("libquorvia_graph.so"), name));
    if (!found)
        printTo(stderr, QStringLiteral("quorvia: the graph module could not be loaded: %1\n")
                            .arg(module.errorString()));
    return found;
}

} // namespace

int runGraphCommand(int argc, char* argv[]) {
    const auto command = graphFunction<int (*)(int, char**)>("quorvia_graph_command");
    return command ? command(argc, argv) : 2;
}

int runGraphWindow(const QStringList& workbooks) {
    const auto window =
        graphFunction<int (*)(const QStringList*, Platform*)>("quorvia_graph_window");
    if (!window)
        return 2;
    SystemClock clock;
    SilentBeeper beeper;
    QtFileDialogs dialogs;
    QtMessageBoxes messages;
    XlsxModuleWriter writer;
    Platform platform{clock, beeper, dialogs, messages, writer};
    return window(&workbooks, &platform);
}

} // namespace quorvia
