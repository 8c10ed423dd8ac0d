#!/usr/bin/env bash
# Builds the libFuzzer targets of everything that reads outside input, with
# ASan and UBSan, and runs each for a bounded number of inputs, one after
# the other. Exits non-zero when an input crashes a target or breaks one of
# its checks.
#   scripts/fuzz.sh [runs [target ...]]
# Targets: gallery_text, menu_items, page_writer, stored_values, of
# "Website prüfen": sitecheck_text (tokenizer, decoding, references, text
# conversions, picture headers; fast), sitecheck_readers (a page's declared
# encoding, Windows-1252 decoding, the stylesheet reader; fast) and
# sitecheck (the whole check and report over a small site); of "Website
# hochladen": ftp_reply (the server's replies), passive_reply (EPSV, PASV,
# the private-address rule) and upload_record (the record of what was
# uploaded, the FTP command file); and of "Menü in Website übernehmen":
# page_parts (a page's generated parts read back, and the update's plan)
# and link_rewriter (links pointed at renamed pages).
# Without a number of runs each target gets its own brief one, a minute at
# most together, as the test command runs them.
# TRELLAN_FUZZ_OPTIONS adds libFuzzer options, e.g. "-jobs=2 -workers=2".
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
runs="${1:-}"
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(gallery_text menu_items page_writer stored_values sitecheck_text sitecheck_readers
                                     sitecheck ftp_reply passive_reply upload_record page_parts link_rewriter)
cxx="$(command -v clang++-14 || command -v clang++)"

# The page writer's embedded texts and the program's identity are generated
# by the native build.
native="$build/native"
[ -f "$native/build.ninja" ] || cmake -S "$root" -B "$native" -G Ninja >/dev/null
ninja -C "$native" trellan_embedded >/dev/null
embedded="$native/generator/embedded"
generator=("$root"/generator/{inflate,menu_items,page_writer,run_texts,site_content,site_plan,text_output}.cpp
           "$embedded/packed_texts.cpp")
# The files stored as they are, one source each, as the header declares them.
for symbol in $(sed -n 's/^extern const std::string_view \(k[A-Za-z0-9]*\);.*/\1/p' \
                  "$embedded/embedded_files.h"); do
  generator+=("$embedded/$symbol.cpp")
done

