#!/usr/bin/env bash
# Makes every picture of the manual from the real program:
#   scripts/manual-pictures.sh OUTDIR
# Builds Trellan.exe and its test driver in $TRELLAN_BUILD_DIR/win32 (default
# build/), runs the program under Wine in a prefix of its own
# ($TRELLAN_BUILD_DIR/picture-prefix) on a private Xvfb, and takes pictures
# of its dialog and boxes; the site it generates there is then photographed
# in Chromium, and so is the report of "Website prüfen..." on that site
# after a few planted faults; last the question of "Menü in Website
# übernehmen..." on it. The pictures are made to come out the same on every run: a
# fixed screen, no blinking caret, no mouse pointer, PNG files without time
# stamps. At the end the folder holds exactly the pictures that
# manual/pictures.txt lists.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
out="${1:?usage: scripts/manual-pictures.sh OUTDIR}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

source "$root/scripts/steps.sh"

say "building Trellan.exe and the test driver in $build/win32"
step "configuring $build/win32" "are cmake and MinGW installed? scripts/install-deps.sh run" \
  cmake -S "$root" -B "$build/win32" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake"
step "building Trellan, trellan_drive and trellan_probe in $build/win32" "read the compiler's message" \
  ninja -j2 -C "$build/win32" Trellan trellan_drive trellan_probe
exe="$build/win32/app/Trellan.exe"
drive="$build/win32/tests/driver/trellan_drive.exe"
export TRELLAN_PROBE_DLL="$build/win32/tests/driver/trellan_probe.dll"

# The prefix and its display are the pictures' own: a user's X display or
# window manager would change sizes and positions.
export TRELLAN_WINEPREFIX="$build/picture-prefix"
source "$root/scripts/wine-env.sh"
# A learner's account, and Windows in German: the boxes then carry the
# button texts a school PC shows ("Ja", "Nein", "Abbrechen"). Wine takes
# the language from LC_ALL without the system having that locale.
export USER=Lernende
german=(env LC_ALL=de_CH.UTF-8)
unset DISPLAY
display_prefixes=("$WINEPREFIX")
source "$root/scripts/xvfb.sh"
# The prefix's Wine server stays while the pictures are taken: it and Wine's
# own processes must start on the private display.
say "preparing the Wine prefix $WINEPREFIX"
step "creating the Wine prefix $WINEPREFIX" "is wine32:i386 installed? scripts/install-deps.sh run" "$root/scripts/wine-prefix.sh"
reply="$(mktemp)"
shot="$(mktemp --suffix=.png)"
trap 'rm -f "$reply" "$shot"; stop_private_display' EXIT

# A caret that never blinks, so that a picture never catches it half-way.
step "setting the caret blink rate in the prefix" "delete $WINEPREFIX and try again" \
  "${german[@]}" wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /t REG_SZ /d -1 /f
# Every run starts as on a new PC: no stored form, no site on the desktop.
"${german[@]}" wine reg delete 'HKCU\Software\Harwick' /f >/dev/null 2>&1 || true
desktop="$(find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -name Desktop ! -path '*/Public/*' | head -n 1)"
[ -n "$desktop" ] || fail "the prefix has no desktop folder"
site="$desktop/CSS-Musterseite"
rm -rf "$site"

# Runs the driver and prints its answer (the program inherits the driver's
# output and keeps it open, so the answer goes through a file).
drive() {
  timeout 60 "${german[@]}" wine "$drive" "$@" >"$reply" || { cat "$reply"; fail "trellan_drive $*"; }
  tr -d '\r' <"$reply"
}

# Takes the window whose frame the driver printed ("<kind> x y w h").
picture() {
  local name="$1" kind x y width height
  read -r kind x y width height <<<"$2"
  [ "$kind" = dialog ] || [ "$kind" = box ] || fail "no window to take for $name (driver said: $2)"
  sleep 0.5  # Wine paints after the box's loop has started
  import -window root -crop "${width}x${height}+${x}+${y}" +repage "$shot"
  convert "$shot" -strip -define png:exclude-chunks=date,time "$out/$name"
  say "$name (${width}x${height})"
}

say "taking the program's windows"
picture dialog.png "$(drive show "$exe")"
picture info.png "$(drive help)"
drive answer 1 >/dev/null
# The first OK writes the whole sample site.
picture fertig.png "$(drive press 1)"
drive answer 1 >/dev/null
# A second OK finds the site (the dialog was opened before it existed).
picture ueberschreiben.png "$(drive press 1)"
drive answer 2 >/dev/null  # Abbrechen: nothing is written
# Opened again, the dialog finds the site and starts in CSS-only mode. A
# style sheet that another program holds open cannot be written: the run
# ends with the failure notice.
drive end >/dev/null
drive show "$exe" >/dev/null
picture fehler.png "$(drive press 1 "$site/style.css")"
drive answer 1 >/dev/null
drive end >/dev/null

