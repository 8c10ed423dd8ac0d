#!/usr/bin/env bash
# The site check beside LinkChecker on real HTML that others wrote: the
# documentation that Debian packages ship (Sphinx, Doxygen, texinfo,
# DocBook, AsciiDoc and hand-written sites). For each folder it runs the
# check as check_site_folder does it (natively, built without sanitizers)
# and Debian's linkchecker (anchor check on, external links not checked,
# from the folder's start page), then prints the pages, each tool's broken
# links and missing #fragments, those only one tool has, and each tool's
# time and peak memory, and after the table every finding only one tool
# has, for a person to judge. Not part of the tests; as root, it installs
# what is missing. Its files are kept in $build/realsites.
#   scripts/realsites.sh [name ...]
# LinkChecker with its anchor check reads a page again for every
# #fragment that points into it, which takes hours on a large manual:
# TRELLAN_LINKCHECKER_SECONDS (default 600) stops it per folder, and the
# table marks the folders it did not finish; only the pages it reached are
# compared.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
out="$build/realsites"
source "$root/scripts/steps.sh"

# name|folder|start page
sites=(
  "python|/usr/share/doc/python3.11/html|index.html"
  "sphinx|/usr/share/doc/sphinx-doc/html|index.html"
  "doxygen|/usr/share/doc/doxygen/html|index.html"
  "jsoncpp|/usr/share/doc/libjsoncpp-doc|index.html"
  "bash|/usr/share/doc/bash-doc|bashref.html"
  "gettext|/usr/share/doc/gettext|index.html"
  "sqlite|/usr/share/doc/sqlite3|index.html"
  "debian-reference|/usr/share/debian-reference|index.en.html"
  "maint-guide|/usr/share/doc/maint-guide/html|index.en.html"
  "apache|/usr/share/doc/apache2-doc/manual|en/index.html"
  "git|/usr/share/doc/git-doc|index.html"
  "libxml2|/usr/share/doc/libxml2/html|index.html"
)
packages=(linkchecker time python3.11-doc sphinx-doc doxygen-doc libjsoncpp-doc bash-doc
          gettext-doc sqlite3-doc debian-reference-en maint-guide apache2-doc git-doc libxml2-doc)

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  step "updating the package lists" "check the network and the apt sources" \
    apt-get update -o DPkg::Lock::Timeout=600
  step "installing ${missing[*]}" "read apt's message" \
    env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi

tool_build="$build/realsites-build"
step "configuring a native build without sanitizers in $tool_build" "read CMake's message" \
  cmake -S "$root" -B "$tool_build" -G Ninja -DTRELLAN_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release
step "building check_site_folder" "read the compiler's message" \
  ninja -C "$tool_build" check_site_folder
tool="$tool_build/tests/native/check_site_folder"

mkdir -p "$out"
printf '[AnchorCheck]\n' >"$out/linkcheckerrc"
chosen=("$@")
selected=()
for site in "${sites[@]}"; do
  IFS='|' read -r name folder start <<<"$site"
  if [ ${#chosen[@]} -gt 0 ] && [[ ! " ${chosen[*]} " == *" $name "* ]]; then continue; fi
  selected+=("$site")
  echo "== $name: $folder" >&2
  /usr/bin/time -f '%e %M' -o "$out/$name.ours.time" "$tool" "$folder" >"$out/$name.ours.txt"
  # LinkChecker exits 1 when it found broken links; it runs as nobody
  # when started as root, so from a folder anyone may enter.
  (cd / && /usr/bin/time -f '%e %M' -o "$out/$name.theirs.time" \
    timeout --signal=INT --kill-after=60 "${TRELLAN_LINKCHECKER_SECONDS:-600}" \
    linkchecker -f "$out/linkcheckerrc" --no-status -v -o csv "file://$folder/$start" \
    >"$out/$name.theirs.csv" 2>"$out/$name.theirs.err") || true
done
python3 "$root/scripts/realsites-compare.py" "$out" "${selected[@]}"
