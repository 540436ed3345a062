#!/usr/bin/env bash
# Brings a Debian machine to the state the build and tests need: both cross compilers, both
# Wines, and a way to run the 32-bit one. Where the kernel refuses 32-bit programs it installs
# Debian's user-mode emulator (qemu-user, with qemu-user-binfmt, which registers it as their
# handler where the machine allows); where no handler gets registered, the build's Wine runner
# starts the 32-bit loader through qemu-i386 itself (scripts/wine-loader.sh decides). Its last
# line says which road 32-bit programs take. Idempotent: when everything is present it only
# checks.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
  wine wine32:i386 wine64 libwine-dev
  xvfb xauth fonts-liberation
  locales python3
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

# Wine takes its user locale from LC_ALL; tests of dates and case use these two, and the
# double-byte text tests use ja_JP (Wine gives it the ANSI code page 932).
locales_ready() {
  locale -a 2>/dev/null | grep -qi '^nb_NO.utf8$' && locale -a 2>/dev/null | grep -qi '^en_US.utf8$' &&
    locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$' && locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$'
}

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
fi

if ! locales_ready; then
  for l in "nb_NO.UTF-8 UTF-8" "en_US.UTF-8 UTF-8" "ja_JP.UTF-8 UTF-8" "ru_RU.UTF-8 UTF-8"; do
    grep -q "^$l" /etc/locale.gen 2>/dev/null || echo "$l" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
fi

# 32-bit programs: the i686 build's tools, tests and program folder run under 32-bit Wine.
here="$(dirname "$0")"
if ! "$here/wine-loader.sh" i686 >/dev/null 2>&1; then
  emulator_packages=(qemu-user qemu-user-binfmt)
  for p in "${emulator_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      echo "setup: the 32-bit Wine loader does not run here; installing ${emulator_packages[*]}"
      $SUDO apt-get update -qq
      DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
        "${emulator_packages[@]}" >/dev/null
      break
    fi
  done
fi
if road=$("$here/wine-loader.sh" --describe i686 2>&1); then
  echo "setup: 32-bit programs: $road"
else
  echo "setup: 32-bit programs cannot run here: ${road#its Wine loader does not run here: }"
fi
