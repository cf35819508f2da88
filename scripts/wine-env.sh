# Sourced by the scripts that run Windows programs: a private Wine prefix in Japanese locale.
# Usage: source scripts/wine-env.sh <prefix-name>
_tav_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${TAV_WINEPREFIX:-$_tav_root/build/wine/${1:-default}}"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono/Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The C library needs a UTF-8 locale for Japanese file names; make one privately. Japanese
# (code page 932) unless TAV_LOCALE names another, e.g. en_US (code page 1252).
_tav_locale="${TAV_LOCALE:-ja_JP}.UTF-8"
export LOCPATH="$_tav_root/build/locale"
if [ ! -d "$LOCPATH/$_tav_locale" ]; then
  mkdir -p "$LOCPATH"
  localedef -i "${_tav_locale%.UTF-8}" -f UTF-8 "$LOCPATH/$_tav_locale" >/dev/null 2>&1 || true
fi
export LANG=$_tav_locale LC_ALL=$_tav_locale
mkdir -p "$(dirname "$WINEPREFIX")"

# Windows form of a Unix path (Wine maps / to Z:).
tav_winpath() { printf 'Z:%s' "$(realpath "$1" | sed 's#/#\\#g')"; }

# Boots the prefix once and makes every window live in one virtual desktop (focus, tray).
tav_wine_prepare() {
  if [ ! -f "$WINEPREFIX/.tav-ready" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tav-ready"
  fi
}

# Runs body (bash code) in a fresh virtual screen (Xvfb), with this file sourced there again (a
# TAV_LOCALE given for the call takes effect there) and the further arguments as its $1, $2...;
# the Wine processes of that screen are ended after it. Returns body's status.
# TAV_SCREEN_DISPLAY=:N uses a virtual screen that stays on that display instead (made when not
# there yet), for a person to look at: DISPLAY=:N import -window root shot.png
tav_in_screen() {
  local body=$1; shift
  local screen=(xvfb-run -a -s "-screen 0 1024x768x24")
  if [ -n "${TAV_SCREEN_DISPLAY:-}" ]; then
    if ! xdpyinfo -display "$TAV_SCREEN_DISPLAY" >/dev/null 2>&1; then
      Xvfb "$TAV_SCREEN_DISPLAY" -screen 0 1024x768x24 >/dev/null 2>&1 &
      sleep 1
    fi
    screen=(env DISPLAY="$TAV_SCREEN_DISPLAY")
  fi
  TAV_WINEPREFIX="$WINEPREFIX" "${screen[@]}" bash -c '
    source "$1" 2>/dev/null
    eval "tav_body() { $2
}"
    shift 2
    tav_body "$@"; rc=$?
    wineserver -k >/dev/null 2>&1
    exit $rc' _ "$_tav_root/scripts/wine-env.sh" "$body" "$@"
}
