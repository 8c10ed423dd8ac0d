#pragma once
// ASCII character classes and case as HTML, URLs and file names on the web
// treat them: only A-Z and a-z have a case; every other byte, UTF-8
// included, stays as it is and compares exactly.
#include <cstddef>
#include <string>
#include <string_view>

namespace trellan {

constexpr bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsAsciiAlpha(char c) { return IsAsciiUpper(c) || (c >= 'a' && c <= 'z'); }
constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiAlnum(char c) { return IsAsciiAlpha(c) || IsAsciiDigit(c); }

// The value of a hex digit (either case), or -1.
constexpr int AsciiHexValue(char c) {
  if (IsAsciiDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// White space as HTML defines it: space, tab, LF, FF and CR.
constexpr bool IsHtmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

constexpr char AsciiLower(char c) { return IsAsciiUpper(c) ? static_cast<char>(c + 0x20) : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c; }
std::string AsciiLower(std::string_view text);

bool AsciiEqualIgnoringCase(std::string_view a, std::string_view b);
bool AsciiStartsWithIgnoringCase(std::string_view text, std::string_view prefix);
// Where `needle` first stands in `text`, or npos.
std::size_t AsciiFindIgnoringCase(std::string_view text, std::string_view needle);

// True when `word` is one of the words of `list`, byte for byte.
template <typename List>
constexpr bool IsOneOf(std::string_view word, const List& list) {
  for (const std::string_view entry : list)
    if (entry == word) return true;
  return false;
}

}  // namespace trellan
