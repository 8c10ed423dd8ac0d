#!/usr/bin/env bash
# Builds the libFuzzer targets with ASan and UBSan and runs each for a
# bounded number of inputs. Exits non-zero when an input crashes one or
# breaks one of its checks.
#   scripts/fuzz.sh [runs] [target ...]    (default 200000 runs, every target)
# Targets: gallery_text (the gallery's name handling), sitecheck_text (the
# tokenizer, decoding, reference resolution, text conversions and picture
# parser of "Website prüfen", fast), sitecheck (the whole check and report
# over a small site).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}/fuzz"
runs="${1:-200000}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(gallery_text sitecheck_text sitecheck)

# Sets `cpp` (the sources to build) and `headers` (what else they depend on).
sources_of() {
  case "$1" in
    gallery_text)
      cpp=("$root/tests/fuzz/gallery_text_fuzz.cpp" "$root/mediatools/gallery_text.cpp")
      headers=("$root/mediatools/gallery_text.h") ;;
    sitecheck_text)
      cpp=("$root/tests/fuzz/sitecheck_text_fuzz.cpp"
           "$root/sitecheck/"{html_tokenizer,picture_size,site_url,text_codec}.cpp)
      headers=("$root/sitecheck/"{html_tokenizer,picture_size,site_url,text_codec}.h) ;;
    sitecheck)
      cpp=("$root/tests/fuzz/sitecheck_fuzz.cpp" "$root/sitecheck/"*.cpp)
      headers=("$root/sitecheck/"*.h "$root/tests/support/memory_site.h") ;;
    *) echo "unknown fuzz target: $1" >&2; exit 2 ;;
  esac
}

max_len_of() {
  case "$1" in
    gallery_text) echo 256 ;;
    sitecheck | sitecheck_text) echo 4096 ;;
  esac
}

# A few inputs of the kind each target meets, as a start.
write_seeds() {
  local seeds="$1"
  case "$2" in
    gallery_text)
      printf 'Mein_Bild.JPG' >"$seeds/1"
      printf 'a.jpg.jpg' >"$seeds/2"
      printf 'x.png.jpg' >"$seeds/3"
      printf 'sch\xc3\xb6ne aussicht.jpeg' >"$seeds/4"
      printf 'b\x00e\x00r\x00g\x00_\x00t\x00.\x00j\x00p\x00g\x00' >"$seeds/5" ;;
    sitecheck)
      printf '\xef\xbb\xbf<!DOCTYPE html>\r\n<title>Seitentitel eingeben</title>\r\n<meta name="author" content="Vorname Name">\r\n<a href="S2.html#oben">x</a> <a href="dummy.pdf">d</a>\r\n<img src="media/Bild%%20gross.jpg"><p id=a id=b>GeHe1m24</p>\r\n@@s2.html\n<h1 id="oben">x</h1><a href="index.html#fehlt">i</a><a href="../x">y</a>\n@@media/Bild gross.jpg\n\xff\xd8\xff\xe1\x00\x04xx\xff\xc0\x00\x0b\x08\x0b\xb8\x0f\xa0\x03\x01\x22\x00' >"$seeds/1"
      printf '<script>a</div>"</script><!--> <a href=x.png srcset="a.png 1x, b.gif 2x">&auml;&#xE4;&amp\r<textarea><a href=no></textarea>\n@@x.png\n\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x08\x00\x00\x00\x04\x00\x08\x02\x00\x00\x00\n@@a.png\nGIF89a\x10\x00\x10\x00' >"$seeds/2"
      printf '<a href="sub/">s</a><a href="C:\\x.jpg">c</a><a href=mailto:vorname.name@example.com>m</a>\n@@sub/index.htm\n<a href=../index.html#top>t</a><video poster=p.webp></video><object data=p.webp></object>\n@@sub/p.webp\nRIFF\x00\x00\x00\x00WEBPVP8X\x0a\x00\x00\x00\x00\x00\x00\x00\x7f\x07\x00\xdf\x0b\x00' >"$seeds/3" ;;
    sitecheck_text)
      printf '\xef\xbb\xbf<!DOCTYPE html>\r\n<TITLE>T&auml;tig &amp;c</title><A HREF="../x/./%%C3%%A4%%2f.html?q#f" href=y>\r<img SRCSET="a.jpg 1x, b.jpg (x, y) 2x" alt=&#x1F600;&#0;&#xD800;&#150;>' >"$seeds/1"
      printf '<script>a</div>"</script><!--> <a href=x.png>&auml;&#xE4;&amp\r<textarea><a href=no></textarea><p \xc3\x28 a=\xed\xa0\x80 b=&copy=2>' >"$seeds/2"
      printf '\xff\xd8\xff\xe1\x00\x04xx\xff\xc0\x00\x0b\x08\x0b\xb8\x0f\xa0\x03\x01\x22\x00' >"$seeds/3"
      printf '\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x08\x00\x00\x00\x04\x00\x08\x02\x00\x00\x00' >"$seeds/4"
      printf 'RIFF\x00\x00\x00\x00WEBPVP8X\x0a\x00\x00\x00\x00\x00\x00\x00\x7f\x07\x00\xdf\x0b\x00' >"$seeds/5"
      printf 'GIF89a\x10\x00\x10\x00 \xc4\xb0\xce\x91\xd0\x81 \xe1\xba\x9e' >"$seeds/6" ;;
  esac
}

for target in "${targets[@]}"; do
  sources_of "$target"
  dir="$build/$target"
  binary="$dir/${target}_fuzz"
  mkdir -p "$dir/corpus" "$dir/seeds"
  stale=0
  [ -x "$binary" ] || stale=1
  for source in "${cpp[@]}" "${headers[@]}"; do
    [ "$source" -nt "$binary" ] && stale=1
  done
  if [ "$stale" = 1 ]; then
    cxx="$(command -v clang++-14 || command -v clang++)"
    "$cxx" -std=c++20 -g -O1 -I "$root" \
      -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
      "${cpp[@]}" -o "$binary"
  fi
  write_seeds "$dir/seeds" "$target"
  echo "== $target: $runs runs"
  (cd "$dir" && "$binary" -runs="$runs" -max_len="$(max_len_of "$target")" -seed=1 \
    -artifact_prefix="$dir/" "$dir/corpus" "$dir/seeds")
done
