#pragma once

#include "base/services.h"

#include <QStringList>

// Start-up of the session graph: the `graph` command, which draws without a window or a display,
// and the "Session graph" window of `--graph`.
namespace quorvia {

// Runs the graph command: creates its own application on the offscreen platform, reads the
// workbooks and writes the graph or its CSV. Returns the exit code: 0 every workbook used, 1 some
// skipped, 2 nothing drawn.
int runGraphCommand(int argc, char* argv[]);

// Opens the "Session graph" window with the given workbooks (files or folders) and the desktop's
// services, and runs the event loop until it is closed. The application must exist.
int runGraphWindow(const QStringList& workbooks, Platform& platform);

// The workbooks named by paths: files as they are, the .xlsx files of a folder in name order.
QStringList workbookFiles(const QStringList& paths);

} // namespace quorvia

// The module's entry points (libquorvia_graph.so, loaded by the program only when a graph is
// asked for, so that the chart libraries do not load with the recorder).
extern "C" Q_DECL_EXPORT int quorvia_graph_command(int argc, char* argv[]);
extern "C" Q_DECL_EXPORT int quorvia_graph_window(const QStringList* workbooks,
                                                  quorvia::Platform* platform);
