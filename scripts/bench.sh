#!/usr/bin/env bash
# Runs every benchmark of the given builds one after the other, each benchmark on every
# build before the next, so that the figures of the builds stand side by side from one run.
# Usage: scripts/bench.sh [ARCH...]   (default: every build folder present, i686 x86_64)
# Build first with scripts/build.sh ARCH. The benchmarks print their own figures.
set -uo pipefail
cd "$(dirname "$0")/.."
archs=("$@")
if [ ${#archs[@]} -eq 0 ]; then
  for a in i686 x86_64; do [ -x "build/$a/wine-run" ] && archs+=("$a"); done
fi
[ ${#archs[@]} -gt 0 ] || { echo "bench.sh: no build folder; run scripts/build.sh ARCH first" >&2; exit 1; }

lex="bin/Lexicons/Strong's Hebrew Dictionary.vrsl"
benches=(
  "bench/RyCollationBench.exe"
  "texttab"
  "bench/IndexedDataBench.exe"
  "bench/BibleStatBench.exe"
  "bench/LangStatBench.exe"
  "bench/ConvertRefBench.exe"
  "bench/BibleBench.exe"
  "bench/VoViewBench.exe"
  "bench/TextInputBench.exe"
  "bench/LexBench.exe"
  "bench/ZipLexBench.exe"
  "bench/articles/ArticlesBench.exe"
  "bench/lexpane/LexPaneBench.exe"
  "bench/biblelist/BibleListBench.exe"
  "bench/ItemServerBench.exe"
  "bench/copydrag/CopyDragBench.exe"
  "bench/markings/MarkingsBench.exe"
  "bench/panes/PanesBench.exe"
  "bench/SearchDialogBench.exe"
  "startup"
  "bench/viewer/ViewerEngineBench.exe"
  "bench/viewer/ViewerShowBench.exe"
)
for b in "${benches[@]}"; do
  for a in "${archs[@]}"; do
    dir="build/$a"
    echo "=== $a: ${b#bench/}"
    case "$b" in
      texttab) ARCH="$a" RyTextUtils/bench/texttab-bench.sh ;;
      startup) Versilo/shell/bench/startup-bench.sh "$a" ;;
      bench/ZipLexBench.exe)
        "$dir/wine-run" "$dir/$b" "$dir/$lex" H430 "$dir/data/lexicons/strongs-hebrew.txt" ;;
      # It reads the sample tables beside its own copy of VoUtil.dll, from its folder.
      bench/copydrag/*) (cd "$dir/bench/copydrag" && ../../wine-run ./CopyDragBench.exe) ;;
      *) "$dir/wine-run" "$dir/$b" ;;
    esac
  done
done
