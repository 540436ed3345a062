#!/usr/bin/env bash
# Sets up the machine, builds one build and starts Versilo on the bundled sample bibles (KJV
# and WEB) at John 3 of the KJV.
# Usage: scripts/run.sh [ARCH] [REQUEST...]    ARCH x86_64 (default) or i686; REQUEST the
#        look-up request the program starts with (default: KJV Joh 3:1).
# The program runs in the Norwegian locale, so that Windows' own texts (message-box
# buttons, dates) are Norwegian as on a Norwegian Windows.
# With a display (DISPLAY set and VERSILO_HEADLESS unset) the program opens its window
# there. Without one it runs under the build's private Xvfb: VersiloRun waits until the
# chapter is painted, saves build/ARCH/artifacts/versilo.bmp, prints where the program is,
# and closes it as a user would.
set -euo pipefail
cd "$(dirname "$0")/.."
arch="x86_64"
case "${1:-}" in
  i686|x86_64) arch="$1"; shift ;;
esac
if [ "$#" -eq 0 ]; then set -- KJV Joh 3:1; fi

scripts/setup.sh
if [ ! -f "build/$arch/build.ninja" ]; then
  cmake -S . -B "build/$arch" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$arch.cmake"
fi
# The program folder and the sample data the program shows; the tests are left to test.sh.
cmake --build "build/$arch" -j4 --target Versilo VersiloRun kjv_bible web_bible web_reflib sample_bibles sample_lexicons \
  viewer_sample_list

build="$PWD/build/$arch"
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
# Wine takes the user's locale from LC_ALL (scripts/setup.sh makes nb_NO.UTF-8).
export LC_ALL=nb_NO.UTF-8
if [ -n "${DISPLAY:-}" ] && [ -z "${VERSILO_HEADLESS:-}" ]; then
  exec "$build/wine-run" "$build/bin/Versilo.exe" "$@"
fi
mkdir -p "$build/artifacts"
shot="$build/artifacts/versilo.bmp"
VERSILO_HEADLESS=1 "$build/wine-run" "$build/tools/VersiloRun.exe" "$(winpath "$build/bin/Versilo.exe")" \
  "$(winpath "$shot")" "$@"
echo "Screenshot: $shot"
