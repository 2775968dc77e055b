#!/usr/bin/env bash
# Quick start: install what is missing, build, and start Velmora.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
exec "$BUILD_DIR/bin/Velmora" "$@"
