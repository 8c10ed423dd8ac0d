#!/bin/bash
# Regenerates the sample media files in generator/media/ from the sources in
# this folder. Needs Debian's python3-numpy, python3-pil, povray, ffmpeg and
# zopfli (and fonts-dejavu-core for the map labels). The program's build does
# not run this; it embeds the committed files.
#
#   make-media.sh [all|candle|matterhorn|karte]     (default: all)
#
# avatar.svg is drawn by hand and is its own source.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
media="$(dirname "$here")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
what="${1:-all}"
py=/usr/bin/python3

png_colour_type() {  # prints the IHDR colour type of a PNG
  od -An -j25 -N1 -tu1 "$1" | tr -d ' '
}

make_karte() {
  "$py" "$here/karte.py" "$work/karte_raw.png"
  zopflipng -y -m --filters=0me "$work/karte_raw.png" "$work/karte.png" >/dev/null
  # the map must stay 8-bit RGB; zopflipng would only pick a palette for <= 256 colours
  if [ "$(png_colour_type "$work/karte.png")" != 2 ]; then
    optipng -quiet -o7 -nc -nb -np -strip all -out "$work/karte.png" -clobber "$work/karte_raw.png"
  fi
  cp "$work/karte.png" "$media/karte.png"
}

make_matterhorn() {
  local m="$work/matterhorn"
  mkdir -p "$m"
  cp "$here/matterhorn.pov" "$m/"
  (cd "$m" &&
    nice -n 10 "$py" "$here/matterhorn_terrain.py" . &&
    nice -n 10 povray -D +W1600 +H900 +A0.2 +AM2 +R2 -GA +FP16 File_Gamma=1.0 \
      +Oterrain.ppm matterhorn.pov &&
    nice -n 10 povray -D +W1600 +H900 +A0.2 +AM2 +R2 -GA +FP16 File_Gamma=1.0 \
      Declare=DEPTH=1 +Odepth.ppm matterhorn.pov) >"$work/povray.log" 2>&1 ||
    { tail -20 "$work/povray.log"; exit 1; }
  "$py" "$here/matterhorn_finish.py" "$m/terrain.ppm" "$m/depth.ppm" "$media/matterhorn.jpg" 86
}

make_candle() {
  nice -n 10 "$py" "$here/candle_frames.py" "$work/frames"
  "$py" "$here/candle_audio.py" "$work/crackle.wav"
  # 141 frames in exactly 4 s (35.25 frames per second); the movie header
  # stays behind the media data (no faststart)
  nice -n 10 ffmpeg -v error -y -framerate 141/4 -i "$work/frames/f%03d.png" -i "$work/crackle.wav" \
    -map 0:v -map 1:a \
    -c:v libx264 -profile:v high -level:v 2.1 -preset veryslow -crf 16 -pix_fmt yuv420p -g 141 \
    -c:a aac -b:a 32k -ac 2 -ar 48000 \
    -map_metadata -1 -fflags +bitexact -flags:v +bitexact -flags:a +bitexact \
    "$work/candle.mp4"
  cp "$work/candle.mp4" "$media/candle.mp4"
}

case "$what" in
  all) make_karte; make_candle; make_matterhorn ;;
  karte) make_karte ;;
  candle) make_candle ;;
  matterhorn) make_matterhorn ;;
  *) echo "usage: $0 [all|candle|matterhorn|karte]" >&2; exit 2 ;;
esac
ls -l "$media"
