#!/usr/bin/env bash
# Builds the native unit tests (plain and sanitized) and the Windows programs, lays out
# the installation folder and writes the release files (zip, installer, manifests) into
# dist/. TAV_BUILD (default build/) and TAV_DIST_DIR (default dist/Tavimbra) let several
# working copies of the build live side by side. "release" builds only what ships (the
# programs, the installer, the zip and the manifests).
set -euo pipefail
cd "$(dirname "$0")/.."
# One moment for every timestamp of the build and the package: the last commit's.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && epoch=$(git log -1 --format=%ct 2>/dev/null); then
  export SOURCE_DATE_EPOCH=$epoch
fi
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
if [ "$what" = release ]; then
  # A folder of its own, where installing and packing do not build the tests first.
  cmake --preset windows -B "$b/release" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
  cmake --build "$b/release" -j "$jobs" --target Tavimbra Tavimset kovrand tavimbra_setup
  cmake --install "$b/release" --prefix "$dist" >/dev/null
  (cd "$b/release" && cpack --config CPackConfig.cmake)
fi
