#include "utils/utf8.h"

#include <cstdint>
#include <cstring>

namespace trellan {

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool IsScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

void AppendUtf8(std::string& out, char32_t code_point) {
  if (!IsScalarValue(code_point)) code_point = 0xFFFD;
  const auto byte = [&out](char32_t value) { out.push_back(static_cast<char>(value)); };
  if (code_point < 0x80) {
    byte(code_point);
  } else if (code_point < 0x800) {
    byte(0xC0 | (code_point >> 6));
    byte(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    byte(0xE0 | (code_point >> 12));
    byte(0x80 | ((code_point >> 6) & 0x3F));
    byte(0x80 | (code_point & 0x3F));
  } else {
    byte(0xF0 | (code_point >> 18));
    byte(0x80 | ((code_point >> 12) & 0x3F));
    byte(0x80 | ((code_point >> 6) & 0x3F));
    byte(0x80 | (code_point & 0x3F));
  }
}

Utf8Char ReadUtf8(std::string_view text, std::size_t at) {
  constexpr Utf8Char kInvalid = {0xFFFD, 1, false};
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t length = 0;
  char32_t code_point = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    code_point = lead & 0x1Fu;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    code_point = lead & 0x0Fu;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    code_point = lead & 0x07u;
  } else {
    return kInvalid;
  }
  if (text.size() - at < length) return kInvalid;
  for (std::size_t k = 1; k < length; ++k) {
    if (!IsContinuation(text[at + k])) return kInvalid;
    code_point = (code_point << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3Fu);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code_point < kSmallest[length] || !IsScalarValue(code_point)) return kInvalid;
  return {code_point, length, true};
}

bool IsValidUtf8(std::string_view text) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  for (std::size_t i = 0; i < text.size();) {
    // Most of any page is ASCII: eight bytes at a time.
    if (i + 8 <= text.size()) {
      std::uint64_t eight = 0;
      std::memcpy(&eight, text.data() + i, 8);
      if ((eight & kHighBits) == 0) {
        i += 8;
        continue;
      }
    }
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const Utf8Char c = ReadUtf8(text, i);
    if (!c.valid) return false;
    i += c.length;
  }
  return true;
}

std::string_view CutUtf8(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  std::size_t end = max_bytes;
  while (end > 0 && IsContinuation(text[end])) --end;
  return text.substr(0, end);
}

}  // namespace trellan
