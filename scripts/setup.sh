#!/usr/bin/env bash
# Brings a Debian machine to the state the build and tests need. Idempotent: when every
# package is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-tools
  wine wine32:i386 libwine-dev
  xvfb xauth
  googletest
  libsword-utils sword-text-kjv sword-text-web
  sword-dict-strongs-hebrew sword-dict-strongs-greek sword-dict-naves
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  missing=("${packages[@]}")
else
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
fi

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
echo "setup: installing ${missing[*]}"
$SUDO dpkg --add-architecture i386
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
