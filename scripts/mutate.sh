#!/usr/bin/env bash
# Mutation run: changes one product decision at a time (scripts/mutants.txt) in a scratch copy of
# the tree, builds it there and runs the win and e2e tiers on it. A mutant the tests catch is
# "killed" only when a test report names a failed test (printed with it); one they let through is
# "survived" and names a decision no test guards. A run that fails without a failed test in its
# reports (no test program, a timeout, a crash, a broken Wine prefix) is "undecided", and so is a
# test that failed in the tiers but passes when run again alone (a flaky test, not a kill).
#
#   bash scripts/mutate.sh              every mutant of the list
#   bash scripts/mutate.sh 3 7-9        mutants by number (their order in the list, from 1)
#   bash scripts/mutate.sh timer        mutants whose line in the list holds the word
#
# mutants.txt, one mutant a line, fields separated by " @@ ":
#   file @@ line as it stands @@ replacement [@@ program filter]
# The line is matched after trimming its indentation and must be found exactly once in the file
# ("file#2" takes its second occurrence); the replacement keeps the indentation. A mutant whose
# line is no longer found is "not applicable", never killed. The optional last field names a test
# program (as built, without .exe) and a GoogleTest filter expected to catch it: that run comes
# first, and only when it passes do the whole tiers run. Each mutant stops at its first failing
# test program (TAV_MUTANT_SECONDS, default 2400, bounds one mutant's tests). Not part of CI: a
# full run takes long. Exits non-zero when a mutant survived or was undecided.
# The scratch copy and its build stay in build/mutate/ for the next run (incremental builds).
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
list="$root/scripts/mutants.txt"
scratch="$root/${TAV_BUILD:-build}/mutate/tree"
log_dir="$root/${TAV_BUILD:-build}/mutate/logs"
per_mutant_limit="${TAV_MUTANT_SECONDS:-2400}"
# The scratch copy has no history: its builds take the moment of the tree's last commit.
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"

bash scripts/setup.sh >/dev/null || { echo "setup failed"; exit 1; }
mkdir -p "$scratch" "$log_dir"

# The tree as it stands, into the scratch copy. Files that differ get a fresh time, so a file
# left mutated by an interrupted run is built again once restored.
python3 - "$root" "$scratch" <<'PY'
import os, shutil, sys
root, scratch = sys.argv[1:3]
skip = {"build", "dist", ".git"}
def files(top):
    for d, dirs, names in os.walk(top):
        if d == top:
            dirs[:] = [x for x in dirs if x not in skip]
        for n in names:
            yield os.path.relpath(os.path.join(d, n), top)
def read(p):
    with open(p, "rb") as f:
        return f.read()
wanted = set(files(root))
for rel in wanted:
    src, dst = os.path.join(root, rel), os.path.join(scratch, rel)
    if not os.path.exists(dst):
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copy2(src, dst)  # its own time: a seeded build keeps what it made from it
    elif read(src) != read(dst):
        shutil.copyfile(src, dst)  # a fresh time: built again
for rel in set(files(scratch)) - wanted:
    os.remove(os.path.join(scratch, rel))
PY
mkdir -p "$scratch/build"
# The first run starts from the tree's own Windows build, moved over to the scratch paths, rather
# than building everything again.
main_build="$root/${TAV_BUILD:-build}/windows"
if [ ! -d "$scratch/build/windows" ] && [ -f "$main_build/CMakeCache.txt" ]; then
  echo "seeding the scratch build from $main_build"
  cp -a "$main_build" "$scratch/build/windows"
  # Each rewritten file keeps its time, or everything would count as out of date.
  grep -rlI --exclude='*.obj' --exclude='*.exe' --exclude='*.a' "$root" "$scratch/build/windows" |
    while IFS= read -r f; do
      sed -i "s#$root#$scratch#g" "$f" && touch -r "$main_build/${f#"$scratch/build/windows/"}" "$f"
    done
fi
[ -d "$scratch/build/fonts" ] || cp -r "$root/${TAV_BUILD:-build}/fonts" "$scratch/build/fonts" 2>/dev/null

