#!/usr/bin/env bash
# Benchmark of the extraction: ExtractArchive (tests/zip/bench_extract.cpp) against minizip's own
# command-line extractor miniunz, built from the same Debian sources; both under Wine, in a
# prefix of their own (build/wine/bench-extract), reading and writing on its drive C:.
#   scripts/bench-extract.sh        five runs of each on each archive, taking turns; prints the
#                                   median and the best time of each and their ratios
#   XPBOOT_BENCH_RUNS=N scripts/bench-extract.sh
# The archives (10,000 small files; one of over 200 MB) are made once under build/bench.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${XPBOOT_BENCH_RUNS:-5}

./scripts/setup.sh
[ -f build/x64/build.ninja ] || cmake --preset x64 >/dev/null
cmake --build --preset x64 --target bench_extract miniunz >/dev/null
python3 scripts/make_bench_archives.py build/bench

source scripts/wine-env.sh
xpboot_prefix bench-extract
trap 'wineserver -k 2>/dev/null || true' EXIT
xpboot_warm_prefix
work="$WINEPREFIX/drive_c/bench"
mkdir -p "$work"
cp build/x64/bench_extract.exe build/x64/miniunz.exe "$work/"
for a in many-small.zip one-large.zip; do
  [ "$work/$a" -nt "build/bench/$a" ] || cp "build/bench/$a" "$work/$a"
done

# seconds TOOL ARCHIVE: one extraction into a fresh folder, wall time in seconds.
seconds() {
  local tool=$1 archive=$2 out="$work/out-$1" start end
  rm -rf "$out"
  mkdir -p "$out"
  start=$(date +%s.%N)
  if [ "$tool" = ours ]; then
    wine "C:\\bench\\bench_extract.exe" "C:\\bench\\$archive" "C:\\bench\\out-$tool" >/dev/null
  else
    wine "C:\\bench\\miniunz.exe" -x -o "C:\\bench\\$archive" -d "C:\\bench\\out-$tool" >/dev/null
  fi
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
best() { printf '%s\n' "$@" | sort -g | head -n1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

for archive in many-small.zip one-large.zip; do
  ours=() theirs=()
  for _ in $(seq "$runs"); do
    ours+=("$(seconds ours "$archive")")
    theirs+=("$(seconds miniunz "$archive")")
  done
  # Both must have written the same files.
  diff -rq "$work/out-ours" "$work/out-miniunz" >/dev/null || { echo "bench: outputs differ for $archive" >&2; exit 1; }
  o=$(median "${ours[@]}") t=$(median "${theirs[@]}") ob=$(best "${ours[@]}") tb=$(best "${theirs[@]}")
  printf '%-15s median: ExtractArchive %6.2f s, miniunz %6.2f s, ratio %s   best: %6.2f s, %6.2f s, ratio %s\n' \
    "$archive" "$o" "$t" "$(ratio "$o" "$t")" "$ob" "$tb" "$(ratio "$ob" "$tb")"
  echo "                runs: ExtractArchive ${ours[*]} / miniunz ${theirs[*]}"
done
rm -rf "$work/out-ours" "$work/out-miniunz"
