#pragma once

#include <QString>

namespace quorvia {

class MainWindow;

// For the tests that end the program from outside: with keys given (the environment variable
// QUORVIA_TEST_SESSION), the window prepares a 3600-s session with those keys, starts it and
// types them in turn, one every few milliseconds, writing each entry the window has shown to
// standard output as "row<TAB>clock text<TAB>event". Nothing happens when keys is empty.
void startScriptedSession(MainWindow& window, const QString& keys);

} // namespace quorvia
