#!/usr/bin/env bash
# Start-up of Versilo.exe, cold and warm, on one build.
# Usage: Versilo/shell/bench/startup-bench.sh [ARCH] [RUNS]    ARCH x86_64 (default) or i686
# Cold: StartupBench's first run in a fresh Wine prefix (made for the run, removed after).
# Warm: the build's own prefix with its Wine server already running.
set -euo pipefail
cd "$(dirname "$0")/../../.."
arch="${1:-x86_64}"
runs="${2:-10}"
build="$PWD/build/$arch"
fresh="$(mktemp -d)"
trap 'WINEPREFIX="$fresh/prefix" wineserver -k 2>/dev/null || true; rm -rf "$fresh"' EXIT
echo "== cold: a fresh Wine prefix =="
VERSILO_HEADLESS=1 VERSILO_WINEPREFIX="$fresh/prefix" "$build/wine-run" "$build/bench/StartupBench.exe" 2
echo "== warm: the build's prefix =="
VERSILO_HEADLESS=1 "$build/wine-run" "$build/bench/StartupBench.exe" 1 >/dev/null
VERSILO_HEADLESS=1 "$build/wine-run" "$build/bench/StartupBench.exe" "$runs"
