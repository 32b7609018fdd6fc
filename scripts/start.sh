#!/usr/bin/env bash
# Sets up, builds and starts the analyzer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" "$root/build"
exec "$root/build/app/talvenor" "$@"
