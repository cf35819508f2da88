#!/usr/bin/env bash
# Builds the native unit tests (plain and sanitized) and the Windows programs, and lays out
# the installation folder dist/Tavimbra.
set -euo pipefail
cd "$(dirname "$0")/.."
what="${1:-all}"
if [ "$what" = all ] || [ "$what" = linux ]; then
  cmake --preset linux >/dev/null
  cmake --build --preset linux
  cmake --preset linux-asan >/dev/null
  cmake --build --preset linux-asan
fi
if [ "$what" = all ] || [ "$what" = windows ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows
  cmake --build --preset windows --target install >/dev/null
fi
