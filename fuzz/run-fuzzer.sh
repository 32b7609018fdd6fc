#!/usr/bin/env bash
# Builds the wave-file reader's libFuzzer target with clang, writes the seed
# corpus with the program's own writer, and fuzzes for a while. A crash, a
# sanitizer report or a failed round trip ends with a non-zero status.
#
# Kept apart from the CMake build, which uses g++: only the reader's own
# sources are compiled here.
#
# Usage: fuzz/run-fuzzer.sh [seconds (60)] [build folder (build-fuzz)]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=${2:-"$root/build-fuzz"}

"$root/scripts/install-deps.sh"

sources=(
  audio/TWaveData.cpp audio/TWaveDataFilter.cpp audio/TWaveCalibration.cpp audio/TWaveHeader.cpp
  audio/TWaveFile.cpp audio/TWaveFileMemory.cpp audio/TWaveFileStream.cpp audio/TWaveFileCalibration.cpp
  format/TWaveFormat.cpp format/TChannelCalibration.cpp
  engine/TSmoothing.cpp
  platform/RiffFile.cpp platform/TempFiles.cpp platform/MessageBox.cpp platform/ZeroFilledArray.cpp
  platform/SmallMaths.cpp platform/Trace.cpp
)
common=(-std=c++20 -g -O1 -fno-omit-frame-pointer -I"$root")
fuzz_flags=(-fsanitize=address,undefined -fno-sanitize-recover=undefined)

mkdir -p "$out/obj-fuzz" "$out/obj-seeds"
compile() {  # object folder, then the compiler flags
  local dir=$1; shift
  local pids=()
  for src in "${sources[@]}"; do
    clang++ "$@" -c "$root/$src" -o "$dir/${src//\//_}.o" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid"; done
}
compile "$out/obj-fuzz" "${common[@]}" "${fuzz_flags[@]}" -fsanitize=fuzzer-no-link
compile "$out/obj-seeds" "${common[@]}"

clang++ "${common[@]}" "${fuzz_flags[@]}" -fsanitize=fuzzer \
  "$root/fuzz/WaveFileFuzzer.cpp" "$out"/obj-fuzz/*.o -o "$out/wave_file_fuzzer"
clang++ "${common[@]}" "$root/fuzz/MakeWaveSeeds.cpp" "$out"/obj-seeds/*.o -o "$out/make_wave_seeds"

corpus="$out/corpus"
rm -rf "$corpus"
mkdir -p "$corpus" "$out/artifacts"
"$out/make_wave_seeds" "$corpus"
# The reader works on real files: give it a scratch folder, in memory when
# the system has one.
scratch=$(mktemp -d "$( [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}" )/talvenor-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
echo "Fuzzing the wave-file reader for $seconds s from $(ls "$corpus" | wc -l) seeds"
TALVENOR_FUZZ_SCRATCH="$scratch" "$out/wave_file_fuzzer" -max_total_time="$seconds" -max_len=16384 \
  -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$out/artifacts/" -print_final_stats=1 "$corpus"
