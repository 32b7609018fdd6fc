#!/usr/bin/env bash
# Configures and builds the project into a build folder: everything, or only
# the targets named in BUILD_TARGETS (space-separated).
# Usage: [BUILD_TARGETS="..."] scripts/build.sh [build-dir] [extra cmake arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-"$root/build"}
shift || true

"$root/scripts/install-deps.sh"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DTALVENOR_WERROR=ON "${launcher[@]}" "$@"
# Test discovery runs the test programs during the build: the same leak
# suppressions as scripts/test.sh apply under the sanitizers.
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
targets=()
for target in ${BUILD_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$build_dir" --parallel "${targets[@]}"
