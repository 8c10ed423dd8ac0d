#pragma once
// The few ASCII helpers the upload's readers share, under the names the
// program's text helpers give them.
#include <cstddef>
#include <string_view>

namespace trellan {

constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c; }

// The value of a hex digit (either case), or -1.
constexpr int AsciiHexValue(char c) {
  if (IsAsciiDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

inline bool AsciiEqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

}  // namespace trellan
