#!/usr/bin/env bash
# Proof on a clean system: builds the Debian package, installs it with apt on a minimal Debian 12
# root (made once with debootstrap and kept in ~/.cache/quorvia-check) and runs the program there.
# One line per step; ends with a non-zero status at the first failure. Needs root (or sudo) for
# debootstrap and chroot, and the Debian mirror the first time. Not part of `make test`.
#
#   scripts/check-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
mirror=${QUORVIA_CHECK_MIRROR:-http://deb.debian.org/debian}
cache=${QUORVIA_CHECK_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvia-check}
base=$cache/bookworm
log=$(mktemp)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

step() {
    local what=$1
    shift
    if "$@" >"$log" 2>&1; then
        echo "ok   $what"
    else
        echo "FAIL $what"
        tail -n 30 "$log" | sed 's/^/     /'
        exit 1
    fi
}

make_base() {
    $sudo apt-get install -y -qq debootstrap >/dev/null 2>&1 || command -v debootstrap
    curl -fsS -o /dev/null "$mirror/dists/bookworm/Release"
    $sudo rm -rf "$base.part"
    mkdir -p "$cache"
    $sudo debootstrap --variant=minbase bookworm "$base.part" "$mirror"
    $sudo mv "$base.part" "$base"
}

root=""
cleanup() {
    if [ -n "$root" ]; then
        $sudo umount "$root/proc" 2>/dev/null || true
        $sudo rm -rf "$root"
    fi
}
trap cleanup EXIT

# A fresh copy of the cached root for every check, so that nothing installed before remains.
fresh_root() {
    root=$(mktemp -d "$cache/root.XXXXXX")
    $sudo cp -a "$base/." "$root/"
    $sudo mount -t proc proc "$root/proc"
    echo "nameserver 1.1.1.1" | $sudo tee "$root/etc/resolv.conf" >/dev/null
    [ -f /etc/resolv.conf ] && $sudo cp /etc/resolv.conf "$root/etc/resolv.conf"
    $sudo mkdir -p "$root/check"
    $sudo cp build/quorvia_*.deb build/samples/observer1.xlsx build/samples/observer2.xlsx "$root/check/"
}

in_root() { $sudo chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 HOME=/root "$@"; }

install_package() {
    in_root apt-get update -qq
    in_root sh -c 'DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./check/quorvia_*.deb xvfb xauth'
}

run_window() {
    in_root sh -c 'export XDG_RUNTIME_DIR=$(mktemp -d) HOME=$(mktemp -d) QT_QPA_PLATFORM=offscreen
        mkdir -p "$HOME/Documents"
        timeout 5 xvfb-run -a quorvia; status=$?
        [ $status -eq 124 ]  # still running after 5 s: the window was up until the timeout'
}

lint() { lintian --no-tag-display-limit build/quorvia_*.deb | tee /dev/stderr | { ! grep -q '^E:'; }; }

step "build the package (make package)" make package
step "lintian reports no error" lint
step "two observers' workbooks written by the test suite" \
    ctest --test-dir build -R '^test_sessionsheet$' --output-on-failure
if [ -d "$base" ]; then
    echo "ok   Debian 12 root cached in $base"
else
    step "create a Debian 12 root with debootstrap from $mirror" make_base
fi
step "copy the root and the package into a fresh root" fresh_root
step "apt-get install ./quorvia_*.deb (dependencies from the mirror)" install_package
step "quorvia --version prints $(sed -n 's/^project(quorvia VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" \
    sh -c "$sudo chroot '$root' quorvia --version | grep -qx 'Quorvia $(sed -n 's/^project(quorvia VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)'"
step "the window runs for 5 s (xvfb-run, offscreen)" run_window
step "quorvia agreement on two workbooks of the test suite" \
    in_root quorvia agreement /check/observer1.xlsx /check/observer2.xlsx
step "quorvia agreement --output writes its workbook (the workbook writer's module)" \
    in_root sh -c 'cd "$(mktemp -d)" && quorvia agreement /check/observer1.xlsx \
        /check/observer2.xlsx --output agreement.xlsx >/dev/null && test -s agreement.xlsx'
step "quorvia graph --csv on a workbook of the test suite (the graph's module)" \
    in_root sh -c 'XDG_RUNTIME_DIR=$(mktemp -d) quorvia graph /check/observer1.xlsx --measure rpm \
        --csv | grep -q "^session,date,"'
echo "all steps passed"
