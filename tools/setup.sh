#!/usr/bin/env bash
# Installs the Debian packages Velmora needs (only those missing), then configures and
# builds into build/. Sourced by run.sh and test.sh; safe to run again and again.
set -euo pipefail

VELMORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${VELMORA_BUILD_DIR:-$VELMORA_ROOT/build}"

# What building and running the program need.
PACKAGES=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-qpa-plugins libgl-dev
  # The font configuration read ahead at start, and the X connection the first picture is awaited
  # on (with the damage reports the start-up benchmark times it by).
  libfontconfig-dev libxcb1-dev libxcb-damage0-dev
  libzip-dev fonts-farsiweb qt6-translations-l10n
  # The research export to .xlsx.
  libxlsxwriter-dev
  # The research export to SPSS (.sav).
  libreadstat-dev
  # The clinic server mode: Qt's PostgreSQL driver (the server itself runs elsewhere).
  libqt6sql6-psql
  # The signature check of what the update server offers (Ed25519, BLAKE2b), the sign-in's
  # password hashes (Argon2id), the audit trail's hash chain (SHA-256) and the encrypted backups.
  libsodium-dev
)

# What only the tests start: real windows under Xvfb (xvfb-run needs xauth), reading printed PDFs
# and the databases, the desktop's accessibility bus through which the program is read from
# outside, and the PostgreSQL server programs for the tests' throwaway server. Installed by
# test.sh, which sets VELMORA_WITH_TEST_TOOLS.
TEST_PACKAGES=(
  xvfb xauth xdotool poppler-utils imagemagick sqlite3 at-spi2-core
  postgresql-15
  # The packaging tests: the desktop entry's and the AppStream metadata's validators, and lintian
  # on the package they make.
  desktop-file-utils appstream lintian
)

# What making the Debian package needs besides the build (tools/build-package.sh, and the
# packaging tests): dpkg-shlibdeps for the dependencies, and file, with which CPack finds the
# programs to hand it. Set VELMORA_WITH_PACKAGING_TOOLS=1 to install them.
PACKAGING_PACKAGES=(dpkg-dev file)
TEST_PACKAGES+=("${PACKAGING_PACKAGES[@]}")

# The tests need only the server programs: no cluster is made at install, so no database server
# is left running, or started at boot, on a clinician's desktop. An existing cluster is left alone.
keep_postgresql_from_making_a_cluster() {
    local conf=/etc/postgresql-common/createcluster.conf
    [ -e "$conf" ] && return 0
    $SUDO mkdir -p "$(dirname "$conf")"
    echo "create_main_cluster = false" | $SUDO tee "$conf" >/dev/null
}

install_missing_packages() {
    local wanted=("${PACKAGES[@]}")
    [ "${VELMORA_WITH_TEST_TOOLS:-0}" = 1 ] && wanted+=("${TEST_PACKAGES[@]}")
    [ "${VELMORA_WITH_PACKAGING_TOOLS:-0}" = 1 ] && wanted+=("${PACKAGING_PACKAGES[@]}")
    local missing=()
    for pkg in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Installing packages needs root: run this as root (su -), or install sudo." >&2
            return 1
        fi
        SUDO="sudo"
    fi
    [ "${VELMORA_WITH_TEST_TOOLS:-0}" = 1 ] && keep_postgresql_from_making_a_cluster
    # The existing createcluster.conf is kept when postgresql-common arrives.
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        -o Dpkg::Options::=--force-confold "${missing[@]}"
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
# tools/build-package.sh configures a build of its own.
[ "${VELMORA_SETUP_PACKAGES_ONLY:-0}" = 1 ] || configure_and_build
