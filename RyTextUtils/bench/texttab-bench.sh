#!/usr/bin/env bash
# Runs the text-table benchmark on the KJV verse texts and sets the table's size beside
# gzip -9 of the plain texts.
# Usage: RyTextUtils/bench/texttab-bench.sh [CORPUS]   (ARCH=x86_64 for the 64-bit build;
# the 32-bit build, i686, by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
build="build/${ARCH:-i686}"
corpus="${1:-$build/data/kjv/verses.txt}"
plain=$(mktemp)
trap 'rm -f "$plain"' EXIT
"$build/wine-run" "$build/bench/RyTextTabBench.exe" "$corpus" "$plain"
echo "gzip -9 of the plain texts: $(gzip -9 -c "$plain" | wc -c) bytes"
