#!/usr/bin/env bash
# Installs what building and testing need on Debian (as root, or through sudo). Safe to re-run.
set -euo pipefail
packages=(
  cmake make g++ googletest             # native build and unit tests
  clang libclang-rt-dev                 # fuzz targets (libFuzzer, AddressSanitizer, UBSan)
  g++-mingw-w64-x86-64                  # Windows cross build
  wine wine64                           # running the Windows programs
  xvfb xauth x11-utils                            # a virtual screen for the end-to-end tests
  locales                               # ja_JP.UTF-8 (made privately by scripts/wine-env.sh)
  fonts-ipafont-gothic                  # Japanese glyphs under Wine
  fonts-dejavu-core                     # Western faces for the box font tests
  python3-fonttools                     # stand-in Japanese faces for the font fallback tests
  imagemagick                           # screenshots of the virtual screen
  libbenchmark-dev                      # micro-benchmarks (bench/)
  xdotool                               # key presses for scripts/screenshots.sh
  nsis                                  # the per-user installer (makensis)
  python3 python3-yaml git              # release zip in a fixed order, manifest checks, reproducible.sh
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A second Japanese UI face, with taller lines than the IPA fonts, for the layout tests. The
# package file is only unpacked into the build folder and the test loads the face for itself,
# so no other program's font choice changes.
font_dir="$(cd "$(dirname "$0")/.." && pwd)/${TAV_BUILD:-build}/fonts"
tall_font="$font_dir/NotoSansCJK-Regular.ttc"
if [ ! -f "$tall_font" ]; then
  echo "Fetching the second UI font (fonts-noto-cjk, unpacked into $font_dir)"
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  ( cd "$tmp" && { apt-get download -qq fonts-noto-cjk 2>/dev/null ||
      { $sudo apt-get update -qq && apt-get download -qq fonts-noto-cjk; }; } )
  dpkg-deb -x "$tmp"/fonts-noto-cjk_*.deb "$tmp/x"
  mkdir -p "$font_dir"
  cp "$tmp/x/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc" "$tall_font"
fi
