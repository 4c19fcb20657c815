#!/bin/sh
# Prints the non-blank lines of tracked *.cpp, *.h and *.py under tests/ and under src/, and the
# first as a percentage of the second (the house keeps it between 25 % and a third).
cd "$(dirname "$0")/.." || exit 1
count() { git ls-files "$1/*.cpp" "$1/*.h" "$1/*.py" | xargs cat | grep -cv '^\s*$'; }
tests=$(count tests)
src=$(count src)
echo "tests: $tests lines, src: $src lines, ratio: $(awk "BEGIN { printf \"%.1f\", 100 * $tests / $src }") %"
