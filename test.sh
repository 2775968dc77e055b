#!/usr/bin/env bash
# Install what is missing, build, and run the whole test suite on the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")"
VELMORA_WITH_TEST_TOOLS=1
source tools/setup.sh
source tools/test-postgres.sh
start_test_postgres
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$(nproc)" --timeout 600
