#!/bin/sh
# Fails when a name in the plug-in's audio-path order is not defined in the
# library. The link passes the order file with --no-warn-symbol-ordering, so
# a function renamed, moved or folded away would otherwise drop out of the
# layout without a word, and the blocks would touch its page cold again.
#
#   audio_path_order.sh LIBRARY ORDER_FILE exact|base
#
# exact: the build the order file is written from; every name, clones such as
#        .isra.0 included, must be there as written.
# base:  other builds (unoptimised, sanitized) make different clones; each
#        name counts without its clone suffix, so renames are still caught.
set -eu
library=$1
order=$2
match=$3
command -v nm >/dev/null || { echo "audio_path_order: nm is missing (binutils)" >&2; exit 1; }
[ -f "$library" ] || { echo "audio_path_order: no library at $library" >&2; exit 1; }
[ -f "$order" ] || { echo "audio_path_order: no order file at $order" >&2; exit 1; }

defined=$(mktemp)
trap 'rm -f "$defined"' EXIT
# The unstripped library keeps its hidden symbols in the symbol table.
nm --defined-only "$library" | awk 'NF >= 3 { print $3 }' >"$defined"
[ -s "$defined" ] || { echo "audio_path_order: $library has no symbol table (stripped?)" >&2; exit 1; }

MATCH=$match awk '
  function base(name) {
    if (ENVIRON["MATCH"] == "base")
      while (sub(/\.(isra|constprop|part|cold|lto_priv)(\.[0-9]+)?$/, "", name)) {}
    return name
  }
  NR == FNR { have[base($1)]; next }
  /^#/ || NF == 0 { next }
  !(base($1) in have) { print "not in the library: " $1; missing++ }
  END {
    if (missing) {
      print missing " name(s) of " FILENAME " are not defined in the library; run scripts/audio-path-order.sh to write the file again"
      exit 1
    }
  }' "$defined" "$order"
