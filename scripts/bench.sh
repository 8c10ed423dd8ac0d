#!/usr/bin/env bash
# Builds and runs a benchmark under Wine and prints its medians:
#   scripts/bench.sh [runs]              a whole generation run (to the closing
#                                        notice) next to the time a minimal
#                                        writer needs for the same bytes
#   scripts/bench.sh --sitecheck [runs]  the site check over folders on disk:
#                                        100 pages and 1,000 pictures, a 20 MB
#                                        page, tags nested 100,000 deep
#   scripts/bench.sh --siteupdate [runs] the menu update over 20 pages of
#                                        100 KB: read, planned, backed up and
#                                        written
#   scripts/bench.sh --upload [runs]     the upload of 100 files, 5 MB, to
#                                        vsftpd on 127.0.0.1 with and without
#                                        TLS, beside lftp's "mirror -R" in the
#                                        same run, and a second upload with
#                                        nothing changed
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
source "$root/scripts/steps.sh"
"$root/scripts/install-deps.sh" run
step "configuring the Windows build in $build/win32" "read CMake's message; deleting $build/win32 starts afresh" \
  cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake"
bench=generate_bench
bench=generate_bench
case "${1:-}" in
  --sitecheck) bench=sitecheck_bench; shift ;;
  --siteupdate) bench=siteupdate_bench; shift ;;
  --upload)
    bench=upload_bench
    shift
    "$root/scripts/install-deps.sh" test
    ;;
esac
step "building the benchmark" "read the compiler's message" ninja -j2 -C "$build/win32" "$bench"
export TRELLAN_WINEPREFIX="$build/win32/wineprefix"
display_prefixes=("$TRELLAN_WINEPREFIX")
source "$root/scripts/xvfb.sh"
if [ "$bench" != upload_bench ]; then
  "$root/scripts/wine-run.sh" "$build/win32/tests/wine/$bench.exe" "${1:-21}"
  exit
fi

# The upload: the servers of the upload tests, a site of 100 files (a fifth
# of them in media/) of 5 MiB in all, and each run uploading it anew into
# a folder of its own, by Trellan and by lftp in turn.
runs="${1:-5}"
servers="$build/win32/bench-ftp"
"$root/tests/wine/tools/ftp-servers.sh" start "$servers" >/dev/null
trap '"$root/tests/wine/tools/ftp-servers.sh" stop "$servers" >/dev/null' EXIT
[ ! -f "$servers.skip" ] || fail "the FTP servers did not start: $(cat "$servers.skip")" \
  "run the benchmark as root after scripts/install-deps.sh test"
site="$servers/site"
mkdir -p "$site/media"
total=$((5 * 1024 * 1024))
for i in $(seq 1 100); do
  name="seite$i.html"
  [ "$i" -gt 80 ] && name="media/bild$i.jpg"
  size=$((total / 100))
  [ "$i" -eq 100 ] && size=$((total - 99 * (total / 100)))
  head -c "$size" /dev/urandom >"$site/$name"
done
port() { awk -v name="$1" '$1 == name {print $2}' "$servers/servers.txt"; }
median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
lftp_upload() {  # MODE PORT FOLDER
  local settings="set ftp:ssl-allow no"
  [ "$1" = tls ] && settings="set ftp:ssl-force true; set ftp:ssl-protect-data true; set ssl:verify-certificate no"
  local start end
  start=$(date +%s%N)
  lftp -c "$settings; set net:max-retries 1; open -u lern,geheim -p $2 127.0.0.1; \
           mirror -R --no-perms --exclude-glob _ftp/ $site $3" >/dev/null ||
    fail "lftp could not upload" "look at $servers/*.log"
  end=$(date +%s%N)
  awk -v ns="$((end - start))" 'BEGIN {printf "%.1f", ns / 1000000}'
}
windows_site="Z:$(tr / '\\' <<<"$site")"
declare -A trellan lftp second
for run in $(seq 1 "$runs"); do
  for mode in tls plain; do
    server=vsftpd_plain
    [ "$mode" = tls ] && server=vsftpd_tls
    result="$("$root/scripts/wine-run.sh" "$build/win32/tests/wine/upload_bench.exe" \
              "$windows_site" "$(port $server)" "$mode" "www/trellan-$run")" ||
      fail "Trellan's upload failed: $result" "look at $servers/$server.log"
    read -r files ms unchanged_sent second_ms <<<"$result"
    [ "$files" = 100 ] && [ "$unchanged_sent" = 0 ] || fail "Trellan sent $files files, then $unchanged_sent" ""
    trellan[$mode]+="$ms "
    second[$mode]+="$second_ms "
    lftp[$mode]+="$(lftp_upload "$mode" "$(port $server)" "www/lftp-$run") "
  done
done
echo "upload of 100 files, $total bytes, to vsftpd on 127.0.0.1; medians of $runs runs"
printf '%-8s %14s %14s %8s %22s\n' "" "Trellan (ms)" "lftp (ms)" "ratio" "no change, Trellan (ms)"
for mode in tls plain; do
  t="$(tr ' ' '\n' <<<"${trellan[$mode]}" | grep . | median)"
  l="$(tr ' ' '\n' <<<"${lftp[$mode]}" | grep . | median)"
  s="$(tr ' ' '\n' <<<"${second[$mode]}" | grep . | median)"
  printf '%-8s %14s %14s %8s %22s\n' "$mode" "$t" "$l" "$(awk -v t="$t" -v l="$l" 'BEGIN {printf "%.2f", t / l}')" "$s"
done
