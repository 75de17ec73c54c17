#!/usr/bin/env bash
# Configures small projects that use the project's layer checks
# (cmake/QbLayers.cmake and the include check beside it): a clean one must
# configure and build, and each kind of violation (a header or a source
# including a layer above, a library reaching one it must not, two
# libraries linking round a circle) must fail configuring with a message
# that names it; an upward include written into a file after configuring
# must fail the next build.
#
#   layer_checks.sh CMAKE_FOLDER
set -uo pipefail
checks=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# make_project DIR LOWER_HEADER_INCLUDE LOWER_SOURCE_INCLUDE EXTRA_CMAKE
make_project() {
  local dir=$work/$1
  mkdir -p "$dir/cmake" "$dir/lower" "$dir/upper" "$dir/side"
  cp "$checks"/QbLayers.cmake "$checks"/QbIncludeCheck.cmake "$checks"/check_layer_includes.cmake "$dir/cmake/"
  printf '#pragma once\n%s\ninline int lower() { return 1; }\n' "$2" > "$dir/lower/lower.h"
  printf '#include "lower/lower.h"\n%s\nint lowerTwice() { return 2 * lower(); }\n' "$3" > "$dir/lower/lower.cpp"
  printf '#pragma once\n#include "lower/lower.h"\ninline int upper() { return lower() + 1; }\n' > "$dir/upper/upper.h"
  printf '#include "upper/upper.h"\nint upperTwice() { return 2 * upper(); }\n' > "$dir/upper/upper.cpp"
  echo 'add_library(qb_lower STATIC lower.cpp)' > "$dir/lower/CMakeLists.txt"
  echo 'add_library(qb_upper STATIC upper.cpp)' > "$dir/upper/CMakeLists.txt"
  printf 'int side() { return 3; }\n' > "$dir/side/side.cpp"
  echo 'add_library(qb_side STATIC side.cpp)' > "$dir/side/CMakeLists.txt"
  cat > "$dir/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(LayerFixture CXX)
add_subdirectory(lower)
add_subdirectory(upper)
add_subdirectory(side)
target_include_directories(qb_lower PUBLIC \${PROJECT_SOURCE_DIR})
target_link_libraries(qb_upper PUBLIC qb_lower)
$4
include(cmake/QbLayers.cmake)
qb_check_layers()
qb_check_includes()
qb_check_reach(qb_lower NOT qb_side)
CMAKE
}

# expect NAME PATTERN: configuring must fail with PATTERN in its output, or
# succeed when PATTERN is empty.
expect() {
  local name=$1 pattern=$2 output status
  output=$(cmake -S "$work/$name" -B "$work/$name/build" 2>&1)
  status=$?
  if [ -z "$pattern" ]; then
    [ $status -eq 0 ] && return
    echo "FAIL $name: a clean project did not configure:"; echo "$output"
  else
    [ $status -ne 0 ] && grep -q "$pattern" <<<"$output" && return
    echo "FAIL $name: expected configuring to fail with '$pattern', got status $status:"; echo "$output"
  fi
  failures=$((failures + 1))
}

make_project clean '' '' ''
expect clean ''
make_project header_up '#include "upper/upper.h"' '' ''
expect header_up 'lower/lower.h (qb_lower) includes upper/upper.h (qb_upper)'
make_project source_up '' '#include "upper/upper.h"' ''
expect source_up 'lower/lower.cpp (qb_lower) includes upper/upper.h (qb_upper)'
make_project circle '' '' 'target_link_libraries(qb_lower PUBLIC qb_upper)'
expect circle 'Libraries link round a circle'
make_project reach_forbidden '' '' 'target_link_libraries(qb_lower PUBLIC qb_side)'
expect reach_forbidden 'qb_lower must not reach qb_side'

# Configured clean, then an include of the layer above written into a
# header that already existed: the build fails, naming it.
output=$(cmake --build "$work/clean/build" 2>&1) || { echo "FAIL clean: did not build:"; echo "$output"; failures=$((failures + 1)); }
sed -i '2i #include "upper/upper.h"' "$work/clean/lower/lower.h"
if output=$(cmake --build "$work/clean/build" 2>&1) || ! grep -q 'lower/lower.h (qb_lower) includes upper/upper.h (qb_upper)' <<<"$output"; then
  echo "FAIL edited: an upward include added after configuring did not fail the build:"; echo "$output"
  failures=$((failures + 1))
fi

[ $failures -eq 0 ] && echo "every layer check holds"
exit $failures
