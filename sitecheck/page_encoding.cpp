#include "sitecheck/page_encoding.h"

#include "sitecheck/html_tokenizer.h"
#include "utils/ascii.h"
#include "utils/utf8.h"

namespace trellan::sitecheck {

namespace {

// The labels browsers know for the two encodings the check decodes, each
// between spaces. A <meta> naming a UTF-16 label means UTF-8, and
// x-user-defined means Windows-1252, since the page was read as ASCII.
constexpr std::string_view kUtf8Labels =
    " utf-8 utf8 unicode-1-1-utf-8 unicode11utf8 unicode20utf8 x-unicode20utf8 utf-16 utf-16le "
    "utf-16be unicode unicodefeff unicodefffe csunicode iso-10646-ucs-2 ucs-2 ";
constexpr std::string_view kWindows1252Labels =
    " windows-1252 iso-8859-1 latin1 l1 us-ascii ascii cp1252 x-cp1252 cp819 ibm819 csisolatin1 "
    "iso-ir-100 iso8859-1 iso88591 iso_8859-1 iso_8859-1:1987 ansi_x3.4-1968 x-user-defined ";
constexpr std::size_t kMaxLabelBytes = 40;

// True when `label` is one of the space-separated labels of `list`.
bool IsListed(std::string_view list, std::string_view label) {
  if (label.find(' ') != std::string_view::npos) return false;
  for (std::size_t at = list.find(label); at != std::string_view::npos;
       at = list.find(label, at + 1))
    if (list[at - 1] == ' ' && list[at + label.size()] == ' ') return true;
  return false;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsHtmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsHtmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The label after "charset=" in a content value, or empty.
std::string_view CharsetInContent(std::string_view content) {
  for (std::size_t i = 0;;) {
    const std::size_t found = AsciiFindIgnoringCase(content.substr(i), "charset");
    if (found == std::string_view::npos) return {};
    i += found + 7;
    while (i < content.size() && IsHtmlSpace(content[i])) ++i;
    if (i >= content.size() || content[i] != '=') continue;
    const std::string_view value = Trimmed(content.substr(i + 1));
    if (value.empty()) return {};
    if (value[0] == '"' || value[0] == '\'') {
      const std::size_t close = value.find(value[0], 1);
      return close == std::string_view::npos ? std::string_view() : value.substr(1, close - 1);
    }
    std::size_t end = 0;
    while (end < value.size() && !IsHtmlSpace(value[end]) && value[end] != ';') ++end;
    return value.substr(0, end);
  }
}

// The label a <meta> declares: its charset, or the charset in the content
// of http-equiv="Content-Type"; empty when it declares none.
std::string_view LabelOf(const HtmlToken& meta) {
  if (const std::string* charset = meta.Attribute("charset")) return Trimmed(*charset);
  const std::string* equiv = meta.Attribute("http-equiv");
  const std::string* content = meta.Attribute("content");
  if (equiv == nullptr || content == nullptr || !AsciiEqualIgnoringCase(*equiv, "content-type"))
    return {};
  return Trimmed(CharsetInContent(*content));
}

}  // namespace

EncodingDeclaration DeclaredEncoding(std::string_view page) {
  EncodingDeclaration declaration;
  declaration.declared = page.starts_with(kUtf8Bom);
  HtmlTokenizer tokenizer(page.substr(0, declaration.declared ? 0 : kEncodingPrescanBytes));
  HtmlToken token;
  std::string_view label;
  while (label.empty() && tokenizer.Next(token)) {
    if (token.kind == TokenKind::StartTag && token.name == "meta") label = LabelOf(token);
  }
  if (label.empty()) return declaration;
  declaration.declared = true;
  declaration.label = AsciiLower(label.substr(0, kMaxLabelBytes));  // any bytes
  if (IsListed(kWindows1252Labels, declaration.label))
    declaration.encoding = PageEncoding::Windows1252;
  else if (!IsListed(kUtf8Labels, declaration.label))
    declaration.encoding = PageEncoding::Other;
  return declaration;
}

}  // namespace trellan::sitecheck
