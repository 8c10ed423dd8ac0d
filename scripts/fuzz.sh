#!/usr/bin/env bash
# Builds the fuzz target for the gallery's name handling with libFuzzer,
# ASan and UBSan, and runs it for a bounded number of inputs. Exits
# non-zero when an input crashes it or breaks one of its checks.
#   scripts/fuzz.sh [runs]    (default 200000)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}/fuzz"
runs="${1:-200000}"
mkdir -p "$build/corpus"

sources=("$root/tests/fuzz/gallery_text_fuzz.cpp" "$root/mediatools/gallery_text.cpp")
binary="$build/gallery_text_fuzz"
stale=0
[ -x "$binary" ] || stale=1
for source in "${sources[@]}" "$root/mediatools/gallery_text.h"; do
  [ "$source" -nt "$binary" ] && stale=1
done
if [ "$stale" = 1 ]; then
  cxx="$(command -v clang++-14 || command -v clang++)"
  "$cxx" -std=c++20 -g -O1 -I "$root" \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    "${sources[@]}" -o "$binary"
fi

# A few names of the kind the media folder holds, as a start.
seeds="$build/seeds"
mkdir -p "$seeds"
printf 'Mein_Bild.JPG' >"$seeds/1"
printf 'a.jpg.jpg' >"$seeds/2"
printf 'x.png.jpg' >"$seeds/3"
printf 'sch\xc3\xb6ne aussicht.jpeg' >"$seeds/4"
printf 'b\x00e\x00r\x00g\x00_\x00t\x00.\x00j\x00p\x00g\x00' >"$seeds/5"

cd "$build"
exec "$binary" -runs="$runs" -max_len=256 -seed=1 \
  -artifact_prefix="$build/" "$build/corpus" "$seeds"
