#!/bin/sh
# Writes plugin/audio_path.order: the plug-in's functions that its audio
# blocks run through, busiest first, then the process-wide data every block
# reads. The linker (lld) lays Quorbel.so out in that order, so a block - which
# a host starts after a sleep, with cold caches and translation buffers -
# touches a few pages of code instead of pages spread over the whole library.
#
#   scripts/audio-path-order.sh [BUILD_DIR]      (default build-test)
#
# Run it after changes that add, rename or move work onto the audio path; a
# name the library no longer has is skipped, so a stale list costs speed only.
# Needs perf (linux-perf) and the two real modules the benchmarks use.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build-test}
bench=$build/bench/vst_block_bench
library=$build/bin/Quorbel.so
out=plugin/audio_path.order
modules="/usr/share/games/biniax2/music/biniax_common00.it /usr/share/games/ceferino/music/menu.xm"

for tool in perf nm c++filt; do
  command -v $tool >/dev/null || { echo "audio-path-order: $tool is missing" >&2; exit 1; }
done
[ -x "$bench" ] && [ -f "$library" ] || { echo "audio-path-order: build $build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The blocks alone, unpaced; the delay skips the load.
for module in $modules; do
  [ -f "$module" ] || { echo "audio-path-order: $module is missing" >&2; exit 1; }
  for block in 64 256; do
    perf record -q -F 20000 -e cpu-clock -D 1000 -o "$work/perf.data" \
      "$bench" "$module" --profile 15 --block $block --plugin "$library" >/dev/null 2>&1
    perf report -i "$work/perf.data" --no-children --dsos Quorbel.so --sort sym --no-demangle -F sample,sym \
      2>/dev/null | awk '$1 ~ /^[0-9]+$/ && $2 == "[.]" { print $1, $3 }' >>"$work/samples"
  done
done

{
  echo "# The plug-in's audio path, busiest first: written by scripts/audio-path-order.sh."
  # A function seen fewer than 3 times in a minute of blocks is not on the path.
  awk '{ n[$2] += $1 } END { for (s in n) if (n[s] >= 3) print n[s], s }' "$work/samples" | sort -k1,1nr -k2 |
    awk '{ print $2 }'
  # The data every block reads, small first so that they share pages: the
  # process-wide values, the lock's guard, the pools' and tables' pointers,
  # the vtables and kernel tables of the calls on the way, then the large ones.
  nm --defined-only "$library" | awk '$2 ~ /^[bBdDrR]$/ { print $3 }' >"$work/data"
  c++filt <"$work/data" | paste "$work/data" - >"$work/names"
  for pattern in \
    '^guard variable for (modelGlobals|pluginGlobals|engineGlobals|platform::\(anonymous namespace\)::released)' \
    '^(modelGlobals|pluginGlobals)\(\)::globals$' '^TesselPools::' '^vec::currentLevel$' '^gMidiSuppressed$' \
    '^(tesselBlankRow|\(anonymous namespace\)::renderVariant)$' \
    '^platform::\(anonymous namespace\)::(stateGuardMutex|waiters|released\(\)::cv)$' \
    '^vtable for (TesselPlugin|TesselRow)$' '^vec::\(anonymous namespace\)::k(Zero|Copy)$' '^renderDirectAvx2.*::kRenders$' \
    '^engineGlobals\(\)::globals$' '^\(anonymous namespace\)::mixScratch$'; do
    PATTERN=$pattern awk -F '\t' '$2 ~ ENVIRON["PATTERN"] { print $1 }' "$work/names"
  done
} >"$out"
echo "audio-path-order: $(grep -vc '^#' "$out") names in $out"
