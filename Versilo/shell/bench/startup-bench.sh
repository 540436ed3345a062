#!/usr/bin/env bash
# Start-up of Versilo.exe, cold and warm, on one build, beside a bare window program
# (BareWindow.exe: one window that paints 40 lines of text) and their ratio; then where the
# time of one warm start goes before the first paint, from a Wine trace.
# Usage: Versilo/shell/bench/startup-bench.sh [ARCH] [RUNS]    ARCH x86_64 (default) or i686
# Cold: the first start in a fresh Wine prefix (one made for each program, removed after).
# Warm: the build's own prefix with its Wine server already running, the two programs in turn.
# The break-down is written to build/ARCH/bench/startup-trace.txt (the whole trace) and
# printed by startup-trace.py.
set -euo pipefail
cd "$(dirname "$0")/../../.."
arch="${1:-x86_64}"
runs="${2:-10}"
build="$PWD/build/$arch"
fresh="$(mktemp -d)"
cleanup() {
  for prefix in "$fresh"/prefix-*; do
    [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  done
  rm -rf "$fresh"
}
trap cleanup EXIT
bench() { VERSILO_HEADLESS=1 "$build/wine-run" "$build/bench/StartupBench.exe" "$@"; }
first_ms() { awk '/first start:/ && !done { print $3; done = 1 }'; }

echo "== cold: a fresh Wine prefix for each program =="
for program in versilo bare; do
  # The prefix is made by a first program of its own, so that the start timed is the first
  # one of the program in a new prefix, not the making of the prefix.
  VERSILO_HEADLESS=1 VERSILO_WINEPREFIX="$fresh/prefix-$program" "$build/wine-run" cmd /c exit >/dev/null 2>&1 || true
  VERSILO_WINEPREFIX="$fresh/prefix-$program" bench 1 "$program" | tee "$fresh/cold-$program.txt"
done
versilo_cold=$(first_ms < "$fresh/cold-versilo.txt")
bare_cold=$(first_ms < "$fresh/cold-bare.txt")
awk -v v="$versilo_cold" -v b="$bare_cold" \
  'BEGIN { printf "Versilo.exe / BareWindow.exe, cold:  %.2f x (%.1f ms / %.1f ms)\n", v / b, v, b }'

echo "== warm: the build's prefix =="
bench 1 >/dev/null
bench "$runs"

echo "== break-down of one warm start =="
trace="$build/bench/startup-trace.txt"
WINEDEBUG=+timestamp,+pid,+loaddll,+file,+debugstr bench 1 versilo >"$trace" 2>&1
python3 Versilo/shell/bench/startup-trace.py "$trace"
