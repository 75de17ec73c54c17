#!/bin/sh
# Writes plugin/audio_path.order: the plug-in's functions that its audio
# blocks run through, then the process-wide data every block reads. The
# linker (lld) lays Quorbel.so out in that order, so a block - which a host
# starts after a sleep, with cold caches and translation buffers - touches a
# few pages of code instead of pages spread over the whole library.
#
#   scripts/audio-path-order.sh [BUILD_DIR]      (default build-test)
#
# Run it after changes that add, rename or move work onto the audio path. The
# link skips a name the library no longer has without a word; the test
# AudioPathOrder.EveryNameIsInTheLibrary (tests/plugin/audio_path_order.sh) fails on one instead.
# Needs valgrind (callgrind) and the two real modules the benchmarks use.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build-test}
bench=$build/bench/vst_block_bench
library=$build/bin/Quorbel.so
out=plugin/audio_path.order
modules="/usr/share/games/biniax2/music/biniax_common00.it /usr/share/games/ceferino/music/menu.xm"

for tool in valgrind nm c++filt; do
  command -v $tool >/dev/null || { echo "audio-path-order: $tool is missing" >&2; exit 1; }
done
[ -x "$bench" ] && [ -f "$library" ] || { echo "audio-path-order: build $build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every function the blocks run, however little time it takes: one left out
# lands pages away from the rest and costs a block a page of its own. Counted
# by callgrind over the blocks alone (unpaced), with each function's calls.
for module in $modules; do
  [ -f "$module" ] || { echo "audio-path-order: $module is missing" >&2; exit 1; }
  for block in 64 256; do
    valgrind -q --tool=callgrind --demangle=no --collect-atstart=no \
      --toggle-collect='_Z21processClassReplacing*' --callgrind-out-file="$work/callgrind.out" \
      "$bench" "$module" --profile 2 --block $block --plugin "$library" >/dev/null 2>&1
    # Per function of the library: its calls, its instructions, and the
    # blocks (calls of the entry point); name compression as callgrind writes it.
    awk -v lib="$(basename "$library")" '
      function name(kind, s,   id) {
        id = s; sub(/ .*/, "", id); id = kind id
        if (s ~ / /) { sub(/^[^ ]* /, "", s); names[id] = s }
        return id
      }
      /^ob=/ { o = name("ob", substr($0, 4)); inLib = index(names[o], lib) > 0; next }
      /^cob=/ { name("ob", substr($0, 5)); next }
      /^fn=/ { f = name("fn", substr($0, 4)); next }
      /^cfn=/ { c = name("fn", substr($0, 5)); next }
      /^(cfi|cfl|fl|fi|fe)=/ { next }
      /^calls=/ { split(substr($0, 7), a, " "); calls[c] += a[1]; skip = 1; next }
      /^[0-9+*-]/ { if (skip) { skip = 0; next } if (inLib) ir[f] += $2; next }
      END {
        for (id in names) if (names[id] ~ /^_Z21processClassReplacing/) blocks = calls[id]
        for (f in ir) if (ir[f] > 0) print names[f], calls[f], ir[f], blocks
      }' "$work/callgrind.out" >>"$work/functions"
  done
done

{
  echo "# The plug-in's audio path: written by scripts/audio-path-order.sh."
  # First what every block runs, then what ticks and rows run, each busiest
  # first: the code of one block lies together.
  awk '{ perBlock = $2 >= $4 ? 1 : 0; every[$1] = (every[$1] == "" || every[$1]) && perBlock; ir[$1] += $3 }
       END { for (s in ir) print (every[s] ? 0 : 1), ir[s], s }' "$work/functions" | sort -k1,1n -k2,2nr -k3 |
    awk '{ print $3 }'
  # The data every block reads, small first so that they share pages: the
  # process-wide values, the lock's guard and the status line each row
  # writes, the pools' and tables' pointers, the vtables and kernel tables of
  # the calls on the way, then the large ones.
  nm --defined-only "$library" | awk '$2 ~ /^[bBdDrR]$/ { print $3 }' >"$work/data"
  c++filt <"$work/data" | paste "$work/data" - >"$work/names"
  for pattern in \
    '^guard variable for (modelGlobals|pluginGlobals|engineGlobals|platform::\(anonymous namespace\)::released)' \
    '^(modelGlobals|pluginGlobals)\(\)::globals$' '^TesselPools::' '^vec::currentLevel$' '^gMidiSuppressed$' \
    '^(tesselBlankRow|\(anonymous namespace\)::renderVariant)$' \
    '^platform::\(anonymous namespace\)::(stateGuardMutex|waiters|released\(\)::cv|busy|buffer)$' \
    '^vtable for (TesselPlugin|TesselRow)$' '^vec::\(anonymous namespace\)::k(Zero|Copy)$' '^renderDirectAvx2.*::kRenders$' \
    '^engineGlobals\(\)::globals$' '^\(anonymous namespace\)::mixScratch$'; do
    PATTERN=$pattern awk -F '\t' '$2 ~ ENVIRON["PATTERN"] { print $1 }' "$work/names"
  done
} >"$out"
echo "audio-path-order: $(grep -vc '^#' "$out") names in $out"