build() {
  (cd "$scratch" &&
    cmake --preset windows -B build/windows >/dev/null &&
    cmake --build build/windows -j "${TAV_JOBS:-2}" &&
    cmake --install build/windows --prefix dist/Tavimbra >/dev/null)
}

# The hinted program alone, with its filter, under Wine in a virtual screen as the tiers run it;
# its report goes into the folder given.
run_hint() {
  local program=$1 filter=$2 reports=$3
  (cd "$scratch" && TAV_PROGRAM="$program" TAV_FILTER="$filter" TAV_REPORTS="$reports" timeout "$per_mutant_limit" bash -c '
    export TAV_WINEPREFIX="$PWD/build/wine/mutant-hint"
    source scripts/wine-env.sh 2>/dev/null
    tav_wine_prepare
    wineserver -k >/dev/null 2>&1; wineserver -w
    [ -n "${TAV_DPI:-}" ] && wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$TAV_DPI" /f >/dev/null 2>&1
    [ -n "${TAV_DPI:-}" ] || wine reg delete "HKCU\\Control Panel\\Desktop" /v LogPixels /f >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1; wineserver -w
    export TAV_DIST=$(tav_winpath dist/Tavimbra)
    export TAV_SECOND_UI_FONT=$(tav_winpath build/fonts/NotoSansCJK-Regular.ttc)
    exe=$(find build/windows/tests -name "$TAV_PROGRAM.exe" | head -n 1)
    [ -n "$exe" ] || { echo "no test program $TAV_PROGRAM"; exit 2; }
    report=$(tav_winpath "$TAV_REPORTS")\\$TAV_PROGRAM.xml
    tav_in_screen "wine \"\$1\" --gtest_brief=1 --gtest_filter=\"\$2\" --gtest_output=\"xml:\$3\"" "$exe" "$TAV_FILTER" "$report"')
}

# The tiers' reports, as scripts/test.sh writes them; none left from an earlier mutant.
tier_reports=("$scratch/build/test-results/win" "$scratch/build/test-results/e2e")
run_tiers() {
  rm -rf "${tier_reports[@]}"
  (cd "$scratch" && TAV_NO_BUILD=1 TAV_FAIL_FAST=1 timeout "$per_mutant_limit" bash scripts/test.sh win e2e)
}

# The first test the reports in the folders name as failed, as "program test", or nothing.
failed_test() {
  python3 "$root/scripts/failures.py" "$@" | sed -nE '1s/^failed: ([^ ]+) \(([^.)]+)[^)]*\).*/\2 \1/p'
}

# The hinted or failed program alone, with its filter, into a fresh report folder.
run_alone() {
  local reports=$1 program=$2 filter=$3; shift 3
  rm -rf "$reports"; mkdir -p "$reports"
  env "$@" bash -c "$(declare -f run_hint); scratch='$scratch' per_mutant_limit=$per_mutant_limit run_hint '$program' '$filter' '$reports'"
}

# Which mutants: numbers and ranges, or words.
selected() {
  local n=$1 line=$2 a
  [ $# -gt 2 ] || return 0
  shift 2
  for a in "$@"; do
    if [[ "$a" =~ ^[0-9]+$ ]]; then [ "$n" = "$a" ] && return 0
    elif [[ "$a" =~ ^([0-9]+)-([0-9]+)$ ]]; then
      [ "$n" -ge "${BASH_REMATCH[1]}" ] && [ "$n" -le "${BASH_REMATCH[2]}" ] && return 0
    elif [[ "$line" == *"$a"* ]]; then return 0
    fi
  done
  return 1
}

# Applies a mutant to the scratch copy: "ok", or why it cannot be.
apply() {
  python3 - "$scratch" "$1" "$2" "$3" <<'PY'
import sys
scratch, target, old, new = sys.argv[1:5]
path, _, nth = target.partition("#")
nth = int(nth) if nth else 0
try:
    with open(f"{scratch}/{path}", encoding="utf-8", newline="") as f:
        lines = f.readlines()
except OSError:
    print("not applicable: no file " + path); sys.exit()
hits = [i for i, l in enumerate(lines) if l.strip() == old.strip()]
if not hits or (nth and len(hits) < nth):
    print("not applicable: line no longer found"); sys.exit()
if len(hits) > 1 and not nth:
    print(f"not applicable: line found {len(hits)} times (name one: {path}#N)"); sys.exit()
i = hits[(nth or 1) - 1]
line = lines[i]
indent = line[: len(line) - len(line.lstrip())]
end = "\r\n" if line.endswith("\r\n") else "\n"
lines[i] = indent + new.strip() + end
with open(f"{scratch}/{path}", "w", encoding="utf-8", newline="") as f:
    f.writelines(lines)
print("ok")
PY
}

restore() { [ -n "${1:-}" ] && cp "$root/$1" "$scratch/$1"; }
current=""
trap 'restore "$current"' EXIT

echo "building the scratch copy (build/mutate/tree)"
if ! build > "$log_dir/build-base.log" 2>&1; then
  echo "the unchanged tree does not build: see $log_dir/build-base.log"
  exit 1
fi

killed=0 survived=0 undecided=0 skipped=0 n=0 results=()
while IFS= read -r line || [ -n "$line" ]; do
  [[ -z "${line// }" || "$line" =~ ^[[:space:]]*# ]] && continue
  n=$((n + 1))
  selected "$n" "$line" "$@" || continue
  IFS=$'\x1f' read -r file old new hint <<< "${line// @@ /$'\x1f'}"
  file="${file// }"
  name="#$n ${file%%#*}: ${old## } -> ${new## }"
  start=$SECONDS
  why=$(apply "$file" "$old" "$new")
  if [ "$why" != ok ]; then
    verdict="not applicable ($why)"; skipped=$((skipped + 1))
  else
    current="${file%%#*}"
    log="$log_dir/mutant-$n.log"
    if ! build > "$log" 2>&1; then
      verdict="not applicable (does not build: $log)"; skipped=$((skipped + 1))
    else
      verdict=""
      if [ -n "${hint// }" ]; then
        # Leading NAME=value words set the run's environment (a locale, a scale).
        read -r -a words <<< "$hint"
        envs=()
        while [ ${#words[@]} -gt 0 ] && [[ "${words[0]}" == *=* ]]; do envs+=("${words[0]}"); words=("${words[@]:1}"); done
        program=${words[0]:-} filter=${words[1]:-*}
        run_alone "$log_dir/mutant-$n-hint" "$program" "$filter" "${envs[@]}" >> "$log" 2>&1
        failed=$(failed_test "$log_dir/mutant-$n-hint")
        [ -n "$failed" ] && verdict="killed by ${envs[*]:+${envs[*]} }$failed"
      fi
      if [ -z "$verdict" ]; then
        run_tiers >> "$log" 2>&1; rc=$?
        failed=$(failed_test "${tier_reports[@]}")
        # The tiers' failure must come again with the test alone: a flaky test kills nothing.
        [ -n "$failed" ] && run_alone "$log_dir/mutant-$n-again" "${failed%% *}" "${failed#* }" >> "$log" 2>&1
        if [ -n "$failed" ] && [ -n "$(failed_test "$log_dir/mutant-$n-again")" ]; then verdict="killed by $failed"
        elif [ -n "$failed" ]; then verdict="UNDECIDED ($failed failed in the tiers but passed alone: see $log)"
        elif [ $rc = 0 ]; then verdict="SURVIVED"
        else verdict="UNDECIDED (the tiers failed with no failed test in their reports: see $log)"
        fi
      fi
      case $verdict in
        killed*) killed=$((killed + 1)) ;;
        SURVIVED) survived=$((survived + 1)) ;;
        *) undecided=$((undecided + 1)) ;;
      esac
    fi
    restore "$current"; current=""
  fi
  results+=("$name: $verdict ($((SECONDS - start)) s)")
  echo "${results[-1]}"
done < "$list"

# The scratch build back to the unchanged tree, for the next run.
build > "$log_dir/build-base.log" 2>&1
echo
echo "mutants: $killed killed, $survived survived, $undecided undecided, $skipped not applicable"
[ "$survived" -eq 0 ] && [ "$undecided" -eq 0 ]
