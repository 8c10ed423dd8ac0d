#!/usr/bin/env bash
# check_site_folder over a folder with a link that leads nowhere: the link
# is left out of the listing (so a page's link to it is a missing target),
# and the tool finishes instead of dying on it.
#   dangling_link_test.sh <check_site_folder>
set -euo pipefail
site="$(mktemp -d)"
trap 'rm -rf "$site"' EXIT
printf '<a href="weg.html">x</a>' >"$site/index.html"
ln -s "$site/nirgends.html" "$site/weg.html"
output="$("$1" "$site")"
grep -q $'^Fehler\tindex.html:1\tZiel fehlt\tweg.html$' <<<"$output" || {
  echo "expected the link to weg.html as a missing target; the tool printed:"
  echo "$output"
  exit 1
}
