#!/usr/bin/env bash
# Start-up time: how much later the program's main window is mapped than a bare Qt window of the
# same size, both timed from the start of the whole process, in turns, under a private Xvfb with
# no window manager and private XDG folders; medians of RUNS runs each and their ratio.
#
#   bench/startup.sh [RUNS]        (default 10; BUILD=build, DISPLAY_NUMBER=96 to choose)
#
# Both run on a private session bus, as on a desktop, where one always runs (BUS=none: without
# one). Without a bus, Qt's accessibility bridge tries to start one (dbus-launch) when the first
# control gets its text: a window with controls pays that before it is mapped, a bare window only
# after.
set -euo pipefail
if [ "${BUS:-session}" = session ] && [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] &&
    command -v dbus-run-session >/dev/null; then
    exec dbus-run-session -- "$0" "$@"
fi
runs=${1:-10}
build=${BUILD:-build}
display=:${DISPLAY_NUMBER:-96}
cmake --build "$build" --target quorvia mapped_after bare_window >/dev/null

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
scratch=$(mktemp -d)
trap 'kill $xvfb; rm -rf "$scratch"' EXIT
export DISPLAY=$display
for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

# One run with fresh private folders, so that no run finds another's lock or data.
timed() {
    local home
    home=$(mktemp -d "$scratch/run.XXXXXX")
    mkdir -p "$home/Documents" "$home/runtime" "$home/data" "$home/config" "$home/cache"
    chmod 700 "$home/runtime"
    HOME=$home XDG_RUNTIME_DIR=$home/runtime XDG_DATA_HOME=$home/data \
        XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
        "$build/bench/mapped_after" "$@"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

timed "$build/bench/bare_window" >/dev/null # warm the file cache for both
timed "$build/quorvia" >/dev/null
for _ in $(seq "$runs"); do
    timed "$build/bench/bare_window" >>"$scratch/bare"
    timed "$build/quorvia" >>"$scratch/quorvia"
done
bare=$(median <"$scratch/bare")
program=$(median <"$scratch/quorvia")
echo "bare Qt window: $(tr '\n' ' ' <"$scratch/bare")ms"
echo "quorvia:        $(tr '\n' ' ' <"$scratch/quorvia")ms"
bus=$([ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] && echo "a session bus" || echo "no session bus")
awk -v b="$bare" -v p="$program" -v n="$runs" -v bus="$bus" \
    'BEGIN { printf "medians of %d runs (%s): bare %.1f ms, quorvia %.1f ms, ratio %.2f\n", n, bus, b, p, p / b }'
