#!/usr/bin/env bash
# Installs what is missing, builds, and starts the launcher from the demo installation folder
# dist/Tavimbra under Wine. Press Alt+O (or Alt+W) in the Wine desktop to call it up.
# Without a display it runs in a virtual screen (:77); look at it with
#   DISPLAY=:77 import -window root shot.png
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh windows
source scripts/wine-env.sh demo 2>/dev/null
tav_wine_prepare
echo "Demo installation folder: $(pwd)/dist/Tavimbra (Wine prefix $WINEPREFIX)"
if [ -n "${DISPLAY:-}" ]; then
  cd dist/Tavimbra
  exec wine Tavimbra.exe
fi
echo "No display: running in the virtual screen :77"
TAV_SCREEN_DISPLAY=:77 tav_in_screen 'cd "$1" && wine Tavimbra.exe' "$(pwd)/dist/Tavimbra"
