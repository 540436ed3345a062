#!/usr/bin/env bash
# Configures (once) and builds the program folder build/bin and the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw32-toolchain.cmake
fi
cmake --build build
