#!/usr/bin/env bash
# Compares the engine's playback with libopenmpt's on every real module the
# tests install (the game data packages in scripts/install-packages.sh).
#   bench/compare_set.sh [BUILD_DIR] [compare_module options...]
set -euo pipefail
build=${1:-build-test}
shift || true
folders=(
  /usr/share/games/biniax2/music          # biniax2-data
  /usr/share/games/njam/data              # njam-data
  /usr/share/games/circuslinux/data/music # circuslinux-data
  /usr/share/games/ceferino/music         # ceferino-data
  /usr/share/games/heroes/mod             # heroes-sound-tracks
  /usr/share/games/vodovod                # vodovod
  /usr/share/games/rafkill/music          # rafkill-data
  /usr/share/games/gltron/music           # gltron
  /usr/share/games/ironseed/sound         # ironseed-data
  /usr/share/games/madbomber/music        # madbomber-data
)
mapfile -t modules < <(find "${folders[@]}" -maxdepth 1 -type f \
  \( -iname '*.it' -o -iname '*.xm' -o -iname '*.s3m' -o -iname '*.mod' \) | sort)
[ ${#modules[@]} -gt 0 ] || { echo "no modules found: run scripts/install-packages.sh" >&2; exit 1; }
exec "$build/bench/compare_module" "${modules[@]}" "$@"
