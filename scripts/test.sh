#!/usr/bin/env bash
# Runs every test tier and prints one line per tier:
#   unit  native GoogleTest, plain and under AddressSanitizer + UBSan (and the same tests under Wine)
#   fuzz  every libFuzzer target for TAV_FUZZ_SECONDS (default 15) seconds (scripts/fuzz.sh)
#   win   Windows backends and platform agreement, under Wine in a Japanese locale (code page 932)
#   e2e   the real programs driven in a virtual screen (Wine + Xvfb)
# Each line counts the tests the tier skipped. A test may skip only where the platform cannot do
# what it needs (its reason starts "unsupported here: ", as TAV_SKIP_UNSUPPORTED writes it); any
# other skip fails the tier.
# A test program whose report holds no test (a filter that selects none) fails the tier, unless
# the run was narrowed by the caller's own TAV_GTEST_ARGS (then the tier needs one test in all);
# so does a test program that is not there, and a tier that leaves no report at all.
# Exits non-zero when any tier fails. Name tiers to run only those: scripts/test.sh unit e2e
# TAV_NO_BUILD=1 runs what is built already; TAV_FAIL_FAST=1 stops at the first failing test
# program (scripts/mutate.sh uses both).
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/setup.sh || { echo "setup failed"; exit 1; }

pass=0 fail=0 summary=()
fail_fast="${TAV_FAIL_FAST:-0}"
# The caller's own narrowing: reports of runs made with it may hold no test.
export TAV_CALLER_ARGS="${TAV_GTEST_ARGS:-}"

# GoogleTest's XML reports of the running tier go here (TAV_RESULTS), one per test program run.
results_root="$root/${TAV_BUILD:-build}/test-results"
tier() {
  local name=$1; shift
  echo; echo "=== $name ==="
  local start=$SECONDS ok=1 skipped
  export TAV_RESULTS="$results_root/$name"
  rm -rf "$TAV_RESULTS"; mkdir -p "$TAV_RESULTS"
  "$@" || ok=0
  if [ "$name" = fuzz ]; then
    skipped=0  # libFuzzer targets, no GoogleTest reports
  else
    python3 scripts/failures.py "$TAV_RESULTS"
    python3 scripts/skips.py "$TAV_RESULTS" > "$TAV_RESULTS/skips.txt" || ok=0
    head -n -1 "$TAV_RESULTS/skips.txt"
    skipped=$(tail -n 1 "$TAV_RESULTS/skips.txt")
  fi
  [[ "$skipped" =~ ^[0-9]+$ ]] || { skipped="?"; ok=0; }
  if [ $ok = 1 ]; then
    pass=$((pass + 1)); summary+=("$name: PASS ($((SECONDS - start)) s, $skipped skipped)")
  else
    fail=$((fail + 1)); summary+=("$name: FAIL ($((SECONDS - start)) s, $skipped skipped)")
  fi
}

build_all() { bash scripts/build.sh all 2>&1 | grep -vE '^\[ *[0-9]+%\]|^-- (Install|Up-to-date)' ; return "${PIPESTATUS[0]}"; }
if [ "${TAV_NO_BUILD:-0}" != 1 ] && ! build_all; then echo "build failed"; echo "tiers: 0 passed, 1 failed"; exit 1; fi

b="${TAV_BUILD:-build}"
dist="${TAV_DIST_DIR:-dist/Tavimbra}"
# One private Wine prefix for this run.
export TAV_WINEPREFIX="$root/$b/wine/run-$$"
source scripts/wine-env.sh 2>/dev/null
# A test that died while a folder was write-protected (chattr +i) would block the removal.
trap 'wineserver -k >/dev/null 2>&1; chattr -R -i "$TAV_WINEPREFIX" >/dev/null 2>&1; rm -rf "$TAV_WINEPREFIX"' EXIT
export TAV_DIST=$(tav_winpath "$dist")
# The second UI face of the layout tests (scripts/setup.sh puts it there).
export TAV_SECOND_UI_FONT=$(tav_winpath "$b/fonts/NotoSansCJK-Regular.ttc")
export b
# The long hostile-folder run's crowded texts\ (TAV_HOSTILE_FILES files), made here once and kept
# for later runs: made through Wine it takes nearly half an hour (see hostile_folders_e2e.cpp).
if [ "${TAV_HOSTILE_FILES:-0}" -gt 3000 ] 2>/dev/null; then
  crowd="$root/$b/hostile-crowd-$TAV_HOSTILE_FILES"
  if [ "$(ls -U "$crowd" 2>/dev/null | wc -l)" != "$TAV_HOSTILE_FILES" ]; then
    rm -rf "$crowd"
    python3 - "$crowd" "$TAV_HOSTILE_FILES" <<'PY'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
os.makedirs(folder)
for i in range(count):
    with open(os.path.join(folder, "c%06d.txt" % i), "wb") as f:
        f.write(b"x\r\n")
PY
  fi
  export TAV_HOSTILE_CROWD=$(tav_winpath "$crowd")
fi

