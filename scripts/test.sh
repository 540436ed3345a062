#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test of each build this machine can run:
# the 64-bit build (x86_64, under 64-bit Wine) always, the 32-bit build (i686, the one that
# ships) where the machine really runs a 32-bit program. Each build has its own folder,
# build/i686 and build/x86_64, with its own Wine prefix and Xvfb display.
#
# Usage: scripts/test.sh [--arch ARCH]... [CTEST ARGS...]
#   --arch ARCH (or VERSILO_ARCHS="ARCH ...") restricts the run to those builds, for a quick
#   loop. A requested build the machine cannot run is left out with the reason, except
#   under CI (CI=true), where it fails the run: the shipping 32-bit build is what CI tests.
#   VERSILO_WINE32_LOADER and VERSILO_WINE64_LOADER name the Wine loaders that are tried
#   (defaults /usr/lib/wine/wine and /usr/lib/wine/wine64; see scripts/wine-loader.sh):
#   pointing one at a program the machine cannot run takes the same path as a machine
#   without that support.
#   Other arguments go to ctest (for example -L full or -R VoUtil).
# Fails when a build fails, a test fails, or no build can run here.
set -uo pipefail
cd "$(dirname "$0")/.."

archs=()
while [ $# -gt 0 ]; do
  case "$1" in
    --arch) archs+=("$2"); shift 2 ;;
    --arch=*) archs+=("${1#--arch=}"); shift ;;
    *) break ;;
  esac
done
if [ ${#archs[@]} -eq 0 ]; then
  read -r -a archs <<< "${VERSILO_ARCHS:-x86_64 i686}"
fi

scripts/setup.sh || exit 1

# True when the build's Wine loader runs here (scripts/wine-loader.sh tells how), else sets
# reason. A kernel without 32-bit support refuses the 32-bit loader with "Exec format error"
# unless Debian's emulator runs it.
runs_here() {
  case "$1" in
    i686|x86_64) ;;
    *) reason="unknown architecture (i686 or x86_64)"; return 1 ;;
  esac
  local out
  if out=$(scripts/wine-loader.sh "$1" 2>&1 >/dev/null); then return 0; fi
  reason="$out"
  return 1
}

tested=() left=() failed=()
passed_total=0 failed_total=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for arch in "${archs[@]}"; do
  reason=""
  if ! runs_here "$arch"; then
    if [ "${CI:-}" = true ]; then
      # CI exists to test what ships: a build it cannot run is a failure, not a build left out.
      echo "test.sh: the $arch build cannot be tested: $reason"
      failed+=("$arch (cannot run here: $reason)")
    else
      echo "test.sh: leaving out the $arch build: $reason"
      left+=("$arch ($reason)")
    fi
    continue
  fi
  echo "test.sh: building and testing the $arch build in build/$arch"
  if ! scripts/build.sh "$arch"; then
    failed+=("$arch (build failed)")
    continue
  fi
  (cd "build/$arch" && ctest --output-on-failure -j"$(nproc)" --no-tests=error "$@") 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  # ctest's summary: "N% tests passed, F tests failed out of T".
  if summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1); then
    f=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
    t=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
    passed_total=$((passed_total + t - f))
    failed_total=$((failed_total + f))
  fi
  if [ "$rc" -eq 0 ]; then
    tested+=("$arch")
  else
    failed+=("$arch (tests failed)")
  fi
done

echo
echo "test.sh: builds tested and passed: ${tested[*]:-none}"
[ ${#left[@]} -gt 0 ] && printf 'test.sh: left out: %s\n' "${left[@]}"
[ ${#failed[@]} -gt 0 ] && printf 'test.sh: FAILED: %s\n' "${failed[@]}"
status=0
[ ${#failed[@]} -gt 0 ] && status=1
if [ ${#tested[@]} -eq 0 ] && [ ${#failed[@]} -eq 0 ]; then
  echo "test.sh: no build could run on this machine: no test ran" >&2
  status=1
fi
# Both builds' tests together, as the closing line.
echo "tests: $passed_total passed, $failed_total failed"
exit $status
