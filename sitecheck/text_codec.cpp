#include "sitecheck/text_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "utils/ascii.h"
#include "utils/utf8.h"

namespace trellan::sitecheck {

namespace {

// Kept in 12 bytes a row: the name in place, the code points all in the
// first plane.
struct NamedReference {
  char name[7];
  char16_t code_point;
  bool legacy;  // also recognised without the closing ';'
  std::string_view Name() const { return name; }
};

// The names pages written by hand and by this program's templates use. The
// legacy flag follows the browsers' list: the markup and Latin-1 names work
// without ';', the later ones need it.
constexpr std::array<NamedReference, 102> kNamedReferences = {{
    {"amp", U'&', true},       {"lt", U'<', true},       {"gt", U'>', true},
    {"quot", U'"', true},      {"AMP", U'&', true},      {"LT", U'<', true},
    {"GT", U'>', true},        {"QUOT", U'"', true},     {"apos", U'\'', false},
    {"nbsp", 0xA0, true},      {"iexcl", 0xA1, true},    {"cent", 0xA2, true},
    {"pound", 0xA3, true},     {"curren", 0xA4, true},   {"yen", 0xA5, true},
    {"brvbar", 0xA6, true},    {"sect", 0xA7, true},     {"uml", 0xA8, true},
    {"copy", 0xA9, true},      {"ordf", 0xAA, true},     {"laquo", 0xAB, true},
    {"not", 0xAC, true},       {"shy", 0xAD, true},      {"reg", 0xAE, true},
    {"macr", 0xAF, true},      {"deg", 0xB0, true},      {"plusmn", 0xB1, true},
    {"sup2", 0xB2, true},      {"sup3", 0xB3, true},     {"acute", 0xB4, true},
    {"micro", 0xB5, true},     {"para", 0xB6, true},     {"middot", 0xB7, true},
    {"cedil", 0xB8, true},     {"sup1", 0xB9, true},     {"ordm", 0xBA, true},
    {"raquo", 0xBB, true},     {"frac14", 0xBC, true},   {"frac12", 0xBD, true},
    {"frac34", 0xBE, true},    {"iquest", 0xBF, true},   {"Agrave", 0xC0, true},
    {"Aacute", 0xC1, true},    {"Acirc", 0xC2, true},    {"Auml", 0xC4, true},
    {"Aring", 0xC5, true},     {"AElig", 0xC6, true},    {"Ccedil", 0xC7, true},
    {"Egrave", 0xC8, true},    {"Eacute", 0xC9, true},   {"Ecirc", 0xCA, true},
    {"Ntilde", 0xD1, true},    {"Ocirc", 0xD4, true},    {"Ouml", 0xD6, true},
    {"times", 0xD7, true},     {"Oslash", 0xD8, true},   {"Uuml", 0xDC, true},
    {"szlig", 0xDF, true},     {"agrave", 0xE0, true},   {"aacute", 0xE1, true},
    {"acirc", 0xE2, true},     {"atilde", 0xE3, true},   {"auml", 0xE4, true},
    {"aring", 0xE5, true},     {"aelig", 0xE6, true},    {"ccedil", 0xE7, true},
    {"egrave", 0xE8, true},    {"eacute", 0xE9, true},   {"ecirc", 0xEA, true},
    {"euml", 0xEB, true},      {"iacute", 0xED, true},   {"icirc", 0xEE, true},
    {"iuml", 0xEF, true},      {"ntilde", 0xF1, true},   {"oacute", 0xF3, true},
    {"ocirc", 0xF4, true},     {"otilde", 0xF5, true},   {"ouml", 0xF6, true},
    {"divide", 0xF7, true},    {"oslash", 0xF8, true},   {"uacute", 0xFA, true},
    {"ucirc", 0xFB, true},     {"uuml", 0xFC, true},     {"yuml", 0xFF, true},
    {"ndash", 0x2013, false},  {"mdash", 0x2014, false}, {"lsquo", 0x2018, false},
    {"rsquo", 0x2019, false},  {"sbquo", 0x201A, false}, {"ldquo", 0x201C, false},
    {"rdquo", 0x201D, false},  {"bdquo", 0x201E, false}, {"bull", 0x2022, false},
    {"hellip", 0x2026, false}, {"euro", 0x20AC, false},  {"trade", 0x2122, false},
    {"larr", 0x2190, false},   {"rarr", 0x2192, false},  {"thinsp", 0x2009, false},
    {"frasl", 0x2044, false},  {"minus", 0x2212, false}, {"zwj", 0x200D, false},
}};

// What browsers make of numeric references to 0x80-0x9F (Windows-1252);
// 0 keeps the code point.
constexpr std::array<char16_t, 32> kC1Replacements = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Every other name of the standard's list that stands for one ASCII
// character (all need ';'), each after its character: none of those is a
// letter, so a name runs up to the next one.
constexpr std::string_view kAsciiNames =
    "\tTab\nNewLine!excl#num$dollar%percnt(lpar)rpar*ast*midast+plus,comma.period/sol:colon"
    ";semi=equals?quest@commat[lsqb[lbrack\\bsol]rsqb]rbrack^Hat_lowbar_UnderBar`grave"
    "`DiacriticalGrave{lcub{lbrace|verbar|vert|VerticalLine}rcub}rbrace";

std::optional<char32_t> FindNamed(std::string_view name) {
  for (const auto& entry : kNamedReferences)
    if (entry.Name() == name) return entry.code_point;
  for (std::size_t at = kAsciiNames.find(name); at != std::string_view::npos;
       at = kAsciiNames.find(name, at + 1)) {
    const std::size_t end = at + name.size();
    if (!IsAsciiAlpha(kAsciiNames[at - 1]) &&
        (end == kAsciiNames.size() || !IsAsciiAlpha(kAsciiNames[end])))
      return static_cast<unsigned char>(kAsciiNames[at - 1]);
  }
  return std::nullopt;
}

// The longest legacy name that `run` starts with.
const NamedReference* FindLegacyPrefix(std::string_view run) {
  const NamedReference* best = nullptr;
  for (const auto& entry : kNamedReferences)
    if (entry.legacy && run.starts_with(entry.Name()) &&
        (best == nullptr || entry.Name().size() > best->Name().size()))
      best = &entry;
  return best;
}

char32_t NumericReferenceValue(std::uint32_t value) {
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0xFFFD;
  if (value >= 0x80 && value <= 0x9F && kC1Replacements[value - 0x80] != 0)
    return kC1Replacements[value - 0x80];
  return value;
}

// Decodes "&#..." at `amp`; returns the bytes consumed, 0 when it is none.
std::size_t DecodeNumeric(std::string_view text, std::size_t amp, std::string& out) {
  std::size_t i = amp + 2;
  const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
  if (hex) ++i;
  const std::size_t digits_start = i;
  std::uint32_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = hex ? AsciiHexValue(text[i]) : (IsAsciiDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) break;
    // Past the last code point the value only needs to stay too large.
    value = std::min<std::uint32_t>(value * (hex ? 16u : 10u) + static_cast<std::uint32_t>(digit),
                                    0x110000);
  }
  if (i == digits_start) return 0;
  if (i < text.size() && text[i] == ';') ++i;
  AppendUtf8(out, NumericReferenceValue(value));
  return i - amp;
}

std::size_t DecodeNamed(std::string_view text, std::size_t amp, ReferenceContext context,
                        std::string& out) {
  std::size_t end = amp + 1;
  while (end < text.size() && IsAsciiAlnum(text[end])) ++end;
  const std::string_view run = text.substr(amp + 1, end - amp - 1);
  if (run.empty()) return 0;
  if (end < text.size() && text[end] == ';') {
    if (const auto code_point = FindNamed(run)) {
      AppendUtf8(out, *code_point);
      return end + 1 - amp;
    }
  }
  const auto* legacy = FindLegacyPrefix(run);
  if (legacy == nullptr) return 0;
  const std::size_t after = amp + 1 + legacy->Name().size();
  if (context == ReferenceContext::Attribute && after < text.size() &&
      (IsAsciiAlnum(text[after]) || text[after] == '='))
    return 0;
  AppendUtf8(out, legacy->code_point);
  return after - amp;
}

char32_t LowerCase(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs capitals and small letters, with the parity
    // switching at the few letters that have no pair.
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (c == 0x178) return 0xFF;
    const bool capital_even = c < 0x138 || (c > 0x149 && c < 0x179);
    return (c % 2 == 0) == capital_even ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  return c;
}

bool IsAllowedInDocument(char32_t c) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  if (c >= 0x7F && c <= 0x9F) return false;
  if (c >= 0xFDD0 && c <= 0xFDEF) return false;
  return (c & 0xFFFE) != 0xFFFE;
}

}  // namespace

