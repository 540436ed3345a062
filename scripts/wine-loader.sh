#!/usr/bin/env bash
# Tells how this machine runs a build's Wine loader; setup.sh, test.sh and the build's
# configuration all ask here, so they agree.
# Usage: scripts/wine-loader.sh [--describe] ARCH [LOADER]
#   ARCH i686 or x86_64; LOADER the loader to try (default VERSILO_WINE32_LOADER or
#   /usr/lib/wine/wine for i686, VERSILO_WINE64_LOADER or /usr/lib/wine/wine64 for x86_64).
# Exit 0 when the loader runs here. Stdout then holds the emulator the Wine runner must put
# before the loader: nothing when the kernel runs it (itself, or through a registered
# handler), or the path of qemu-i386 when only the emulator started by hand runs it. With
# --describe stdout holds one line that says which of these roads it is.
# Exit 1 when the loader does not run here, with the reason on stderr.
set -u
describe=0
if [ "${1:-}" = --describe ]; then describe=1; shift; fi
arch="${1:-}"
case "$arch" in
  i686) loader="${2:-${VERSILO_WINE32_LOADER:-/usr/lib/wine/wine}}" ;;
  x86_64) loader="${2:-${VERSILO_WINE64_LOADER:-/usr/lib/wine/wine64}}" ;;
  *) echo "wine-loader.sh: unknown architecture '$arch' (i686 or x86_64)" >&2; exit 2 ;;
esac

# The name of the binfmt_misc handler that runs 32-bit x86 programs, when one is registered.
i386_handler() {
  local entry
  for entry in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$entry" ] || continue
    grep -qx enabled "$entry" 2>/dev/null || continue
    if grep -q '^interpreter .*qemu-i386' "$entry" 2>/dev/null; then
      basename "$entry"
      return 0
    fi
  done
  return 1
}

# The loader is a program of its build's width: if it runs, the build's programs run.
if out=$("$loader" --version 2>&1); then
  if [ $describe -eq 1 ]; then
    if [ "$arch" = i686 ] && handler=$(i386_handler); then
      echo "the kernel runs them through qemu-i386, registered as their handler ($handler)"
    else
      echo "the kernel runs them itself"
    fi
  fi
  exit 0
fi
reason="$loader --version: $(echo "$out" | tail -n 1)"

if [ "$arch" = i686 ] && emulator=$(command -v qemu-i386) && "$emulator" "$loader" --version >/dev/null 2>&1; then
  if [ $describe -eq 1 ]; then
    echo "the Wine runner starts the loader through $emulator (no handler is registered: $reason)"
  else
    echo "$emulator"
  fi
  exit 0
fi
echo "its Wine loader does not run here: $reason" >&2
exit 1
