#!/usr/bin/env bash
# Runs every test tier and prints one line per tier:
#   unit  native GoogleTest, plain and under AddressSanitizer + UBSan (and the same tests under Wine)
#   fuzz  every libFuzzer target for TAV_FUZZ_SECONDS (default 15) seconds (scripts/fuzz.sh)
#   win   Windows backends and platform agreement, under Wine in a Japanese locale (code page 932)
#   e2e   the real programs driven in a virtual screen (Wine + Xvfb)
# Exits non-zero when any tier fails. Name tiers to run only those: scripts/test.sh unit e2e
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/setup.sh || { echo "setup failed"; exit 1; }

pass=0 fail=0 summary=()
tier() {
  local name=$1; shift
  echo; echo "=== $name ==="
  local start=$SECONDS
  if "$@"; then
    pass=$((pass + 1)); summary+=("$name: PASS ($((SECONDS - start)) s)")
  else
    fail=$((fail + 1)); summary+=("$name: FAIL ($((SECONDS - start)) s)")
  fi
}

build_all() { bash scripts/build.sh all 2>&1 | grep -vE '^\[ *[0-9]+%\]|^-- (Install|Up-to-date)' ; return "${PIPESTATUS[0]}"; }
if ! build_all; then echo "build failed"; echo "tiers: 0 passed, 1 failed"; exit 1; fi

b="${TAV_BUILD:-build}"
dist="${TAV_DIST_DIR:-dist/Tavimbra}"
# One private Wine prefix for this run.
export TAV_WINEPREFIX="$root/$b/wine/run-$$"
source scripts/wine-env.sh 2>/dev/null
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$TAV_WINEPREFIX"' EXIT
export TAV_DIST=$(tav_winpath "$dist")
export b

# Runs every test program given; all run even when one fails.
run_all() {
  local runner=$1 rc=0 t; shift
  for t in "$@"; do
    [ -e "$t" ] || continue
    echo "--- $t"
    $runner "$t" --gtest_brief=1 || rc=1
  done
  return $rc
}
native() { "$@"; }
unit() {
  run_all native "$b"/linux/tests/unit/*unit_tests "$b"/linux-asan/tests/unit/*unit_tests
}
# Runs Wine programs in a fresh virtual screen (some tests make windows of their own).
under_screen() {
  tav_wine_prepare
  # Wine processes of an earlier tier must not serve this one (another display).
  wineserver -k >/dev/null 2>&1; wineserver -w
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    source scripts/wine-env.sh 2>/dev/null
    rc=0
    for t in "$@"; do
      [ -e "$t" ] || continue
      echo "--- $t"
      wine "$t" --gtest_brief=1 || rc=1
    done
    wineserver -k >/dev/null 2>&1; exit $rc' _ "$@"
}
fuzz() { bash scripts/fuzz.sh "${TAV_FUZZ_SECONDS:-15}"; }
win() { under_screen "$b"/windows/tests/unit/*unit_tests.exe "$b"/windows/tests/win/*win_tests.exe; }
e2e() { under_screen "$b"/windows/tests/e2e/*e2e_tests.exe; }

tiers=("$@")
[ ${#tiers[@]} -eq 0 ] && tiers=(unit fuzz win e2e)
for t in "${tiers[@]}"; do tier "$t" "$t"; done

echo
printf '%s\n' "${summary[@]}"
echo "tiers: $pass passed, $fail failed"
[ "$fail" -eq 0 ]
