#!/usr/bin/env bash
# Signs a release for the update server: the version file and each installation package get a
# minisign signature beside them (FILE.minisig), which Velmora and its updater check with the
# release key built into src/common/VendorLinks.h before believing or opening anything.
#
#   tools/sign-release.sh SECRET_KEY LastVersion.txt velmora_amd64.deb [setup-Velmora.exe ...]
#
# SECRET_KEY is the vendor's minisign secret key (minisign asks for its password, if it has one).
# Each signature is checked against the built-in key afterwards, so a release signed with any
# other key is caught here rather than refused on every clinic's computer; VELMORA_RELEASE_KEY
# names another public key (its base64 line) for trying the script with a test key.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 SECRET_KEY FILE..." >&2
    exit 2
fi
command -v minisign >/dev/null || { echo "minisign is missing (Debian: apt-get install minisign)" >&2; exit 1; }

secret_key="$1"
shift
[ -r "$secret_key" ] || { echo "cannot read the secret key $secret_key" >&2; exit 1; }

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
public_key="${VELMORA_RELEASE_KEY:-$(sed -n 's/.*releaseKey = QStringLiteral("\([A-Za-z0-9+/=]*\)");.*/\1/p' \
    "$root/src/common/VendorLinks.h")}"
[ -n "$public_key" ] || { echo "no release key found in src/common/VendorLinks.h" >&2; exit 1; }

for file in "$@"; do
    [ -f "$file" ] || { echo "no such file: $file" >&2; exit 1; }
    name="$(basename "$file")"
    # The trusted comment is signed too: it says which file of which release this is.
    minisign -S -s "$secret_key" -m "$file" -t "Velmora release file: $name, signed $(date -u +%Y-%m-%dT%H:%M:%SZ)"
    minisign -V -q -P "$public_key" -m "$file" ||
        { echo "$name: the signature does not hold for the release key; do not publish it" >&2; exit 1; }
    echo "signed: $file.minisig"
done
