#!/usr/bin/env bash
# Sets up, builds and runs every test.
# Usage: scripts/test.sh [build-dir] [extra cmake arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-"$root/build"}
shift || true
"$root/scripts/build.sh" "$build_dir" "$@"
export QT_QPA_PLATFORM=offscreen
# Under the sanitizers: leaks that system libraries keep until process exit.
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)"
