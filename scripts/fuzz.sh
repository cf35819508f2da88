#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UBSan; preset fuzz) and runs each one
# for the given number of seconds (default 60), starting from its seed corpus in fuzz/corpus/.
# New inputs found go to build/fuzz/work/<target>/, crash inputs to build/fuzz/crashes/<target>/.
# Exits non-zero when a target breaks a property or crashes. Name targets to run only those:
#   bash scripts/fuzz.sh 600 profile completion
set -uo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"; shift || true
b="${TAV_BUILD:-build}"
jobs="${TAV_JOBS:-2}"
cmake --preset fuzz -B "$b/fuzz" >/dev/null || exit 1
cmake --build "$b/fuzz" -j "$jobs" 2>&1 | grep -vE '^\[ *[0-9]+%\]' ; [ "${PIPESTATUS[0]}" -eq 0 ] || exit 1

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$b"/fuzz/fuzz/fuzz_*; do targets+=("${exe##*/fuzz_}"); done
fi
rc=0
for t in "${targets[@]}"; do
  exe="$b/fuzz/fuzz/fuzz_$t"
  [ -x "$exe" ] || { echo "no fuzz target $t"; rc=1; continue; }
  work="$b/fuzz/work/$t" crashes="$b/fuzz/crashes/$t"
  mkdir -p "$work" "$crashes"
  # 10 MB inputs are made inside the targets; the inputs themselves stay small.
  if "$exe" -max_total_time="$seconds" -max_len=8192 -timeout=30 -rss_limit_mb=3072 -print_final_stats=1 \
      -artifact_prefix="$crashes/" "$work" "fuzz/corpus/$t" >"$b/fuzz/$t.log" 2>&1; then
    echo "fuzz $t: ok ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$b/fuzz/$t.log" | grep -o '[0-9]*$') runs in ${seconds} s)"
  else
    echo "fuzz $t: FAILED (log $b/fuzz/$t.log, input in $crashes/)"
    grep -m5 -E 'property broken|ERROR: |runtime error' "$b/fuzz/$t.log"
    rc=1
  fi
done
exit $rc
