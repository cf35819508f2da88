#!/usr/bin/env bash
# Builds the native unit tests (plain and sanitized) and the Windows programs, lays out
# the installation folder and writes the release files (zip, installer, manifests) into
# dist/. TAV_BUILD (default build/) and TAV_DIST_DIR (default dist/Tavimbra) let several
# working copies of the build live side by side.
set -euo pipefail
cd "$(dirname "$0")/.."
what="${1:-all}"
b="${TAV_BUILD:-build}"
dist="${TAV_DIST_DIR:-dist/Tavimbra}"
jobs="${TAV_JOBS:-2}"
if [ "$what" = all ] || [ "$what" = linux ]; then
  cmake --preset linux -B "$b/linux" >/dev/null
  cmake --build "$b/linux" -j "$jobs"
  cmake --preset linux-asan -B "$b/linux-asan" >/dev/null
  cmake --build "$b/linux-asan" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = windows ]; then
  cmake --preset windows -B "$b/windows" >/dev/null
  cmake --build "$b/windows" -j "$jobs"
  cmake --install "$b/windows" --prefix "$dist" >/dev/null
  cmake --build "$b/windows" --target package -j "$jobs"
fi
