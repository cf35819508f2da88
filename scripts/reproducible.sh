#!/usr/bin/env bash
# Builds the Windows release of the current commit twice, from two clean clones in folders of
# different names and depths, and compares the SHA-256 of every release file: the zip, the
# installer, the three programs, the licence, the winget and Scoop manifests, the build
# information and SHA256SUMS. Exits non-zero when any differs, a clone's path shows up in a
# program, or a date in the release files is not the commit's.
#   bash scripts/reproducible.sh            (TAV_REPRO_KEEP=1 keeps the clones for a closer look)
# The second build meets what a contributor's machine may bring: a checkout with
# core.autocrlf=true, CXXFLAGS and LDFLAGS in the environment, another time zone and umask.
# Both build an empty commit on top of this one, dated 2001-02-03 and the same in both clones,
# so that the clock and the commit disagree on every date and a date from the clock shows.
# The manifests get the release addresses from TAVIMBRA_HOMEPAGE and TAVIMBRA_DOWNLOAD_URL
# when set, else the placeholders of a test release.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
commit=$(git rev-parse HEAD)
[ -z "$(git status --porcelain --untracked-files=no)" ] || echo "note: uncommitted changes are not part of this check"
work=$(mktemp -d "${TMPDIR:-/tmp}/tavimbra-repro.XXXXXX")
[ "${TAV_REPRO_KEEP:-0}" = 1 ] || trap 'rm -rf "$work"' EXIT
clones=("$work/a/Tavimbra" "$work/b/second/build-here/src")
if [ -z "${TAVIMBRA_HOMEPAGE:-}" ] || [ -z "${TAVIMBRA_DOWNLOAD_URL:-}" ]; then
  export TAV_ALLOW_PLACEHOLDERS=1
fi
dated="2001-02-03T04:05:06Z"

for i in 0 1; do
  dir=${clones[$i]}
  echo "--- building $commit in $dir"
  if [ "$i" = 0 ]; then
    git clone -q --no-checkout "$root" "$dir"
  else
    git clone -q --no-checkout -c core.autocrlf=true "$root" "$dir"
  fi
  git -C "$dir" checkout -q "$commit"
  GIT_AUTHOR_DATE=$dated GIT_COMMITTER_DATE=$dated git -C "$dir" -c user.name=reproducible \
    -c user.email=reproducible@tavimbra.invalid commit -q --allow-empty -m "reproducible.sh: dated $dated"
  start=$SECONDS
  # Nothing of this shell's clock or settings: build.sh takes the commit's time.
  if [ "$i" = 0 ]; then
    (cd "$dir" && env -u SOURCE_DATE_EPOCH TZ=UTC bash scripts/build.sh release >"$dir/../build.log" 2>&1) || {
      tail -30 "$dir/../build.log"; echo "build in $dir failed"; exit 1; }
  else
    (cd "$dir" && umask 0002 && env -u SOURCE_DATE_EPOCH TZ=Asia/Tokyo CXXFLAGS="-O0 -g3" CFLAGS="-O0" \
       LDFLAGS="-Wl,--build-id=sha1" bash scripts/build.sh release >"$dir/../build.log" 2>&1) || {
      tail -30 "$dir/../build.log"; echo "build in $dir failed"; exit 1; }
  fi
  echo "    $((SECONDS - start)) s"
done

version=$(sed -n 's/^project(Tavimbra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
files=("Tavimbra-$version-win64.zip" "Tavimbra-$version-setup.exe" "Tavimbra-$version.buildinfo" SHA256SUMS
       Tavimbra/Tavimbra.exe Tavimbra/Tavimset.exe Tavimbra/plugins/kovrand/kovrand.exe Tavimbra/LICENSE
       "winget/Tavimbra.Tavimbra/$version/Tavimbra.Tavimbra.installer.yaml"
       "winget/Tavimbra.Tavimbra/$version/Tavimbra.Tavimbra.yaml"
       "winget/Tavimbra.Tavimbra/$version/Tavimbra.Tavimbra.locale.ja-JP.yaml"
       "winget/Tavimbra.Tavimbra/$version/Tavimbra.Tavimbra.locale.en-US.yaml"
       scoop/tavimbra.json)
rc=0
echo
printf '%-68s %-16s %-16s %s\n' file "first clone" "second clone" ""
for f in "${files[@]}"; do
  h1=$(sha256sum "${clones[0]}/dist/$f" 2>/dev/null | cut -c1-64) || h1=missing
  h2=$(sha256sum "${clones[1]}/dist/$f" 2>/dev/null | cut -c1-64) || h2=missing
  if [ "$h1" = "$h2" ] && [ "$h1" != missing ]; then verdict=same; else verdict=DIFFERENT; rc=1; fi
  printf '%-68s %-16.16s %-16.16s %s\n' "$f" "$h1" "$h2" "$verdict"
  [ "$f" = "${files[0]}" ] && zip_hash=$h1
done
for dir in "${clones[@]}"; do
  for exe in Tavimbra.exe Tavimset.exe plugins/kovrand/kovrand.exe; do
    if grep -qaF "$dir" "$dir/dist/Tavimbra/$exe"; then echo "$exe holds the path $dir"; rc=1; fi
  done
  python3 tests/package/check_moment.py "$dir/dist" "$(git -C "$dir" log -1 --format=%ct)" | sed "s#^#${dir#$work/}: #" \
    || rc=1
done
echo
if [ $rc -eq 0 ]; then
  echo "reproducible: both clones give the same ${#files[@]} files (SHA-256 of the zip: $zip_hash)"
else
  echo "NOT reproducible (clones kept in $work)"; trap - EXIT
fi
exit $rc