# run_target NAME MAX_LEN RUNS SOURCES...: builds tests/fuzz/NAME_fuzz.cpp with
# the sources and utils/ (again when anything it is made of is newer), then runs it
# from its corpus and the seeds that the caller put into $seeds, RUNS times
# unless the command line gave a number.
run_target() {
  local name="$1" max_len="$2" target_runs="${runs:-$3}"
  shift 3
  local dir="$build/fuzz/$name"
  local binary="$dir/${name}_fuzz"
  local sources=("$root/tests/fuzz/${name}_fuzz.cpp" "$root"/utils/*.cpp "$@")
  mkdir -p "$dir/corpus"
  if [ ! -x "$binary" ] || [ -n "$(find "${sources[@]}" \
        "$root"/{app,generator,mediatools,settings,sitecheck,siteupdate,system,upload,utils} "$root"/tests/{fuzz,support} \
        -newer "$binary" \( -name '*.h' -o -name '*.cpp' -o -name '*.txt' \) 2>/dev/null | head -1)" ]; then
    "$cxx" -std=c++20 -g -O1 -I "$root" -I "$native/generator/embedded" -I "$native/identity" \
      -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
      -fsanitize-coverage-ignorelist="$root/tests/fuzz/coverage-ignore.txt" \
      "${sources[@]}" -o "$binary"
  fi
  echo "== $name: $target_runs runs"
  # A small quarantine: the pages of every input would otherwise fill fresh
  # memory page by page, and the kernel's work would outweigh the fuzzing.
  (cd "$dir" && ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}" \
    "$binary" -runs="$target_runs" -max_len="$max_len" -seed=1 -artifact_prefix="$dir/" \
    ${TRELLAN_FUZZ_OPTIONS:-} "$dir/corpus" "$seeds")
}

for target in "${targets[@]}"; do
  seeds="$build/fuzz/$target/seeds"
  rm -rf "$seeds"
  mkdir -p "$seeds"
  case "$target" in
    gallery_text)
      # Names of the kind the media folder holds.
      printf 'Mein_Bild.JPG' >"$seeds/1"
      printf 'a.jpg.jpg' >"$seeds/2"
      printf 'x.png.jpg' >"$seeds/3"
      printf 'sch\xc3\xb6ne aussicht.jpeg' >"$seeds/4"
      printf 'b\x00e\x00r\x00g\x00_\x00t\x00.\x00j\x00p\x00g\x00' >"$seeds/5"
      run_target gallery_text 256 200000 "$root/mediatools/gallery_text.cpp"
      ;;
    menu_items)
      # The default menu, empty lines, a pasted TAB, a long UTF-8 entry.
      printf 'Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum' >"$seeds/1"
      printf 'A\r\n\r\nB\n\nC\r\rD\tE\r\n\x01F' >"$seeds/2"
      printf '\xc3\xa4%.0s' {1..140} >"$seeds/3"
      run_target menu_items 8192 100000 "${generator[@]}"
      ;;
    page_writer)
      printf '\x05Titel\x06Autor\x08Schl\xc3\xbcssel\r\nStart\r\nSeite 2\r\nImpressum' >"$seeds/1"
      printf '\x02a\nb\x02{{x}}\x02<i>\r\n{{label}}\r\n\r\n\xc3\xa9' >"$seeds/2"
      run_target page_writer 4096 30000 "${generator[@]}"
      ;;
    stored_values)
      printf '\x01\x05Titel\x00\x01\x03\x01\x00\x00\x00\x01\x02\x01\x00' >"$seeds/1"
      printf '\x01\x04 abc\x01\x05\x00\x00\x01\x02\x02\x00\x00\x00\x00\x00\x00\x00\x01\x00' >"$seeds/2"
      run_target stored_values 20000 200000 "$root/settings/"{form_settings,stored_value}.cpp
      ;;
    sitecheck_text)
      printf '\xef\xbb\xbf<!DOCTYPE html>\r\n<TITLE>T&auml;tig &amp;c</title><A HREF="../x/./%%C3%%A4%%2f.html?q#f" href=y>\r<img SRCSET="a.jpg 1x, b.jpg (x, y) 2x" alt=&#x1F600;&#0;&#xD800;&#150;>' >"$seeds/1"
      printf '<script>a</div>"</script><!--> <a href=x.png>&auml;&#xE4;&amp\r<textarea><a href=no></textarea><p \xc3\x28 a=\xed\xa0\x80 b=&copy=2>' >"$seeds/2"
      printf '\xff\xd8\xff\xe1\x00\x04xx\xff\xc0\x00\x0b\x08\x0b\xb8\x0f\xa0\x03\x01\x22\x00' >"$seeds/3"
      printf '\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x08\x00\x00\x00\x04\x00\x08\x02\x00\x00\x00' >"$seeds/4"
      printf 'RIFF\x00\x00\x00\x00WEBPVP8X\x0a\x00\x00\x00\x00\x00\x00\x00\x7f\x07\x00\xdf\x0b\x00' >"$seeds/5"
      printf 'GIF89a\x10\x00\x10\x00 \xc4\xb0\xce\x91\xd0\x81 \xe1\xba\x9e' >"$seeds/6"
      run_target sitecheck_text 4096 100000 "$root/sitecheck/"{html_tokenizer,picture_size,site_url,text_codec}.cpp
      ;;
    sitecheck_readers)
      printf '<!-- <meta charset=utf-8> --><META http-equiv="Content-Type" content="text/html; charset=\\"ISO-8859-1\\"">b\xfc\x80cher' >"$seeds/1"
      printf '<p title="<meta charset=latin1>"><meta charset=" x-user-defined ">' >"$seeds/2"
      printf '@import "a.css";@namespace s url(http://x);\r\n/* url(no.png) */p{background:URL( "b c\\31 .png" ) url(d\\)e.png) url(bad pic.png)}\r\nq{src:url(f.woff2)format("woff2");content:"u\\\r\nrl(x)"}' >"$seeds/3"
      run_target sitecheck_readers 4096 100000 "$root/sitecheck/"{css_reader,html_tokenizer,page_encoding,text_codec}.cpp
      ;;
    sitecheck)
      # Pages and files of a small site, each after a line "@@name".
      printf '\xef\xbb\xbf<!DOCTYPE html>\r\n<title>Seitentitel eingeben</title>\r\n<meta name="author" content="Vorname Name">\r\n<a href="S2.html#oben">x</a> <a href="dummy.pdf">d</a>\r\n<img src="media/Bild%%20gross.jpg"><p id=a id=b>GeHe1m24</p>\r\n@@s2.html\n<h1 id="oben">x</h1><a href="index.html#fehlt">i</a><a href="../x">y</a>\n@@media/Bild gross.jpg\n\xff\xd8\xff\xe1\x00\x04xx\xff\xc0\x00\x0b\x08\x0b\xb8\x0f\xa0\x03\x01\x22\x00' >"$seeds/1"
      printf '<script>a</div>"</script><!--> <a href=x.png srcset="a.png 1x, b.gif 2x">&auml;&#xE4;&amp\r<textarea><a href=no></textarea>\n@@x.png\n\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x08\x00\x00\x00\x04\x00\x08\x02\x00\x00\x00\n@@a.png\nGIF89a\x10\x00\x10\x00' >"$seeds/2"
      printf '<a href="sub/">s</a><a href="C:\\x.jpg">c</a><a href=mailto:vorname.name@example.com>m</a>\n@@sub/index.htm\n<a href=../index.html#top>t</a><video poster=p.webp></video><object data=p.webp></object>\n@@sub/p.webp\nRIFF\x00\x00\x00\x00WEBPVP8X\x0a\x00\x00\x00\x00\x00\x00\x00\x7f\x07\x00\xdf\x0b\x00' >"$seeds/3"
      printf '<meta charset=windows-1252><base href="sub/"><link rel=stylesheet href="../s.css"><a href="b\xfccher.html#x\\y">b</a><style>p{background:url(a.png)}</style><p style="background:url(\x27C.png\x27)"><svg><use xlink:href="#i"/></svg>\n@@s.css\n@import "t.css";body{background:url(sub/b\xc3\xbccher.html)}\n@@t.css\na{src:url(x.woff)}\n@@sub/b\xc3\xbccher.html\n<a name="x\\y">' >"$seeds/4"
      run_target sitecheck 4096 10000 "$root/sitecheck/"*.cpp
      ;;
    ftp_reply)
      # A greeting, a multi-line FEAT, a bare code, a reply cut in a line.
      printf '220 Willkommen\r\n211-Features:\r\n AUTH TLS\r\n211-x\r\n211 End\r\n230\r\n150 Go' >"$seeds/1"
      printf '227 Entering Passive Mode (10,0,0,1,4,1)\n229 (|||6446|)\n5\xc3\xa4\r\n' >"$seeds/2"
      run_target ftp_reply 5000 200000 "$root/upload/ftp_reply.cpp"
      ;;
    passive_reply)
      printf '\xcb\x00\x71\x05Entering Passive Mode (192,168,1,20,200,10)' >"$seeds/1"
      printf '\x7f\x00\x00\x01Entering Extended Passive Mode (|||6446|)' >"$seeds/2"
      printf '\x0a\x00\x00\x0910.0.0.9' >"$seeds/3"
      run_target passive_reply 256 200000 "$root/upload/passive_reply.cpp"
      ;;
    upload_record)
      hash="$(printf 'a%.0s' {1..64})"
      printf '\x01Trellan: hochgeladene Dateien\r\n[lern@ftp.example:21/www]\r\n12 %s index.html\r\n0 %s media/gr\xc3\xbcn.jpg\r\n[x]\n7 %s s02.html' \
        "$hash" "$hash" "$hash" >"$seeds/1"
      printf '\x00OPEN ftp.schule.example 2121\r\nlea\r\nGeheim\r\n\r\nASCII\r\nCD htdocs\r\n' >"$seeds/2"
      run_target upload_record 4096 100000 "$root/upload/"{upload_record,site_selection,upload_settings}.cpp
      ;;
    page_parts)
      # A generated page a learner has edited, and one an editor reformatted.
      printf '\xef\xbb\xbf<title>T: Seite 2</title>\r\n<meta name="author" content="A">\r\n<nav>    <!--    Navigation Start  -->\r\n  <span class="titleMobile">Seite 2</span>\r\n  <ul class="menu">\r\n    <li><a href="index.html">Start</a></li>\r\n    <li class="aktiv"><a href="s02.html">Seite 2</a></li>\r\n  </ul>\r\n</nav>    <!--    Navigation Ende  -->\r\n<h1>Seite 2</h1><p>Mein Text <a href="s03.html">3</a></p>' >"$seeds/1"
      printf '<meta content=x name=KEYWORDS><meta name=revised content="2025-01-01">\n  <NAV>\n    <span class="a titleMobile">Start<span class="lang"> &#x1f310;</span></span>\n    <ul><li><a href=index.html>Start<a href=x>y</a>\n  </nav>\n  <!--Navigation Ende-->\n<h1>Start<span class="lang"> &#x1f310;</span></h1><nav>' >"$seeds/2"
      run_target page_parts 8192 100000 "${generator[@]}" "$root/siteupdate/"*.cpp "$root/sitecheck/"{html_tokenizer,site_url,text_codec}.cpp
      ;;
    link_rewriter)
      printf 'blog/a.html\n<a href="../s05.html#x"><img src=/index.html><a href=" S05.HTML?q "><a href="s%%30%%35.html"><a href="..\\s03.html"><a href=\x27../s02.html\x27><a href=s05.html&#35;y>' >"$seeds/1"
      printf 'index.html\n<script>"<a href=s05.html>"</script><!-- <a href=s05.html> --><textarea><a href=s05.html></textarea><a href=https://x/s05.html><a href=#s05.html>' >"$seeds/2"
      run_target link_rewriter 4096 200000 "${generator[@]}" "$root/siteupdate/"*.cpp "$root/sitecheck/"{html_tokenizer,site_url,text_codec}.cpp
      ;;
    *) echo "error: no fuzz target \"$target\"" >&2; exit 2 ;;
  esac
done
