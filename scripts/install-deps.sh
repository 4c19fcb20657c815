#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the program need.
# Idempotent: packages already present are left alone and apt is not touched at all; the German
# locale the tests write workbooks under (a comma as decimal separator) is generated once.
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
    python3 python3-openpyxl locales
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

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
if [ ${#missing[@]} -ne 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

locale="de_DE.UTF-8"
if ! locale -a | grep -qix 'de_DE\.utf-\?8'; then
    echo "Generating the locale $locale"
    if grep -qE "^# *$locale UTF-8" /etc/locale.gen; then
        $sudo sed -i -E "s/^# *($locale UTF-8)/\1/" /etc/locale.gen
    elif ! grep -qE "^$locale UTF-8" /etc/locale.gen; then
        echo "$locale UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    fi
    $sudo locale-gen
fi
