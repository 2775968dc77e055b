#!/usr/bin/env bash
# The packaging checks of the test suite; tests/packaging/CMakeLists.txt says which is which.
#   check-packaging.sh desktop-entry FILE.desktop
#   check-packaging.sh metainfo FILE.metainfo.xml
#   check-packaging.sh versions PACKAGING_DIR VERSION
#   check-packaging.sh package BUILD_DIR SHIPPED_SKIN_DIR
#   check-packaging.sh deb PACKAGE.deb SHIPPED_SKIN_DIR
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Errors and warnings alike: a menu shows a faulty entry differently on every desktop.
check_desktop_entry() {
    local report
    report=$(desktop-file-validate --no-hints "$1" 2>&1) || fail "desktop-file-validate: $report"
    [ -z "$report" ] || fail "desktop-file-validate: $report"
    echo "desktop-file-validate: $1 is valid"
}

# appstreamcli fails on errors and warnings; the pedantic notes (an upper-case letter in the
# reverse-DNS id, which the id keeps) are shown but pass.
check_metainfo() {
    appstreamcli validate --no-net --explain "$1" || fail "appstreamcli does not accept $1"
}

# The release named by the metainfo and the changelog is the version the program reports.
check_versions() {
    local dir=$1 version=$2
    local release changelog
    release=$(grep -o -m1 '<release version="[^"]*"' "$dir/ir.velmorasoft.Velmora.metainfo.xml" |
        sed 's/.*version="\(.*\)"/\1/')
    changelog=$(head -n1 "$dir/changelog" | sed -n 's/^velmora (\([^)]*\)).*/\1/p')
    [ "$release" = "$version" ] ||
        fail "the metainfo's latest release is '$release', the program's version is $version"
    [ "$changelog" = "$version" ] ||
        fail "the changelog's latest entry is '$changelog', the program's version is $version"
    echo "metainfo and changelog name version $version"
}

check_package() {
    local build=$1 skins=$2
    # Not local: the exit trap removes it after the function has returned.
    package_work=$(mktemp -d)
    trap 'rm -rf "$package_work"' EXIT
    local work=$package_work
    cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack could not make the package"; }
    local debs=("$work"/velmora_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single velmora_*.deb"
    check_deb "${debs[0]}" "$skins"
}

# A package made elsewhere (tools/build-package.sh) can be checked alone:
#   tests/packaging/check-packaging.sh deb build-package/velmora_*.deb resources/skin
check_deb() {
    local deb=$1 skins=$2
    local contents
    contents=$(dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|')
    local wanted=(
        /usr/bin/velmora /usr/bin/velmora-update /usr/lib/x86_64-linux-gnu/velmora/velmora_network.so
        /usr/share/applications/ir.velmorasoft.Velmora.desktop
        /usr/share/metainfo/ir.velmorasoft.Velmora.metainfo.xml
        /usr/share/icons/hicolor/scalable/apps/ir.velmorasoft.Velmora.svg
        /usr/share/doc/velmora/copyright /usr/share/doc/velmora/changelog.gz
    )
    for size in 16 32 48 64 128 256; do
        wanted+=("/usr/share/icons/hicolor/${size}x${size}/apps/ir.velmorasoft.Velmora.png")
    done
    local skin
    for skin in "$skins"/*.skn; do
        wanted+=("/usr/share/velmora/skin/$(basename "$skin")")
    done
    local path
    for path in "${wanted[@]}"; do
        grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
    done
    # Only the numbered themes are shipped: a user's records or theme choice never are.
    local stray
    stray=$(grep -E '/(DABSH|Theme)\.skn$|/VMpic\.jpg$|/skin\.txt$|/Velmora(update)?$' <<<"$contents" || true)
    [ -z "$stray" ] || fail "the package holds files that are not its own: $stray"

    # dpkg-shlibdeps found the linked libraries; the plugins, the data and the libraries of the
    # file formats, opened when first needed, are named by hand.
    local depends
    depends=$(dpkg-deb --field "$deb" Depends)
    local needed
    for needed in libc6 libqt6widgets6 libqt6sql6 qt6-qpa-plugins libqt6sql6-sqlite libqt6sql6-psql \
        fonts-farsiweb qt6-translations-l10n libzip4 libxlsxwriter4 libreadstat1; do
        grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
    done
    echo "Depends: $depends"

    lintian --fail-on error --info "$deb" || fail "lintian reports errors on the package"
    echo "lintian reports no errors on $(basename "$deb")"
}

case "${1:-}" in
desktop-entry) check_desktop_entry "$2" ;;
metainfo) check_metainfo "$2" ;;
versions) check_versions "$2" "$3" ;;
package) check_package "$2" "$3" ;;
deb) check_deb "$2" "$3" ;;
*) fail "unknown check '${1:-}'" ;;
esac
