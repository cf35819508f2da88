#!/usr/bin/env bash
# Makes the README screenshots from the built programs, in a virtual screen under Wine:
#   docs/launcher.png            the launcher called up with Alt+O, "me" typed and completed
#   docs/settings.png            Tavimset (no argument): the "Tavimbra Config" window
#   docs/quick-registration.png  Tavimset given a file path: the quick registration window
# Builds first unless dist/Tavimbra already holds the programs (TAV_REBUILD=1 builds anyway).
# Runs in a private Wine prefix below build/wine/ and a copy of the installation folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "${1:-}" != "--in-screen" ]; then
  bash scripts/setup.sh
  command -v xdotool >/dev/null || { echo "xdotool is missing (scripts/setup.sh installs it)"; exit 1; }
  if [ -n "${TAV_REBUILD:-}" ] || [ ! -f dist/Tavimbra/Tavimbra.exe ] || [ ! -f dist/Tavimbra/Tavimset.exe ]; then
    bash scripts/build.sh windows
  fi
  source scripts/wine-env.sh 2>/dev/null
  tav_in_screen 'bash "$1" --in-screen' "$root/scripts/screenshots.sh"
  exit $?
fi

# --- inside the virtual screen ---
work="$root/build/screenshots"
export TAV_WINEPREFIX="$root/build/wine/screenshots-$$"
source scripts/wine-env.sh 2>/dev/null
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$TAV_WINEPREFIX"' EXIT
tav_wine_prepare

# The installation folder is a copy on the prefix's drive C:, so paths read C:\Tavimbra\...
inst="$WINEPREFIX/drive_c/Tavimbra"
rm -rf "$work" "$inst"
mkdir -p "$work" docs
cp -r dist/Tavimbra "$inst"
# A few more commands, Japanese names among them (a command file holds its line in code page 932).
printf 'notepad.exe\r\n' >"$inst/texts/メモ帳.txt"
printf 'calc.exe\r\n' >"$inst/texts/電卓.txt"
printf 'mspaint.exe\r\n' >"$inst/texts/ペイント.txt"
printf 'explorer.exe\r\n' >"$inst/texts/menu.txt"

shot() { import -window root "$1"; }

# Waits until the screen differs from $1 (a window appeared or changed), at most ~15 s.
wait_change() {
  local i
  for i in $(seq 1 30); do
    sleep 0.5
    shot "$work/now.png"
    [ "$(changed_box "$1" "$work/now.png")" != "0x0+0+0" ] && return 0
  done
  echo "nothing appeared on the screen" >&2
  return 1
}

# Bounding box (WxH+X+Y) of what differs between two screenshots, above the Wine desktop's
# taskbar (its buttons change with every window).
changed_box() {
  convert "$1" "$2" -crop 1024x740+0+0 +repage -compose difference -composite -fuzz 3% \
    -format '%@' info: 2>/dev/null || echo "0x0+0+0"
}

# Crops $3 to the box of what differs between $1 and $3, widened by $4 pixels, into $2.
crop_change() {
  local before=$1 out=$2 after=$3 margin=${4:-0} box w h x y
  box=$(changed_box "$before" "$after")
  IFS='x+' read -r w h x y <<<"$box"
  x=$((x - margin)); y=$((y - margin)); w=$((w + 2 * margin)); h=$((h + 2 * margin))
  ((x < 0)) && x=0
  ((y < 0)) && y=0
  # -strip: no timestamps in the file, so a rerun that sees the same pixels writes the same bytes.
  convert "$after" -crop "${w}x${h}+${x}+${y}" +repage -strip "$out"
  echo "$out: ${w}x${h} at +${x}+${y}"
}

cd "$inst"
wine Tavimbra.exe >/dev/null 2>&1 &
# The Wine desktop window comes up with the first program; give the launcher time to settle.
for i in $(seq 1 60); do
  xdotool search --name 'Wine desktop' >/dev/null 2>&1 && break
  sleep 0.5
done
sleep 4
desk=$(xdotool search --name 'Wine desktop' | head -1)
xdotool mousemove 1000 10 windowfocus --sync "$desk" 2>/dev/null || true
shot "$work/desktop.png"

# 1. The launcher: Alt+O, then "me", which completes to a command starting with "me".
xdotool key --clearmodifiers alt+o
wait_change "$work/desktop.png"
sleep 0.5
xdotool type --delay 150 me
sleep 1.5
shot "$work/launcher-full.png"
crop_change "$work/desktop.png" "$root/docs/launcher.png" "$work/launcher-full.png" 48
xdotool key Escape
sleep 1
shot "$work/desktop.png"

# 2. The settings program.
wine Tavimset.exe >/dev/null 2>&1 &
set_pid=$!
wait_change "$work/desktop.png"
sleep 3
shot "$work/settings-full.png"
crop_change "$work/desktop.png" "$root/docs/settings.png" "$work/settings-full.png" 0
kill "$set_pid" 2>/dev/null || true
wait "$set_pid" 2>/dev/null || true
sleep 2
shot "$work/desktop.png"

# 3. Quick registration, given a file of the installation folder.
wine Tavimset.exe 'C:\Tavimbra\Tavimbra.exe' >/dev/null 2>&1 &
reg_pid=$!
wait_change "$work/desktop.png"
sleep 3
shot "$work/quick-full.png"
crop_change "$work/desktop.png" "$root/docs/quick-registration.png" "$work/quick-full.png" 0
kill "$reg_pid" 2>/dev/null || true
