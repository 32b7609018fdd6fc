#!/usr/bin/env bash
# Builds the file readers' libFuzzer targets with clang under AddressSanitizer
# and UndefinedBehaviorSanitizer, writes their seed corpora with the
# program's own writers (plus the hand-made cases in fuzz/seeds/<target>/),
# and fuzzes each for a while. A crash, a leak, a timeout, a sanitizer report
# or a failed round trip ends with a non-zero status; the input that did it
# is left in <build folder>/artifacts/.
#
# Kept apart from the CMake build, which uses g++: each source the targets
# need is compiled once, and each target links only the objects it names.
#
# Usage: fuzz/run-fuzzer.sh [seconds (15)] [build folder (build-fuzz)] [target ...]
#   Each target (wave, overlay, compensation, ini, cfg) runs for the seconds
#   given, the wave reader, which has the most paths, for twice that; naming
#   targets runs only those.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-15}
out=${2:-"$root/build-fuzz"}
shift $(( $# < 2 ? $# : 2 ))
wanted=("$@")

"$root/scripts/install-deps.sh"

platform=(platform/MessageBox.cpp platform/ZeroFilledArray.cpp platform/SmallMaths.cpp platform/Trace.cpp
  platform/NumberText.cpp platform/AtomicFile.cpp platform/TempFiles.cpp platform/RiffFile.cpp platform/RegularFile.cpp)
# The sources a library's CMakeLists.txt lists (the engine's grow often).
library_sources() {
  sed -n '/SOURCES/,/DEPENDS/p' "$root/$1/CMakeLists.txt" | grep -o '[A-Za-z0-9_]*\.cpp' | sed "s|^|$1/|"
}
# The wave reader's filter and the overlay table (built from a live spectrum
# too) bring in the engine.
mapfile -t engine < <(library_sources engine)
wave=(audio/TWaveData.cpp audio/TWaveDataFilter.cpp audio/TWaveCalibration.cpp audio/TWaveHeader.cpp
  audio/TWaveFile.cpp audio/TWaveFileMemory.cpp audio/TWaveFileStream.cpp audio/TWaveFileCalibration.cpp
  format/TWaveFormat.cpp format/TChannelCalibration.cpp "${engine[@]}" platform/Clock.cpp)
overlay=(plot/overlay/OverlayText.cpp plot/overlay/TOverlayData.cpp "${engine[@]}"
  format/TWaveFormat.cpp format/TChannelCalibration.cpp platform/Clock.cpp)
compensation=(engine/CompensationFile.cpp engine/TCubicSpline.cpp plot/overlay/OverlayText.cpp)
settings=(settings/CfgSchema.cpp settings/CfgSettingsFile.cpp settings/CfgTable.cpp settings/CfgWriter.cpp
  settings/DataLogSettings.cpp settings/DataPaths.cpp settings/FileIOOpts.cpp settings/FrameSettings.cpp
  settings/IniSettingsFile.cpp settings/RunControlOpts.cpp settings/PlotAmplitudeLimits.cpp
  settings/SettingsLimits.cpp settings/FloatFieldBounds.cpp settings/SigGenSettings.cpp settings/SpectrumOpts.cpp settings/TriggerOpts.cpp
  settings/WindowPlacement.cpp settings/WindowSlots.cpp engine/TProcessingSettings.cpp engine/ScalingOpts.cpp
  format/TWaveFormat.cpp format/TChannelCalibration.cpp platform/ProfileFile.cpp platform/Paths.cpp)

# Per target: its source file, its source list, its dictionary, its longest input.
targets=(wave overlay compensation ini cfg)
declare -A main=([wave]=WaveFileFuzzer [overlay]=OverlayFileFuzzer [compensation]=CompensationFileFuzzer
  [ini]=IniSettingsFuzzer [cfg]=CfgSettingsFuzzer)
declare -A list=([wave]=wave [overlay]=overlay [compensation]=compensation [ini]=settings [cfg]=settings)
declare -A dict=([overlay]=overlay [compensation]=overlay [ini]=settings [cfg]=settings)
declare -A max_len=([wave]=16384 [overlay]=8192 [compensation]=8192 [ini]=4096 [cfg]=16384)
if [ ${#wanted[@]} -gt 0 ]; then targets=("${wanted[@]}"); fi

common=(-std=c++20 -g -O1 -fno-omit-frame-pointer -I"$root")
sanitize=(-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all)
obj="$out/obj"
mkdir -p "$obj"
object() { local src=$1; echo "$obj/${src//\//_}.o"; }

# Every source once, three at a time (through ccache when there is one).
cxx=(clang++)
if command -v ccache >/dev/null; then cxx=(ccache clang++); fi
cd "$root"
for s in "${platform[@]}" "${wave[@]}" "${overlay[@]}" "${compensation[@]}" "${settings[@]}"; do echo "$s"; done |
  sort -u | xargs -P 3 -I{} sh -c 'src=$1; o=$2; shift 2
    # clang ignores the pragma that gives a few functions AVX2: such a file is
    # built for AVX2 whole, which the fuzzing machine must have.
    if grep -q "pragma GCC target" "$src"; then set -- "$@" -mavx2 -mfma; fi
    exec "$@" -c "$src" -o "$o/$(echo "$src" | tr / _).o"' \
    _ {} "$obj" "${cxx[@]}" "${common[@]}" "${sanitize[@]}" -fsanitize=fuzzer-no-link

objects() {  # the objects of a source list
  local -n sources=$1
  for s in "${platform[@]}" "${sources[@]}"; do object "$s"; done | sort -u
}

# The seed writers link the same objects without libFuzzer's main.
clang++ "${common[@]}" "${sanitize[@]}" "$root/fuzz/MakeWaveSeeds.cpp" $(objects wave) -o "$out/make_wave_seeds"
clang++ "${common[@]}" "${sanitize[@]}" "$root/fuzz/MakeFileSeeds.cpp" \
  $(for s in "${platform[@]}" "${overlay[@]}" "${settings[@]}"; do object "$s"; done | sort -u) -o "$out/make_file_seeds"

corpus="$out/corpus"
rm -rf "$corpus"
mkdir -p "$corpus/wave" "$out/artifacts"
"$out/make_wave_seeds" "$corpus/wave"
"$out/make_file_seeds" "$corpus"
for t in "${targets[@]}"; do
  mkdir -p "$corpus/$t"
  if [ -d "$root/fuzz/seeds/$t" ]; then cp "$root/fuzz/seeds/$t"/* "$corpus/$t/"; fi
done

# The readers work on real files: give them a scratch folder, in memory when
# the system has one.
scratch=$(mktemp -d "$( [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}" )/talvenor-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

for t in "${targets[@]}"; do
  clang++ "${common[@]}" "${sanitize[@]}" -fsanitize=fuzzer "$root/fuzz/${main[$t]}.cpp" $(objects "${list[$t]}") \
    -o "$out/${t}_fuzzer"
done
failed=()
for t in "${targets[@]}"; do
  time=$seconds
  if [ "$t" = wave ]; then time=$(( 2 * seconds )); fi
  echo "Fuzzing the $t reader for $time s from $(ls "$corpus/$t" | wc -l) seeds"
  mkdir -p "$scratch/$t"
  words=()
  if [ -n "${dict[$t]:-}" ]; then words=(-dict="$root/fuzz/${dict[$t]}.dict"); fi
  TALVENOR_FUZZ_SCRATCH="$scratch/$t" "$out/${t}_fuzzer" "${words[@]}" -max_total_time="$time" -max_len="${max_len[$t]}" \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$out/artifacts/$t-" -print_final_stats=1 "$corpus/$t" ||
    failed+=("$t")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing failed for: ${failed[*]}. The inputs are in $out/artifacts/; keep each in fuzz/seeds/<target>/" \
    "with a regression test that loads it." >&2
  exit 1
fi
