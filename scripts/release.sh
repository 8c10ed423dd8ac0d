#!/usr/bin/env bash
# Builds the release of the current commit: dist/Trellan-<version>.zip with
# Trellan.exe, the manual Anleitung.html, its pictures in Anleitung-Bilder/
# and SHA256SUMS.txt.
#   scripts/release.sh           build it once
#   scripts/release.sh --check   build it twice, in two different folders,
#                                and prove that both zips are the same bytes
# The build starts from `git archive HEAD`, so uncommitted changes never get
# in. Everything in the zip is reproducible: the program carries no link
# time or build path, the pictures no time stamps, and the zip's entries
# have a fixed order, the commit's time, and fixed permissions.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

source "$root/scripts/steps.sh"

check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *) echo "usage: scripts/release.sh [--check]" >&2; exit 2 ;;
esac


version="$(git show HEAD:CMakeLists.txt |
           sed -n 's/^project(Trellan VERSION \([0-9.]*\).*/\1/p')"
[ -n "$version" ] || fail "no 'project(Trellan VERSION x.y.z.w' line in CMakeLists.txt of HEAD"
commit="$(git rev-parse --short HEAD)"
commit_time="$(git log -1 --format=%ct HEAD)"
zip_name="Trellan-$version.zip"
pictures="Anleitung-Bilder"

# The files the zip must hold, in the zip's order; $1 is the manual's list
# of pictures.
expected_files() {
  printf '%s\n' Trellan.exe Anleitung.html SHA256SUMS.txt
  grep -v -e '^#' -e '^$' "$1" | cut -d' ' -f1 | sed "s|^|$pictures/|" | LC_ALL=C sort
}

