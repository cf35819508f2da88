#!/usr/bin/env bash
# Builds the native unit tests (plain and sanitized) and the Windows programs, lays out
# the installation folder and writes the release files (zip, installer, manifests) into
# dist/. TAV_BUILD (default build/) and TAV_DIST_DIR (default dist/Tavimbra) let several
# working copies of the build live side by side. "release" builds only what ships (the
# programs, the installer, the zip and the manifests), for the addresses in the environment:
#   TAVIMBRA_HOMEPAGE=https://... TAVIMBRA_DOWNLOAD_URL=https://.../v{version}/{file} \
#     bash scripts/build.sh release
# (optional: TAVIMBRA_RELEASE_NOTES_URL, TAVIMBRA_RELEASES_URL, TAVIMBRA_LICENSE_URL; each
# defaults to an address below the home page). TAV_ALLOW_PLACEHOLDERS=1 makes a test release
# with the development builds' placeholder addresses, which must never be published.
# TAV_RELEASE_DIST (default dist/) is where a release writes its files.
set -euo pipefail
cd "$(dirname "$0")/.."
what="${1:-all}"
b="${TAV_BUILD:-build}"
dist="${TAV_DIST_DIR:-dist/Tavimbra}"
release_dist="${TAV_RELEASE_DIST:-dist}"
jobs="${TAV_JOBS:-2}"

# A placeholder address: none, or a host reserved for examples and tests (RFC 2606, RFC 6761).
placeholder() {
  local host
  host=$(printf '%s' "$1" | sed -nE 's#^[A-Za-z][A-Za-z0-9+.-]*://([^/:?#]*).*#\1#p' | tr 'A-Z' 'a-z')
  host=${host%.}
  [ -z "$host" ] && return 0
  case ".$host" in
    *.invalid|*.test|*.example|*.localhost|*.example.com|*.example.net|*.example.org) return 0 ;;
  esac
  return 1
}
release_addresses=()
if [ "$what" = release ]; then
  # Before anything is built: the manifests must point where the files will be.
  missing=()
  for v in TAVIMBRA_HOMEPAGE TAVIMBRA_DOWNLOAD_URL TAVIMBRA_RELEASE_NOTES_URL TAVIMBRA_RELEASES_URL \
           TAVIMBRA_LICENSE_URL; do
    value="${!v:-}"
    case $v in TAVIMBRA_HOMEPAGE|TAVIMBRA_DOWNLOAD_URL) ;; *) [ -z "$value" ] && continue ;; esac
    if [ "${TAV_ALLOW_PLACEHOLDERS:-0}" = 1 ]; then
      [ -n "$value" ] && release_addresses+=("-D$v=$value")
      continue
    fi
    if placeholder "$value"; then
      missing+=("$v${value:+ (placeholder: $value)}")
    else
      release_addresses+=("-D$v=$value")
    fi
  done
  if [ -n "${TAVIMBRA_DOWNLOAD_URL:-}" ] && [[ "$TAVIMBRA_DOWNLOAD_URL" != *"{file}"* ]]; then
    missing+=("TAVIMBRA_DOWNLOAD_URL without {file} (every file would get the same address)")
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "build.sh release: the release's addresses are missing or placeholders:" >&2
    printf '  %s\n' "${missing[@]}" >&2
    echo "Set them in the environment, e.g. TAVIMBRA_HOMEPAGE=https://github.com/<owner>/tavimbra" \
         "TAVIMBRA_DOWNLOAD_URL='https://github.com/<owner>/tavimbra/releases/download/v{version}/{file}'." >&2
    exit 2
  fi
  [ "${TAV_ALLOW_PLACEHOLDERS:-0}" = 1 ] && echo "build.sh release: TEST release with placeholder addresses; do not publish it"
fi

# One moment for every timestamp of the build and the package: the last commit's, of this tree's
# own repository only (git looks upwards, into a checkout this tree may be unpacked in).
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ] &&
   epoch=$(git log -1 --format=%ct 2>/dev/null); then
  export SOURCE_DATE_EPOCH=$epoch
fi
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
  # A folder of its own, where installing and packing do not build the tests first. Flags from
  # the environment never reach a release (CMake would take them in at a first configure), and
  # --fresh drops whatever an earlier configure kept.
  unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS RCFLAGS
  mkdir -p "$release_dist"
  cmake --preset windows --fresh -B "$b/release" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
        "-DTAVIMBRA_DIST_DIR=$(cd "$release_dist" && pwd)" \
        ${release_addresses[@]+"${release_addresses[@]}"} >/dev/null
  cmake --build "$b/release" -j "$jobs" --target Tavimbra Tavimset kovrand tavimbra_setup
  cmake --install "$b/release" --prefix "$dist" >/dev/null
  (cd "$b/release" && cpack --config CPackConfig.cmake)
  checks=()
  [ "${TAV_ALLOW_PLACEHOLDERS:-0}" = 1 ] && checks+=(--test-manifests)
  python3 tests/package/check_manifests.py ${checks[@]+"${checks[@]}"} "$release_dist"
fi
