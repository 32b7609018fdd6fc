#!/usr/bin/env bash
# Sets up, builds and starts the analyzer. Only the program and the driver
# plug-ins it loads are built; scripts/test.sh builds the rest in the same
# folder. The program keeps its settings files and data folders beside
# itself, in build/app/, which belongs to whoever built it; the data folders
# are made there on the first start.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD_TARGETS=talvenor "$root/scripts/build.sh" "$root/build"
data="$root/build/app"
if [ ! -w "$data" ]; then
  echo "start.sh: $data is not writable; the settings could not be saved there." >&2
  exit 1
fi
mkdir -p "$data/Wave" "$data/Cal" "$data/Overlay" "$data/Log"
exec "$data/talvenor" "$@"
