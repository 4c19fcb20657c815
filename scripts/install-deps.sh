#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the program need.
# Idempotent: packages already present are left alone and apt is not touched at all.
set -euo pipefail
if [ "${1:-}" = "--fuzz" ]; then
    extra=(clang libclang-rt-14-dev)
else
    extra=()
fi

packages=(
    build-essential cmake ninja-build pkg-config clang-format
    qt6-base-dev qt6-multimedia-dev libgl-dev libqt6sql6-sqlite
    qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
    libxlsxwriter-dev libminizip-dev libfontconfig-dev
    python3 python3-openpyxl
    xvfb xauth fonts-ipafont-gothic
    librsvg2-bin desktop-file-utils appstream dpkg-dev
    "${extra[@]}"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
