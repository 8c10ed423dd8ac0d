#include "sitecheck/css_reader.h"

#include <algorithm>
#include <optional>

#include "utils/ascii.h"
#include "utils/utf8.h"

namespace trellan::sitecheck {

namespace {

constexpr bool IsCssNewline(char c) { return c == '\n' || c == '\r' || c == '\f'; }
constexpr bool IsCssSpace(char c) { return c == ' ' || c == '\t' || IsCssNewline(c); }

// Letters, digits, '_', '-' and everything outside ASCII: the characters
// of names and, taken together with them, of numbers and their units, so
// that "x-url(" and "2url(" are no url(.
constexpr bool IsNameByte(char c) {
  return IsAsciiAlnum(c) || c == '_' || c == '-' || static_cast<unsigned char>(c) >= 0x80;
}

// The code points an unquoted url(...) must not hold.
constexpr bool IsNonPrintable(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= 0x08 || byte == 0x0B || (byte >= 0x0E && byte <= 0x1F) || byte == 0x7F;
}

class CssReader {
 public:
  explicit CssReader(std::string_view css) : css_(css) {}

  std::vector<CssReference> Read();

 private:
  bool IsEscape(std::size_t at) const {
    return at + 1 < css_.size() && css_[at] == '\\' && !IsCssNewline(css_[at + 1]);
  }
  bool StartsName(std::size_t at) const {
    return (at < css_.size() && IsNameByte(css_[at])) || IsEscape(at);
  }
  void SkipSpacesAndComments();
  void AppendEscaped(std::string& out);
  std::string_view ReadWord();
  std::optional<std::string> ReadString();
  void ReadUrl(std::size_t start);
  void SkipStatement();
  void Add(std::string url, std::size_t at);

  std::string_view css_;
  std::size_t i_ = 0;
  std::vector<CssReference> references_;
  // Lines are counted onwards only, as references come in order.
  std::size_t counted_to_ = 0;
  int line_ = 1;
};

void CssReader::Add(std::string url, std::size_t at) {
  for (; counted_to_ < at; ++counted_to_) {
    const char c = css_[counted_to_];
    if (c == '\n' ||
        (c == '\r' && (counted_to_ + 1 == css_.size() || css_[counted_to_ + 1] != '\n')))
      ++line_;
  }
  references_.push_back({std::move(url), line_});
}

void CssReader::SkipSpacesAndComments() {
  while (i_ < css_.size()) {
    if (IsCssSpace(css_[i_])) {
      ++i_;
    } else if (css_.substr(i_, 2) == "/*") {
      const std::size_t end = css_.find("*/", i_ + 2);
      i_ = end == std::string_view::npos ? css_.size() : end + 2;
    } else {
      return;
    }
  }
}

// After a '\' that starts an escape: up to six hex digits and one space
// after them, else the next byte as it is.
void CssReader::AppendEscaped(std::string& out) {
  if (AsciiHexValue(css_[i_]) < 0) {
    out.push_back(css_[i_++]);
    return;
  }
  char32_t value = 0;
  for (int digits = 0; digits < 6 && i_ < css_.size() && AsciiHexValue(css_[i_]) >= 0; ++digits)
    value = value * 16 + static_cast<char32_t>(AsciiHexValue(css_[i_++]));
  if (i_ < css_.size() && IsCssSpace(css_[i_])) i_ += css_.substr(i_, 2) == "\r\n" ? 2 : 1;
  AppendUtf8(out, value == 0 ? 0xFFFD : value);  // AppendUtf8 replaces the rest
}

// A name, a number with its unit or a hash, with its escapes as written:
// names that escape their letters mean nothing to the check.
std::string_view CssReader::ReadWord() {
  const std::size_t start = i_;
  while (i_ < css_.size() && (IsNameByte(css_[i_]) || IsEscape(i_))) i_ += IsEscape(i_) ? 2 : 1;
  return css_.substr(start, i_ - start);
}

// At a quote. nullopt for a string that a line break cuts off.
std::optional<std::string> CssReader::ReadString() {
  const char quote = css_[i_++];
  std::string text;
  while (i_ < css_.size()) {
    const char c = css_[i_];
    if (c == quote) {
      ++i_;
      return text;
    }
    if (IsCssNewline(c)) return std::nullopt;
    if (c != '\\') {
      text.push_back(c);
      ++i_;
    } else if (i_ + 1 < css_.size() && IsCssNewline(css_[i_ + 1])) {
      i_ += css_.substr(i_ + 1, 2) == "\r\n" ? 3 : 2;  // a continued line
    } else {
      ++i_;
      if (i_ < css_.size()) AppendEscaped(text);
    }
  }
  return text;
}

// After "url(" that started at `start`.
void CssReader::ReadUrl(std::size_t start) {
  while (i_ < css_.size() && IsCssSpace(css_[i_])) ++i_;
  if (i_ < css_.size() && (css_[i_] == '"' || css_[i_] == '\'')) {
    if (auto text = ReadString()) Add(std::move(*text), start);
    return;
  }
  std::string url;
  bool bad = false;
  while (i_ < css_.size() && css_[i_] != ')') {
    const char c = css_[i_];
    if (IsCssSpace(c)) {
      while (i_ < css_.size() && IsCssSpace(css_[i_])) ++i_;
      bad = i_ < css_.size() && css_[i_] != ')';
      break;
    }
    if (c == '"' || c == '\'' || c == '(' || IsNonPrintable(c) || (c == '\\' && !IsEscape(i_))) {
      bad = true;
      break;
    }
    ++i_;
    if (c == '\\')
      AppendEscaped(url);
    else
      url.push_back(c);
  }
  // A bad url loads nothing; it runs up to its ')', escapes skipped.
  while (bad && i_ < css_.size() && css_[i_] != ')') i_ += IsEscape(i_) ? 2 : 1;
  i_ = std::min(i_ + 1, css_.size());
  if (!bad) Add(std::move(url), start);
}

// @namespace names no file: up to its ';'.
void CssReader::SkipStatement() {
  while (i_ < css_.size() && css_[i_] != ';' && css_[i_] != '{' && css_[i_] != '}') {
    if (css_[i_] == '"' || css_[i_] == '\'')
      ReadString();
    else
      i_ += IsEscape(i_) ? 2 : 1;
  }
}

std::vector<CssReference> CssReader::Read() {
  while (i_ < css_.size()) {
    const std::size_t start = i_;
    const char c = css_[i_];
    if (css_.substr(i_, 2) == "/*") {
      SkipSpacesAndComments();
    } else if (c == '"' || c == '\'') {
      ReadString();
    } else if (c == '@' || c == '#') {
      ++i_;
      const std::string_view name = ReadWord();
      if (c == '#') continue;
      if (AsciiEqualIgnoringCase(name, "namespace")) {
        SkipStatement();
      } else if (AsciiEqualIgnoringCase(name, "import")) {
        SkipSpacesAndComments();
        const std::size_t string_start = i_;
        if (i_ < css_.size() && (css_[i_] == '"' || css_[i_] == '\''))
          if (auto text = ReadString()) Add(std::move(*text), string_start);
      }
    } else if (StartsName(i_)) {
      if (AsciiEqualIgnoringCase(ReadWord(), "url") && i_ < css_.size() && css_[i_] == '(') {
        ++i_;
        ReadUrl(start);
      }
    } else {
      ++i_;
    }
  }
  return std::move(references_);
}

}  // namespace

std::vector<CssReference> CssReferences(std::string_view css) { return CssReader(css).Read(); }

}  // namespace trellan::sitecheck