# Checks a finished zip: exactly the expected files, SHA256SUMS.txt matches
# them, and every local link and picture of the manual is inside.
verify_zip() {
  local zip="$1" src="$2" list="$2/manual/pictures.txt" unpacked
  unpacked="$(mktemp -d)"
  local listed
  listed="$(unzip -Z1 "$zip")" || fail "$zip is not a readable zip"
  if [ "$listed" != "$(expected_files "$list")" ]; then
    rm -rf "$unpacked"
    fail "$zip does not hold exactly the expected files (< expected, > in the zip):
$(diff <(expected_files "$list") <(echo "$listed") || true)"
  fi
  unzip -q "$zip" -d "$unpacked"
  local summed
  summed="$(cut -d' ' -f3- "$unpacked/SHA256SUMS.txt")"
  [ "$summed" = "$(grep -vx SHA256SUMS.txt <<<"$listed")" ] ||
    { rm -rf "$unpacked"; fail "SHA256SUMS.txt in $zip does not list every other file of the zip"; }
  (cd "$unpacked" && sha256sum --check --strict --quiet SHA256SUMS.txt) ||
    { rm -rf "$unpacked"; fail "a file of $zip does not match SHA256SUMS.txt"; }
  local references reference missing=()
  references="$("$src/tests/browser/node_modules/.bin/node" "$src/manual/references.mjs" "$unpacked/Anleitung.html")" ||
    { rm -rf "$unpacked"; fail "reading the references of Anleitung.html (see above)"; }
  while read -r reference; do
    [ -z "$reference" ] || [ -e "$unpacked/$reference" ] || missing+=("$reference")
  done <<<"$references"
  rm -rf "$unpacked"
  [ ${#missing[@]} -eq 0 ] ||
    fail "Anleitung.html in $zip refers to files the zip lacks: ${missing[*]}"
}

# Builds the zip of HEAD in folder $1 and leaves it there as $1/$zip_name.
build_release() {
  local dir="$1" started=$SECONDS
  local src="$dir/src" build="$dir/build" stage="$dir/stage"
  mkdir -p "$src" "$stage"
  say "exporting commit $commit into $src"
  step "exporting HEAD with git archive into $src" "is this a git checkout with a commit?" \
    bash -c 'git archive HEAD | tar -x -C "$1"' _ "$src"
  # The browser tools of the working tree serve when their lock file is the
  # commit's; otherwise the export installs its own.
  if cmp -s "$src/tests/browser/package-lock.json" tests/browser/package-lock.json &&
     [ -d tests/browser/node_modules ]; then
    ln -s "$root/tests/browser/node_modules" "$src/tests/browser/node_modules"
  else
    step "installing the browser tools in $src/tests/browser (npm ci)" \
      "check 'npm config get registry', the certificates and the network" \
      npm ci --prefix "$src/tests/browser" --ignore-scripts --no-audit --no-fund
  fi

  say "building Trellan.exe in $build/win32"
  step "configuring $build/win32" "read CMake's message" cmake -S "$src" -B "$build/win32" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-mingw-i686.cmake"
  step "building Trellan.exe in $build/win32" "read the compiler's message" ninja -j2 -C "$build/win32" Trellan
  "$src/scripts/check-exe.sh" "$build/win32/app/Trellan.exe" ||
    fail "Trellan.exe is not fit to ship (see above; scripts/check-exe.sh)"

  say "making the manual's pictures"
  TRELLAN_BUILD_DIR="$build" "$src/scripts/manual-pictures.sh" "$stage/$pictures" ||
    fail "making the manual's pictures (see above; scripts/manual-pictures.sh)"
  # The picture prefix is large and no longer needed.
  rm -rf "$build/picture-prefix" "$build/picture-prefix.home"

  cp "$build/win32/app/Trellan.exe" "$stage/Trellan.exe"
  cp "$src/manual/Anleitung.html" "$stage/Anleitung.html"
  local list="$src/manual/pictures.txt"
  (cd "$stage" && expected_files "$list" | grep -vx SHA256SUMS.txt | xargs sha256sum >SHA256SUMS.txt)
  # Fixed permissions and the commit's time on every entry, in UTC.
  find "$stage" -type d -exec chmod 755 {} +
  find "$stage" -type f -exec chmod 644 {} +
  find "$stage" -exec touch -h -d "@$commit_time" {} +
  (cd "$stage" && expected_files "$list" |
     step "packing $zip_name" "is the package zip installed? scripts/install-deps.sh release" env TZ=UTC zip -X -D -9 "$dir/$zip_name" -@)
  verify_zip "$dir/$zip_name" "$src"
  say "built $dir/$zip_name in $((SECONDS - started)) s"
  build_seconds=$((SECONDS - started))
}

"$root/scripts/install-deps.sh" release
git diff --quiet HEAD 2>/dev/null && git diff --cached --quiet HEAD 2>/dev/null ||
  say "note: uncommitted changes are not in the release, it is built from commit $commit"
work="$(mktemp -d /tmp/trellan-release.XXXXXX)"
# The build folders go when the script ends, unless two builds differ: then
# they are kept to be looked at.
keep_work=0
trap '[ $keep_work -eq 1 ] || rm -rf "$work"' EXIT
mkdir -p dist

if [ $check -eq 0 ]; then
  build_release "$work/build"
  cp "$work/build/$zip_name" "dist/$zip_name"
  say "dist/$zip_name ($(stat -c %s "dist/$zip_name") bytes) from commit $commit"
  exit 0
fi

# Two folders of different names and depths, so that a build path that got
# into any file would show.
build_release "$work/first"
first_seconds=$build_seconds
build_release "$work/second/build"
second_seconds=$build_seconds
a="$work/first/$zip_name" b="$work/second/build/$zip_name"
if ! cmp "$a" "$b"; then
  keep_work=1
  mkdir -p "$work/diff/a" "$work/diff/b"
  unzip -q "$a" -d "$work/diff/a"
  unzip -q "$b" -d "$work/diff/b"
  unzip -Zv "$a" >"$work/diff/a.list"
  unzip -Zv "$b" >"$work/diff/b.list"
  diff -r "$work/diff/a" "$work/diff/b" >&2 || true
  fail "the two builds differ: $a and $b (kept in $work; entries listed in $work/diff/*.list)"
fi
cp "$a" "dist/$zip_name"
say "first build: ${first_seconds} s, second build: ${second_seconds} s"
say "both zips are identical ($(sha256sum "dist/$zip_name" | cut -d' ' -f1)): dist/$zip_name, $(stat -c %s "dist/$zip_name") bytes, commit $commit"
