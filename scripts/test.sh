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
#   The builds run side by side, each in its own folder with its own Wine prefix and
#   display, and their logs (build/ARCH/test.log) are printed after; VERSILO_SERIAL=1 runs
#   them one after the other.
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

tested=() left=() failed=() runnable=()
passed_total=0 failed_total=0
for arch in "${archs[@]}"; do
  reason=""
  if runs_here "$arch"; then
    runnable+=("$arch")
  elif [ "${CI:-}" = true ]; then
    # CI exists to test what ships: a build it cannot run is a failure, not a build left out.
    echo "test.sh: the $arch build cannot be tested: $reason"
    failed+=("$arch (cannot run here: $reason)")
  else
    echo "test.sh: leaving out the $arch build: $reason"
    left+=("$arch ($reason)")
  fi
done

# Builds and tests one build, printing as it goes; its result ("passed", "build failed" or
# "tests failed") goes to build/ARCH/test.result.
build_and_test() {
  local arch="$1" dir="build/$1" started=$SECONDS
  echo "test.sh: building and testing the $arch build in $dir"
  if ! scripts/build.sh "$arch"; then
    echo "build failed" > "$dir/test.result"
    return
  fi
  (cd "$dir" && ctest --output-on-failure -j"$(nproc)" --no-tests=error "${ctest_args[@]}")
  local rc=$?
  echo "test.sh: the $arch build's build and tests took $((SECONDS - started)) s"
  if [ "$rc" -eq 0 ]; then echo passed; else echo "tests failed"; fi > "$dir/test.result"
}

ctest_args=("$@")
for arch in "${runnable[@]}"; do mkdir -p "build/$arch"; rm -f "build/$arch/test.result"; done
if [ ${#runnable[@]} -gt 1 ] && [ -z "${VERSILO_SERIAL:-}" ]; then
  # The builds run side by side (each has its own prefix and display), then their logs are
  # printed one after the other.
  echo "test.sh: building and testing ${runnable[*]} side by side (logs: build/ARCH/test.log)"
  pids=()
  for arch in "${runnable[@]}"; do
    build_and_test "$arch" > "build/$arch/test.log" 2>&1 &
    pids+=($!)
  done
  wait "${pids[@]}"
  for arch in "${runnable[@]}"; do cat "build/$arch/test.log"; done
else
  for arch in "${runnable[@]}"; do build_and_test "$arch" 2>&1 | tee "build/$arch/test.log"; done
fi

for arch in "${runnable[@]}"; do
  result=$(head -n 1 "build/$arch/test.result" 2>/dev/null)
  # ctest's summary: "N% tests passed, F tests failed out of T".
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "build/$arch/test.log" | tail -n 1)
  if [ -n "$summary" ]; then
    f=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
    t=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
    passed_total=$((passed_total + t - f))
    failed_total=$((failed_total + f))
    echo "test.sh: $arch: $summary"
  fi
  case "$result" in
    passed) tested+=("$arch") ;;
    "") failed+=("$arch (no result)") ;;
    *) failed+=("$arch ($result)") ;;
  esac
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
