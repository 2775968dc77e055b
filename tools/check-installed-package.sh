#!/usr/bin/env bash
# Checks the Debian package as a clinician meets it. Meant for a fresh Debian 12 machine (or
# container) as root, in a clone of the repository: it changes the system (installs the package,
# the build's packages and xvfb, xauth, xdotool, and adds the user velmoracheck), so it is not
# for a workstation in use.
#
#  1. builds the package with tools/build-package.sh and installs it with apt-get;
#  2. starts velmora as an ordinary user under xvfb-run and waits until its main window is mapped,
#     then the updater velmora-update until its window is;
#  3. checks that the user's data files were made in ~/.local/share/Velmora/ and that nothing
#     under /usr was written after the installation;
#  4. prints the package's size and dependencies.
# Exits non-zero when any check fails; every check runs and reports, so one run names them all.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

if [ "$(id -u)" -ne 0 ]; then
    echo "Run this as root on a fresh machine: it installs packages and adds a user." >&2
    exit 2
fi
export DEBIAN_FRONTEND=noninteractive
CHECK_USER=velmoracheck
WAIT_SECONDS=60
failures=()

step() { echo; echo "== $*"; }
failed() {
    echo "FAIL: $*" >&2
    failures+=("$*")
}

step "Building the package"
build_log=$(mktemp)
if ! tools/build-package.sh 2>&1 | tee "$build_log"; then
    echo "FAIL: the package could not be built" >&2
    exit 1
fi
deb=$(tail -n1 "$build_log")
[ -f "$deb" ] || { echo "FAIL: no package at '$deb'" >&2; exit 1; }

step "Tools for the check"
apt-get update -q && apt-get install -y -q --no-install-recommends xvfb xauth xdotool || { echo "FAIL: no xvfb" >&2; exit 1; }

step "Installing $deb"
packages_before=$(mktemp)
dpkg-query -W -f='${Package}\n' | sort >"$packages_before"
if ! apt-get install -y -q "$deb"; then
    echo "FAIL: apt-get could not install the package" >&2
    exit 1
fi
# Everything the program writes from now on belongs in the user's home, never under /usr.
install_marker=$(mktemp)
touch "$install_marker"

id "$CHECK_USER" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$CHECK_USER"
user_home=$(getent passwd "$CHECK_USER" | cut -d: -f6)

# Starts a program as the user on a virtual display, waits until a window with the given title
# is mapped, and ends the program. Prints what the program wrote to its error output on failure.
start_as_user() {
    local program=$1 title=$2
    runuser -u "$CHECK_USER" -- env HOME="$user_home" PROGRAM="$program" TITLE="$title" \
        WAIT_SECONDS="$WAIT_SECONDS" xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        cd "$HOME"
        log=$(mktemp)
        "$PROGRAM" 2>"$log" &
        pid=$!
        for _ in $(seq "$WAIT_SECONDS"); do
            if xdotool search --onlyvisible --name "$TITLE" >/dev/null 2>&1; then
                echo "$PROGRAM: window \"$TITLE\" mapped"
                sleep 2
                kill "$pid" 2>/dev/null
                wait "$pid" 2>/dev/null
                exit 0
            fi
            if ! kill -0 "$pid" 2>/dev/null; then
                wait "$pid"
                echo "$PROGRAM ended (status $?) before its window was mapped:" >&2
                cat "$log" >&2
                exit 1
            fi
            sleep 1
        done
        echo "$PROGRAM: no window \"$TITLE\" after $WAIT_SECONDS s:" >&2
        xdotool search --onlyvisible --name "" getwindowname %@ >&2 2>/dev/null
        cat "$log" >&2
        kill "$pid" 2>/dev/null
        exit 1'
}

step "Starting velmora as $CHECK_USER"
start_as_user velmora '^Velmora$' || failed "velmora's main window was not mapped"

step "The user's data files"
data_dir="$user_home/.local/share/Velmora"
for file in DABSH.skn Theme.skn; do
    if [ -s "$data_dir/$file" ]; then
        ls -l "$data_dir/$file"
    else
        failed "$data_dir/$file was not made"
    fi
done

step "Starting velmora-update as $CHECK_USER"
start_as_user velmora-update '^Downloading File' || failed "velmora-update's window was not mapped"

step "Files written under /usr since the installation"
written=$(find /usr -newer "$install_marker" -print 2>/dev/null)
if [ -n "$written" ]; then
    echo "$written"
    failed "the programs wrote under /usr"
else
    echo "none"
fi

step "The package"
ls -l "$deb"
echo "Installed-Size: $(dpkg-deb --field "$deb" Installed-Size) KiB"
echo "Depends: $(dpkg-deb --field "$deb" Depends)"
echo "Recommends: $(dpkg-deb --field "$deb" Recommends)"
echo "Installed with it:"
dpkg-query -W -f='${Package}\n' | sort | comm -13 "$packages_before" - | grep -vx velmora |
    tr '\n' ' ' | fold -s -w 100
echo

echo
if [ ${#failures[@]} -ne 0 ]; then
    echo "${#failures[@]} check(s) failed:"
    printf '  %s\n' "${failures[@]}"
    exit 1
fi
echo "Every check passed."
