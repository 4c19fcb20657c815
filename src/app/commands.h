#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

// The command line: which window or command a start of the program asks for.
namespace quorvia {

struct Invocation {
    enum class Action {
        MainWindow,
        AgreementWindow,
        AgreementCommand,
        StudyCommand,
        GraphWindow,
        Help,
        Version,
        Misuse
    };
    Action action = Action::MainWindow;
    QStringList files; // the agreement command's PRIMARY and RELIABILITY workbooks; --graph's
    QString output;    // its --output workbook, or empty
    QString message;   // why the command line is not understood
    QString primary;   // the study command's --primary observer, or empty
    QString table;     // its --table: "sessions", "agreement" or "summary"
};

// Writes text to stream in UTF-8 and flushes it: the commands' output and messages.
void printTo(std::FILE* stream, const QString& text);

// The application's name, version and desktop id; set before any application object exists.
void describeApplication();

// The program's icon for every window; needs the application object.
void setApplicationIcon();

// The arguments after the program's name.
Invocation parseInvocation(const QStringList& arguments);

// What `quorvia --help` prints: the ways to start the program and the commands.
QString helpText();

// `quorvia agreement PRIMARY RELIABILITY [--output FILE]`: the CSV on standard output, warnings
// and errors on standard error. Needs no display. Returns the exit code (0, or 2).
int runAgreementCommand(int& argc, char** argv, const Invocation& invocation);

// `quorvia study PATH... [--primary OBSERVER] [--table T] [--output FILE]`: the table as CSV on
// standard output, what was left out on standard error. Returns 0 when everything was used, 1
// when something was left out, 2 when nothing can be reported.
int runStudyCommand(int& argc, char** argv, const Invocation& invocation);

// True when the command line asks for the graph command (`quorvia graph ...`).
bool isGraphCommand(int argc, char* argv[]);

// The graph command and the graph window, from the graph module; 2 when it cannot be loaded.
// The window needs the application object.
int runGraphCommand(int argc, char* argv[]);
int runGraphWindow(const QStringList& workbooks);

// `quorvia --agreement`: the agreement window on its own. Returns the exit code.
int runAgreementWindow(int& argc, char** argv);

} // namespace quorvia