std::string DecodeCharacterReferences(std::string_view text, ReferenceContext context) {
  if (text.find('&') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '&') {
      out.push_back(text[i++]);
      continue;
    }
    const bool numeric = i + 1 < text.size() && text[i + 1] == '#';
    const std::size_t used =
        numeric ? DecodeNumeric(text, i, out) : DecodeNamed(text, i, context, out);
    if (used == 0) out.push_back(text[i++]);
    i += used;
  }
  return out;
}

std::string FoldCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      out.push_back(AsciiLower(utf8[i++]));
      continue;
    }
    const Utf8Char c = ReadUtf8(utf8, i);
    if (c.valid)
      AppendUtf8(out, LowerCase(c.code_point));
    else
      out.push_back(utf8[i]);
    i += c.length;
  }
  return out;
}

std::string ToCleanUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    // Printable ASCII, most of any page, is copied in runs.
    std::size_t end = i;
    while (end < bytes.size() && bytes[end] >= 0x20 && bytes[end] < 0x7F) ++end;
    if (end > i) {
      out.append(bytes.substr(i, end - i));
      i = end;
      continue;
    }
    const Utf8Char c = ReadUtf8(bytes, i);
    if (c.valid && IsAllowedInDocument(c.code_point))
      out.append(bytes.substr(i, c.length));
    else
      AppendUtf8(out, 0xFFFD);
    i += c.length;
  }
  return out;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out.push_back(c);
      continue;
    }
    const char16_t replaced = byte <= 0x9F ? kC1Replacements[byte - 0x80] : 0;
    AppendUtf8(out, replaced != 0 ? replaced : byte);
  }
  return out;
}

int CountLineBreaks(std::string_view text) {
  int breaks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
      ++breaks;
  }
  return breaks;
}

}  // namespace trellan::sitecheck
