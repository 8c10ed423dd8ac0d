#pragma once
// UTF-8 as the generated files and the site check meet it: writing code
// points, reading and checking sequences, cutting between characters.
#include <cstddef>
#include <string>
#include <string_view>

namespace trellan {

// The byte-order mark written first in the pages and in zoom.js, and
// skipped where pages are read.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Appends the UTF-8 form of a code point (U+FFFD for one that is not a
// Unicode scalar value).
void AppendUtf8(std::string& out, char32_t code_point);

struct Utf8Char {
  char32_t code_point;  // U+FFFD when invalid
  std::size_t length;   // bytes taken; 1 for an invalid byte
  bool valid;
};

// The sequence that starts at `at` (< text.size()): valid only in its
// shortest form, without surrogates and at most U+10FFFF.
Utf8Char ReadUtf8(std::string_view text, std::size_t at);

bool IsValidUtf8(std::string_view text);

// At most `max_bytes` of `text`, cut before a character rather than
// inside one.
std::string_view CutUtf8(std::string_view text, std::size_t max_bytes);

}  // namespace trellan
