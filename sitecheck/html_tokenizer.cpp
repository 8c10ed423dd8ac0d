#include "sitecheck/html_tokenizer.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "sitecheck/text_codec.h"
#include "utils/ascii.h"
#include "utils/utf8.h"

namespace trellan::sitecheck {

namespace {

constexpr std::array<std::string_view, 6> kRawTextElements = {"script", "style",   "xmp",
                                                              "iframe", "noembed", "noframes"};
constexpr std::array<std::string_view, 2> kTextOnlyElements = {"title", "textarea"};

}  // namespace

const std::string* HtmlToken::Attribute(std::string_view attribute_name) const {
  for (const auto& attribute : attributes)
    if (attribute.name == attribute_name) return &attribute.value;
  return nullptr;
}

HtmlTokenizer::HtmlTokenizer(std::string_view html) : html_(html) {
  if (html_.substr(0, kUtf8Bom.size()) == kUtf8Bom) position_ = counted_to_ = kUtf8Bom.size();
}

// Counted by the library's search from line end to line end, not byte by
// byte, which was the dearest step of reading a token.
int HtmlTokenizer::LineAt(std::size_t position) {
  if (position <= counted_to_) return line_;
  const char* const from = html_.data() + counted_to_;
  const char* const to = html_.data() + position;
  for (const char* lf = from; (lf = static_cast<const char*>(std::memchr(lf, '\n', to - lf))); ++lf)
    ++line_;
  // A CR alone ends a line too; in CR LF the LF counted it.
  for (const char* cr = from; (cr = static_cast<const char*>(std::memchr(cr, '\r', to - cr))); ++cr)
    if (cr + 1 == html_.data() + html_.size() || cr[1] != '\n') ++line_;
  counted_to_ = position;
  return line_;
}

void HtmlTokenizer::Begin(HtmlToken& token, TokenKind kind, std::size_t start) {
  token.kind = kind;
  token.line = LineAt(start);
  token.begin = start;
  token.name.clear();
  token.self_closing = false;
  token.attributes.clear();
  token.more_attributes = false;
  token.text = {};
}

bool HtmlTokenizer::Next(HtmlToken& token) {
  while (position_ < html_.size()) {
    const bool read = !content_element_.empty() || content_to_end_ ? ReadElementContent(token)
                      : StartsMarkup(position_)                    ? ReadMarkup(token)
                                                                   : ReadText(token);
    if (read) {
      token.end = position_;
      return true;
    }
  }
  return false;
}

bool HtmlTokenizer::StartsMarkup(std::size_t position) const {
  if (html_[position] != '<' || position + 1 >= html_.size()) return false;
  const char next = html_[position + 1];
  return IsAsciiAlpha(next) || next == '/' || next == '!' || next == '?';
}

bool HtmlTokenizer::ReadText(HtmlToken& token) {
  const std::size_t start = position_;
  std::size_t end = start + 1;
  while (true) {
    end = html_.find('<', end);
    if (end == std::string_view::npos || StartsMarkup(end)) break;
    ++end;
  }
  if (end == std::string_view::npos) end = html_.size();
  Begin(token, TokenKind::Text, start);
  token.text = html_.substr(start, end - start);
  position_ = end;
  return true;
}

// The content of title, script and the like, up to its end tag (which is
// then read as an ordinary end tag). Empty content gives no token.
bool HtmlTokenizer::ReadElementContent(HtmlToken& token) {
  const std::size_t start = position_;
  std::size_t end = html_.size();
  if (!content_to_end_) {
    for (std::size_t at = html_.find("</", start); at != std::string_view::npos;
         at = html_.find("</", at + 2)) {
      const std::size_t after = at + 2 + content_element_.size();
      if (AsciiStartsWithIgnoringCase(html_.substr(at + 2), content_element_) &&
          (after == html_.size() || IsHtmlSpace(html_[after]) || html_[after] == '/' ||
           html_[after] == '>')) {
        end = at;
        break;
      }
    }
  }
  std::string element = std::move(content_element_);
  content_element_.clear();
  content_to_end_ = false;
  position_ = end;
  if (end == start) return false;
  Begin(token, content_kind_, start);
  token.name = std::move(element);
  token.text = html_.substr(start, end - start);
  return true;
}

// At a '<' that starts markup. False when the markup gives no token ("</>",
// or a tag cut off by the end of the text).
bool HtmlTokenizer::ReadMarkup(HtmlToken& token) {
  const std::size_t start = position_;
  const char next = html_[start + 1];
  if (IsAsciiAlpha(next)) return ReadTag(token, TokenKind::StartTag, start + 1);
  if (next == '/') {
    if (start + 2 >= html_.size()) {  // a bare "</" at the end is text
      Begin(token, TokenKind::Text, start);
      token.text = html_.substr(start);
      position_ = html_.size();
      return true;
    }
    if (IsAsciiAlpha(html_[start + 2])) return ReadTag(token, TokenKind::EndTag, start + 2);
    if (html_[start + 2] == '>') {
      position_ = start + 3;
      return false;
    }
    return ReadUpToGreaterThan(token, TokenKind::Comment, start, start + 2);
  }
  if (next == '!') {
    if (html_.substr(start + 2, 2) == "--") return ReadComment(token, start);
    if (AsciiStartsWithIgnoringCase(html_.substr(start + 2), "doctype"))
      return ReadUpToGreaterThan(token, TokenKind::Doctype, start, start + 9);
    return ReadUpToGreaterThan(token, TokenKind::Comment, start, start + 2);
  }
  return ReadUpToGreaterThan(token, TokenKind::Comment, start, start + 1);  // "<?"
}

bool HtmlTokenizer::ReadUpToGreaterThan(HtmlToken& token, TokenKind kind, std::size_t start,
                                        std::size_t content_start) {
  Begin(token, kind, start);
  content_start = std::min(content_start, html_.size());
  const std::size_t end = html_.find('>', content_start);
  const std::size_t content_end = end == std::string_view::npos ? html_.size() : end;
  token.text = html_.substr(content_start, content_end - content_start);
  position_ = end == std::string_view::npos ? html_.size() : end + 1;
  return true;
}

bool HtmlTokenizer::ReadComment(HtmlToken& token, std::size_t start) {
  Begin(token, TokenKind::Comment, start);
  const std::size_t content_start = start + 4;
  // "<!-->" and "<!--->" end at once.
  if (html_.substr(content_start, 1) == ">") {
    position_ = content_start + 1;
    return true;
  }
  if (html_.substr(content_start, 2) == "->") {
    position_ = content_start + 2;
    return true;
  }
  for (std::size_t at = html_.find("--", content_start); at != std::string_view::npos;
       at = html_.find("--", at + 1)) {
    const std::size_t close = html_.substr(at + 2, 1) == ">"    ? 3
                              : html_.substr(at + 2, 2) == "!>" ? 4
                                                                : 0;
    if (close != 0) {
      token.text = html_.substr(content_start, at - content_start);
      position_ = at + close;
      return true;
    }
  }
  token.text = html_.substr(content_start);
  position_ = html_.size();
  return true;
}

bool HtmlTokenizer::ReadTag(HtmlToken& token, TokenKind kind, std::size_t name_start) {
  Begin(token, kind, position_);
  std::size_t i = name_start;
  while (i < html_.size() && !IsHtmlSpace(html_[i]) && html_[i] != '/' && html_[i] != '>')
    token.name.push_back(AsciiLower(html_[i++]));
  position_ = i;
  ReadAttributes(token);
  if (position_ > html_.size()) {  // cut off: browsers drop such a tag
    position_ = html_.size();
    return false;
  }
  if (kind == TokenKind::EndTag) {
    token.attributes.clear();
    token.self_closing = false;
    return true;
  }
  if (IsOneOf(token.name, kRawTextElements)) {
    content_element_ = token.name;
    content_kind_ = TokenKind::RawText;
  } else if (IsOneOf(token.name, kTextOnlyElements)) {
    content_element_ = token.name;
    content_kind_ = TokenKind::Text;
  } else if (token.name == "plaintext") {
    content_to_end_ = true;
    content_kind_ = TokenKind::RawText;
  }
  return true;
}

// Reads the attributes up to and including the '>'. Leaves position_ past
// the end of the text when the tag is not closed.
void HtmlTokenizer::ReadAttributes(HtmlToken& token) {
  const std::size_t size = html_.size();
  std::size_t i = position_;
  std::string name;
  while (true) {
    while (i < size && (IsHtmlSpace(html_[i]) || html_[i] == '/')) {
      if (html_[i] == '/' && i + 1 < size && html_[i + 1] == '>') token.self_closing = true;
      ++i;
    }
    if (i >= size) break;
    if (html_[i] == '>') {
      position_ = i + 1;
      return;
    }
    token.self_closing = false;
    name.clear();
    // A '=' as the first character belongs to the name.
    name.push_back(AsciiLower(html_[i++]));
    while (i < size && !IsHtmlSpace(html_[i]) && html_[i] != '/' && html_[i] != '>' &&
           html_[i] != '=')
      name.push_back(AsciiLower(html_[i++]));
    std::size_t value_begin = i;
    while (i < size && IsHtmlSpace(html_[i])) ++i;
    std::string_view value;
    if (i < size && html_[i] == '=') {
      ++i;
      while (i < size && IsHtmlSpace(html_[i])) ++i;
      if (i >= size) break;
      if (html_[i] == '"' || html_[i] == '\'') {
        const std::size_t close = html_.find(html_[i], i + 1);
        if (close == std::string_view::npos) break;
        value_begin = i + 1;
        value = html_.substr(value_begin, close - value_begin);
        i = close + 1;
      } else {
        value_begin = i;
        while (i < size && !IsHtmlSpace(html_[i]) && html_[i] != '>') ++i;
        value = html_.substr(value_begin, i - value_begin);
      }
    }
    if (token.Attribute(name) != nullptr) continue;
    if (token.attributes.size() >= kMaxAttributes) {
      token.more_attributes = true;
      continue;
    }
    token.attributes.push_back({name, DecodeCharacterReferences(value, ReferenceContext::Attribute),
                                value_begin, value_begin + value.size()});
  }
  position_ = size + 1;
}

int CountLines(std::string_view text) { return 1 + CountLineBreaks(text); }

}  // namespace trellan::sitecheck
