#!/usr/bin/env bash
# Command list at scale: builds the list from 100,000 command files and completes keystrokes,
# against a sorted combo box searched with CB_FINDSTRING. Runs under Wine in a virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."
count="${1:-100000}"
bash scripts/setup.sh
bash scripts/build.sh windows >/dev/null
b="${TAV_BUILD:-build}"
folder="$b/bench-texts-$count"
[ -d "$folder" ] || python3 bench/make_texts.py "$folder" "$count"
export TAV_WINEPREFIX="$(pwd)/$b/wine/bench"
source scripts/wine-env.sh 2>/dev/null
tav_wine_prepare
wineserver -k >/dev/null 2>&1 || true
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  source scripts/wine-env.sh 2>/dev/null
  wine "$1" "$(tav_winpath "$2")" "$3"; rc=$?
  wineserver -k >/dev/null 2>&1; exit $rc' _ "$b/windows/bench/launcher_list_bench.exe" "$folder" "$count"
