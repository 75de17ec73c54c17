#!/usr/bin/env bash
# Renders the real modules that the tests read (from the Debian packages in
# scripts/install-packages.sh) with render_module --compare-openmpt, and prints
# each file's speed_ratio (the engine's speed over libopenmpt's, measured in
# the same run), then their median and minimum.
#
#   bench/render_set.sh [BUILD_DIR] [--seconds S] [--runs N] [--repeat R]
#
# Every file renders the same stretch on both sides: --max-seconds S (default
# 60), or the song's own length when shorter. With --runs N (default 3) each
# file is rendered N times and its median ratio is the one that counts, which
# steadies the figure on a busy machine (its lowest of the N is printed beside
# it); within each run both players render R times in turn (--repeat R,
# default 3) and each one's fastest render counts.
set -euo pipefail

build=build-test
seconds=60
runs=3
repeat=3
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --repeat) repeat=$2; shift 2 ;;
    *) build=$1; shift ;;
  esac
done

cd "$(dirname "$0")/.."
render="$build/bench/render_module"
if [ ! -x "$render" ]; then
  echo "render_set: $render missing: build the render_module target first" >&2
  exit 1
fi

modules=()
for pattern in /usr/share/games/biniax2/music/*.it /usr/share/games/njam/data/ritam.s3m \
               /usr/share/games/circuslinux/data/music/*.mod /usr/share/games/ceferino/music/menu.xm; do
  [ -f "$pattern" ] && modules+=("$pattern")
done
if [ ${#modules[@]} -eq 0 ]; then
  echo "render_set: no modules found: scripts/install-packages.sh installs biniax2-data, njam-data," \
       "circuslinux-data and ceferino-data" >&2
  exit 1
fi

median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

ratios=()
failed=0
for module in "${modules[@]}"; do
  samples=()
  for ((run = 0; run < runs; ++run)); do
    if ! out=$("$render" "$module" --compare-openmpt --max-seconds "$seconds" --repeat "$repeat" 2>&1); then
      samples=()
      break
    fi
    samples+=("$(awk '/^speed_ratio:/ { print $2 }' <<<"$out")")
  done
  if [ ${#samples[@]} -eq 0 ] || [ -z "${samples[0]}" ]; then
    printf '%-28s failed\n' "$(basename "$module")"
    failed=1
    continue
  fi
  ratio=$(printf '%s\n' "${samples[@]}" | median)
  lowest=$(printf '%s\n' "${samples[@]}" | sort -g | head -1)
  ratios+=("$ratio")
  printf '%-28s %-8s (lowest %s)\n' "$(basename "$module")" "$ratio" "$lowest"
done

[ ${#ratios[@]} -gt 0 ] || exit 1
printf 'median                       %s\n' "$(printf '%s\n' "${ratios[@]}" | median)"
printf 'minimum                      %s\n' "$(printf '%s\n' "${ratios[@]}" | sort -g | head -1)"
exit $failed
