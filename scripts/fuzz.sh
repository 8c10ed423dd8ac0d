#!/usr/bin/env bash
# Builds the libFuzzer targets of everything that reads outside input, with
# ASan and UBSan, and runs each for a bounded number of inputs, one after
# the other. Exits non-zero when an input crashes a target or breaks one of
# its checks.
#   scripts/fuzz.sh [runs [target ...]]
# Without a number of runs each target gets its own brief one, a minute at
# most together, as the test command runs them.
# TRELLAN_FUZZ_OPTIONS adds libFuzzer options, e.g. "-jobs=2 -workers=2".
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
runs="${1:-}"
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(gallery_text menu_items page_writer stored_values)
cxx="$(command -v clang++-14 || command -v clang++)"

# The page writer's embedded texts and the program's identity are generated
# by the native build.
native="$build/native"
[ -f "$native/build.ninja" ] || cmake -S "$root" -B "$native" -G Ninja >/dev/null
ninja -C "$native" trellan_embedded >/dev/null
generator=("$root"/generator/{menu_items,page_writer,run_texts,site_content,site_plan,text_output}.cpp
           "$native"/generator/embedded/*.cpp)

# run_target NAME MAX_LEN RUNS SOURCES...: builds tests/fuzz/NAME_fuzz.cpp with
# the sources (again when anything it is made of is newer), then runs it
# from its corpus and the seeds that the caller put into $seeds, RUNS times
# unless the command line gave a number.
run_target() {
  local name="$1" max_len="$2" target_runs="${runs:-$3}"
  shift 3
  local dir="$build/fuzz/$name"
  local binary="$dir/${name}_fuzz"
  local sources=("$root/tests/fuzz/${name}_fuzz.cpp" "$@")
  mkdir -p "$dir/corpus"
  if [ ! -x "$binary" ] || [ -n "$(find "${sources[@]}" "$root"/{app,generator,mediatools,system} \
        "$root/tests/fuzz" -newer "$binary" \( -name '*.h' -o -name '*.cpp' -o -name '*.txt' \) \
        2>/dev/null | head -1)" ]; then
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
      run_target stored_values 20000 200000 "$root/app/form_settings.cpp" "$root/system/stored_value.cpp"
      ;;
    *) echo "error: no fuzz target \"$target\"" >&2; exit 2 ;;
  esac
done
