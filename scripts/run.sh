#!/usr/bin/env bash
# Sets everything up (packages, build) and starts the stand-alone host playing the plug-in.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-packages.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQB_TESTS=OFF
cmake --build build
if [ -x build/bin/Host ]; then
  exec build/bin/Host "$@"
fi
echo "Built the library; the stand-alone host is not part of this build yet."
