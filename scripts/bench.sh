#!/usr/bin/env bash
# The benchmark suite: Tavimbra.exe against a floor program, alternated in one run under Wine in a
# virtual screen, every figure with its reference and the ratio. Writes bench/RESULTS.md (or
# TAV_BENCH_OUT). Not part of the test tiers.
# Usage: scripts/bench.sh [largest-count [driver options]], e.g. scripts/bench.sh 20000 --idle 10
#   (driver options: --rounds --cycles --starts --typing --mem-cycles --idle --only start,hotkey,enter,...,added)
set -euo pipefail
cd "$(dirname "$0")/.."
count="${1:-100000}"
shift || true
bash scripts/setup.sh
bash scripts/build.sh windows >/dev/null
b="${TAV_BUILD:-build}"
dist="${TAV_DIST_DIR:-dist/Tavimbra}"
out="${TAV_BENCH_OUT:-bench/RESULTS.md}"
root="$b/bench-run"

# Fresh installation folders: the programs, the skin, and texts\ with the sample commands or
# count empty command files (made outside Wine, which is much faster).
rm -rf "$root"
install() {
  local dir="$root/$1"
  mkdir -p "$dir/settings" "$dir/texts"
  cp "$dist/Tavimbra.exe" "$b/windows/bench/bench_floor.exe" "$b/windows/bench/bench_floor_v6.exe" "$dir/"
  cp "$dist/settings/skin.bmp" "$dir/settings/"
  [ -d "$dist/plugins" ] && cp -r "$dist/plugins" "$dir/"
  return 0
}
install samples
cp "$dist"/texts/* "$root/samples/texts/" 2>/dev/null || true
sizes=(0 1000 10000 "$count")
[ "$count" -le 10000 ] && sizes=(0 1000 "$count")
for n in "${sizes[@]}"; do
  install "n$n"
  [ "$n" -gt 0 ] && python3 bench/make_texts.py "$root/n$n/texts" "$n"
done

# The micro-benchmarks of the portable code, from an optimised native build.
rel="$b/linux-release"
cmake --preset linux -B "$rel" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$rel" --target launcher_micro_bench -j "${TAV_JOBS:-2}" >/dev/null

export TAV_WINEPREFIX="$(pwd)/$b/wine/bench"
source scripts/wine-env.sh 2>/dev/null
tav_wine_prepare
wineserver -k >/dev/null 2>&1 || true
tmp="$root/results.md"
tav_in_screen '
  exe=$1 root=$2 out=$3 sizes=$4; shift 4
  wine "$exe" --root "$(tav_winpath "$root")" --out "$(tav_winpath "$(dirname "$out")")\\$(basename "$out")" \
    --sizes "$sizes" "$@"' "$b/windows/bench/launcher_bench.exe" "$root" "$tmp" "$(IFS=,; echo "${sizes[*]}")" "$@"

{
  echo "# Benchmark results"
  echo
  echo "Tavimbra against a floor program (a hidden 240x64 popup with one edit box in the launcher's default"
  echo "face and size, Alt+P shows it, Esc hides it), both started from fresh installation folders and"
  echo "alternated in one run; each ratio is Tavimbra's median over the reference's median."
  echo "Made by \`bash scripts/bench.sh $count${*:+ $*}\` on $(date -u '+%Y-%m-%d %H:%M UTC')."
  echo
  echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), $(nproc) cores shared with other"
  echo "builds and tests running at the same time (figures are noisy; only same-run ratios mean anything);"
  echo "$(wine --version 2>/dev/null) under Xvfb, $(uname -sr)."
  echo
  cat "$tmp"
  echo
  echo "## Micro-benchmarks (native, optimised; the platform's collation replaced by an ASCII one)"
  echo
  echo '```'
  "$rel/bench/launcher_micro_bench" --benchmark_min_time=0.2 2>/dev/null | grep -E '^(BM_|Benchmark|-)'
  echo '```'
} > "$out"
echo "wrote $out"