say "taking the generated site in Chromium"
[ -f "$site/s02.html" ] || fail "the program wrote no site into $site"
"$root/tests/browser/node_modules/.bin/node" "$root/manual/site-pictures.mjs" "$site" "$shot.site" || fail "the site's pictures (see above)"
for taken in "$shot.site"/*.png; do
  convert "$taken" -strip -define png:exclude-chunks=date,time "$out/$(basename "$taken")"
  say "$(basename "$taken")"
done
rm -rf "$shot.site"

# "Website prüfen..." on the site after a learner's usual slips, one of
# each: a menu link in the wrong case, a photo named with a space and shown
# without alt, a page renamed that the menu still names. The report opens
# in no browser here (Wine's launcher gets none to start); Chromium takes
# its picture.
say "checking the site with planted faults"
sed -i 's|<a href="s03.html">|<a href="S03.html">|' "$site/s02.html"
cp "$site/media/matterhorn.jpg" "$site/media/Ferien Foto.jpg"
sed -i '0,/<\/h1>/s||</h1>\r\n<p><img src="media/Ferien Foto.jpg"></p>|' "$site/s03.html"
mv "$site/s05.html" "$site/impressum.html"
step "keeping Wine's browser launcher from starting a browser" "delete $WINEPREFIX and try again" \
  "${german[@]}" wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d none /f
drive show "$exe" >/dev/null
picture pruefen.png "$(drive menu 115)"
drive answer 1 >/dev/null
drive end >/dev/null
wineserver -w
[ -f "$site/_Pruefbericht.html" ] || fail "the program wrote no report into $site"
"$root/tests/browser/node_modules/.bin/node" "$root/manual/site-pictures.mjs" --report \
  "$site/_Pruefbericht.html" "$shot.site" || fail "the report's picture (see above)"
convert "$shot.site/pruefbericht.png" -strip -define png:exclude-chunks=date,time "$out/pruefbericht.png"
say "pruefbericht.png"
rm -rf "$shot.site"

# "Website hochladen..." as a learner's first upload, to vsftpd with TLS
# on this machine (port 21, so that the dialog shows none) with the fixed
# certificate of manual/picture-ftp-server.pem, which Windows does not
# know: the dialog filled in, the question about the certificate, the
# closing notice. The servers need root.
say "uploading the site to an FTP server on this machine"
servers="$build/picture-ftp"
TRELLAN_FTP_CERT="$root/manual/picture-ftp-server.pem" TRELLAN_FTP_TLS_PORT=21 \
  "$root/tests/wine/tools/ftp-servers.sh" start "$servers" >/dev/null
trap 'rm -f "$reply" "$shot"; "$root/tests/wine/tools/ftp-servers.sh" stop "$servers" >/dev/null; stop_private_display' EXIT
[ ! -f "$servers.skip" ] || fail "the FTP server for the upload's pictures did not start: $(cat "$servers.skip")" \
  "run this as root after scripts/install-deps.sh test, with port 21 free"
drive show "$exe" >/dev/null
upload_dialog="$(drive menu 118)"
drive type 201 localhost >/dev/null
drive type 203 lern >/dev/null
drive type 204 geheim >/dev/null
picture hochladen.png "$upload_dialog"
drive answer 1 >/dev/null
picture zertifikat.png "$(drive await Zertifikat)"
drive answer 6 >/dev/null
picture hochgeladen.png "$(drive await)"
drive answer 1 >/dev/null
drive end >/dev/null
wineserver -w

# "Menü in Website übernehmen..." with "Hobbys" before "Impressum", on the
# site with its disclaimer page back in place (the other planted faults do
# not touch the menu). Only the question is taken: the notice after the
# update names its backup by the time of day.
say "asking to take a changed menu into the site"
mv "$site/impressum.html" "$site/s05.html"
drive show "$exe" >/dev/null
drive text 104 'Start\nSeite 2\nSeite 3\nLinks & Media\nHobbys\nImpressum' >/dev/null
picture menue-frage.png "$(drive menu 116)"
drive answer 7 >/dev/null  # Nein: nothing changes
drive end >/dev/null

# Exactly the pictures the manual expects, no stale ones.
expected="$(grep -v -e '^#' -e '^$' "$root/manual/pictures.txt" | cut -d' ' -f1 | sort)"
made="$(cd "$out" && ls | sort)"
[ "$expected" = "$made" ] || fail "the pictures in $out differ from manual/pictures.txt:
$(diff <(echo "$expected") <(echo "$made") || true)"
say "all $(wc -l <<<"$made") pictures are in $out"
