#!/usr/bin/env bash
# Configures (once) and builds one architecture's program folder and tests into build/ARCH.
# Usage: scripts/build.sh [ARCH]    ARCH is i686 (the 32-bit build that ships, the default)
#                                   or x86_64 (the 64-bit build).
set -euo pipefail
cd "$(dirname "$0")/.."
arch="${1:-i686}"
case "$arch" in
  i686|x86_64) ;;
  *) echo "build.sh: unknown architecture '$arch' (i686 or x86_64)" >&2; exit 2 ;;
esac
dir="build/$arch"
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$arch.cmake"
fi
cmake --build "$dir"