# Runs every test program given; all run even when one fails.
run_all() {
  local runner=$1 rc=0 t; shift
  for t in "$@"; do
    [ -e "$t" ] || { echo "no test program: $t"; rc=1; continue; }
    echo "--- $t"
    # A fresh report per run (a program may run more than once in a tier).
    $runner "$t" --gtest_brief=1 --gtest_output="xml:$(mktemp --suffix=.xml "$TAV_RESULTS/${t##*/}.XXXXXX")" || rc=1
    [ $rc = 0 ] || [ "$fail_fast" != 1 ] || break
  done
  return $rc
}
native() { "$@"; }
unit() {
  local rc=0
  run_all native "$b"/linux/tests/unit/*unit_tests "$b"/linux-asan/tests/unit/*unit_tests || rc=1
  echo "--- release files (dist/)"
  cmake -P tests/package/check_release.cmake || rc=1
  python3 tests/package/check_manifests.py --test-manifests || rc=1
  python3 tests/package/check_moment.py dist "${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}" || rc=1
  python3 tests/package/test_release_scripts.py || rc=1
  python3 tests/scripts/report_scripts_test.py || rc=1
  python3 tests/package/check_programs.py "$dist" "$b/windows" || rc=1
  return $rc
}
# Runs Wine programs in a fresh virtual screen (some tests make windows of their own).
# TAV_LOCALE (see wine-env.sh), TAV_DPI (the prefix's LogPixels for this run only) and
# TAV_GTEST_ARGS (e.g. a filter) vary a run.
under_screen() {
  tav_wine_prepare
  [ -n "${TAV_DPI:-}" ] && wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$TAV_DPI" /f >/dev/null 2>&1
  # Wine processes of an earlier tier must not serve this one (another display, locale or scale).
  wineserver -k >/dev/null 2>&1; wineserver -w
  local rc=0
  TAV_LOCALE="${TAV_LOCALE:-}" TAV_GTEST_ARGS="${TAV_GTEST_ARGS:-}" TAV_FAIL_FAST="$fail_fast" tav_in_screen '
    echo "(locale $LANG)"
    rc=0
    for t in "$@"; do
      [ -e "$t" ] || { echo "no test program: $t"; rc=1; continue; }
      echo "--- $t $TAV_GTEST_ARGS"
      # Named so skips.py lets a run narrowed by the caller hold no test.
      narrowed=""
      [ -n "$TAV_GTEST_ARGS" ] && [ "$TAV_GTEST_ARGS" = "$TAV_CALLER_ARGS" ] && narrowed=".caller-filter"
      report=$(mktemp --suffix="$narrowed.xml" "$TAV_RESULTS/${t##*/}.XXXXXX")
      wine "$t" --gtest_brief=1 --gtest_output="xml:$(tav_winpath "$report")" $TAV_GTEST_ARGS || rc=1
      [ $rc = 0 ] || [ "$TAV_FAIL_FAST" != 1 ] || break
    done
    return $rc' "$@" || rc=1
  if [ -n "${TAV_DPI:-}" ]; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1; wineserver -w
  fi
  return $rc
}
fuzz() { bash scripts/fuzz.sh "${TAV_FUZZ_SECONDS:-15}"; }
win() { under_screen "$b"/windows/tests/unit/*unit_tests.exe "$b"/windows/tests/win/*win_tests.exe; }
e2e() {
  local rc=0 launcher="$b"/windows/tests/e2e/launcher_e2e_tests.exe
  under_screen "$b"/windows/tests/e2e/*e2e_tests.exe || rc=1
  [ $rc = 0 ] || [ "$fail_fast" != 1 ] || return $rc
  # The launcher's road once more in an English locale (code page 1252), and at 144 dpi; the
  # settings window's font face in the English locale too.
  TAV_LOCALE=en_US TAV_EXPECT_ACP=1252 TAV_GTEST_ARGS=--gtest_filter='LauncherAnyLocaleAndScale.*' under_screen "$launcher" || rc=1
  [ $rc = 0 ] || [ "$fail_fast" != 1 ] || return $rc
  TAV_LOCALE=en_US TAV_EXPECT_ACP=1252 TAV_GTEST_ARGS=--gtest_filter='Form1AnyCodePage.*' \
    under_screen "$b"/windows/tests/e2e/settings_e2e_tests.exe || rc=1
  [ $rc = 0 ] || [ "$fail_fast" != 1 ] || return $rc
  TAV_DPI=144 TAV_EXPECT_DPI=144 TAV_GTEST_ARGS=--gtest_filter='LauncherAnyLocaleAndScale.*:LauncherDpiChange.*' \
    under_screen "$launcher" || rc=1
  return $rc
}

tiers=("$@")
[ ${#tiers[@]} -eq 0 ] && tiers=(unit fuzz win e2e)
for t in "${tiers[@]}"; do
  tier "$t" "$t"
  [ "$fail" -eq 0 ] || [ "$fail_fast" != 1 ] || break
done

echo
printf '%s\n' "${summary[@]}"
echo "tiers: $pass passed, $fail failed"
[ "$fail" -eq 0 ]
