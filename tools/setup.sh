#!/usr/bin/env bash
# Installs the Debian packages Velmora needs (only those missing), then configures and
# builds into build/. Sourced by run.sh and test.sh; safe to run again and again.
set -euo pipefail

VELMORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${VELMORA_BUILD_DIR:-$VELMORA_ROOT/build}"

PACKAGES=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-qpa-plugins libgl-dev
  # The font configuration read ahead at start, and the X connection the first picture is awaited
  # on (with the damage reports the start-up benchmark times it by).
  libfontconfig-dev libxcb1-dev libxcb-damage0-dev
  libzip-dev fonts-farsiweb qt6-translations-l10n
  # The research export to .xlsx.
  libxlsxwriter-dev
  # Looking at real windows, reading printed PDFs, the databases, and the desktop's
  # accessibility bus through which the program is read from outside.
  xvfb xdotool poppler-utils imagemagick sqlite3 at-spi2-core
  # The clinic server mode: Qt's PostgreSQL driver, and a throwaway server for its tests.
  libqt6sql6-psql postgresql
)

install_missing_packages() {
    local missing=()
    for pkg in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    local extra=()
    [ "${VELMORA_SANITIZE:-OFF}" = "ON" ] && extra+=(-DVELMORA_SANITIZE=ON)
    if [ ! -f "$BUILD_DIR/build.ninja" ]; then
        cmake -S "$VELMORA_ROOT" -B "$BUILD_DIR" -G Ninja "${extra[@]}"
    fi
    cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}

install_missing_packages
configure_and_build
