#!/usr/bin/env bash
# Installs what building and testing need on Debian (as root, or through sudo). Safe to re-run.
set -euo pipefail
packages=(
  cmake make g++ googletest             # native build and unit tests
  g++-mingw-w64-x86-64                  # Windows cross build
  wine wine64                           # running the Windows programs
  xvfb xauth x11-utils                            # a virtual screen for the end-to-end tests
  locales                               # ja_JP.UTF-8 (made privately by scripts/wine-env.sh)
  fonts-ipafont-gothic                  # Japanese glyphs under Wine
  fonts-dejavu-core                     # Western faces for the box font tests
  python3-fonttools                     # stand-in Japanese faces for the font fallback tests
  imagemagick                           # screenshots of the virtual screen
  libbenchmark-dev                      # micro-benchmarks (bench/)
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
