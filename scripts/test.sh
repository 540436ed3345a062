#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test under Wine and Xvfb.
# Extra arguments go to ctest (for example -L full or -R VoUtil).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)" "$@"
