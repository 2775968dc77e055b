#!/usr/bin/env bash
# Makes the Debian package of Velmora, velmora_<version>_<arch>.deb, from a Release build in a
# build folder of its own (build-package/, or VELMORA_PACKAGE_BUILD_DIR), and prints its path.
# Installs what is missing first: the build's packages and dpkg-dev and file for CPack.
# Only the two programs are built, not the tests or benchmarks; the compiler and linker get
# Debian's hardening flags (dpkg-buildflags). Install the result with
#   sudo apt-get install ./build-package/velmora_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
VELMORA_WITH_PACKAGING_TOOLS=1
VELMORA_SETUP_PACKAGES_ONLY=1
source tools/setup.sh

PACKAGE_BUILD_DIR="${VELMORA_PACKAGE_BUILD_DIR:-$VELMORA_ROOT/build-package}"

# The debugging symbols are stripped from the package anyway: no -g, and Release's own -O3.
compile_flags="$(DEB_CXXFLAGS_STRIP='-g -O2' dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
link_flags="$(dpkg-buildflags --get LDFLAGS)"
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# CMAKE_SKIP_INSTALL_ALL_DEPENDENCY: packing does not build everything first, only what is built
# below.
cmake -S "$VELMORA_ROOT" -B "$PACKAGE_BUILD_DIR" -G Ninja "${launcher[@]}" \
    -DCMAKE_BUILD_TYPE=Release -DVELMORA_BENCHMARKS=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    -DCMAKE_CXX_FLAGS="$compile_flags" -DCMAKE_EXE_LINKER_FLAGS="$link_flags"
cmake --build "$PACKAGE_BUILD_DIR" --target Velmora Velmoraupdate --parallel "$(nproc)"

rm -f "$PACKAGE_BUILD_DIR"/velmora_*.deb
(cd "$PACKAGE_BUILD_DIR" && cpack)
debs=("$PACKAGE_BUILD_DIR"/velmora_*.deb)
[ -f "${debs[0]}" ] || { echo "cpack made no package" >&2; exit 1; }
echo "${debs[0]}"
