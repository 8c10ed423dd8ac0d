#pragma once
// A tolerant HTML tokenizer for checking pages: it finds the tags, their
// attributes and the text between them the way a browser's tokenizer does
// for the cases that matter for links, and it never fails. It keeps no
// stack and builds no tree, so deep nesting costs nothing; it takes any
// bytes, reads nothing outside the text and runs in linear time.
//
// What it follows:
//  - a UTF-8 byte-order mark at the start is skipped;
//  - comments "<!-- ... -->" (also ending at "--!>"; "<!-->" and "<!--->"
//    are empty comments; an unterminated one runs to the end), "<!DOCTYPE>",
//    and "<!...>", "<?...>", "</ ...>" as bogus comments up to the next '>';
//  - a '<' that starts no markup is text;
//  - tag and attribute names are ASCII lower-cased; values unquoted, in
//    single or double quotes; character references in values decoded; of
//    two attributes with the same name the first counts; a '/' before '>'
//    marks the tag self-closing; a tag cut off by the end of the text is
//    dropped;
//  - script, style, xmp, iframe, noembed and noframes hold raw text, title
//    and textarea hold text: no tags inside, up to the matching end tag
//    ("</script" followed by a space, '/' or '>', any case); plaintext
//    holds the rest of the page;
//  - every token carries the line where it starts (1-based; CR LF, CR and
//    LF are one line break each).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trellan::sitecheck {

enum class TokenKind {
  StartTag,
  EndTag,
  Text,     // text between tags, and the content of title and textarea
  RawText,  // the content of script, style and the other raw-text elements
  Comment,
  Doctype,
};

struct HtmlAttribute {
  std::string name;   // ASCII lower-case
  std::string value;  // character references decoded
  // Where the value stands in the text, as written and without its quotes;
  // both are the end of the name for an attribute without a value.
  std::size_t value_begin = 0;
  std::size_t value_end = 0;
};

struct HtmlToken {
  TokenKind kind = TokenKind::Text;
  int line = 1;
  // Where the token stands in the text: from its '<' (or its first byte of
  // text) to just after its '>' (or its last byte).
  std::size_t begin = 0;
  std::size_t end = 0;
  // Tags: the element name. Text and raw text inside an element such as
  // title or script: that element's name; text between tags: empty.
  std::string name;
  bool self_closing = false;
  std::vector<HtmlAttribute> attributes;  // start tags only
  bool more_attributes = false;           // more than kMaxAttributes, the rest skipped
  // Text, raw text, comment and doctype content as written, undecoded.
  std::string_view text;

  // The value of an attribute, or nullptr when the tag has none.
  const std::string* Attribute(std::string_view attribute_name) const;
};

class HtmlTokenizer {
 public:
  // A tag keeps at most this many attributes; the rest are read and
  // skipped (no sensible page has more), which keeps the check for
  // duplicate names linear.
  static constexpr std::size_t kMaxAttributes = 256;

  // `html` must outlive the tokenizer and the tokens' text.
  explicit HtmlTokenizer(std::string_view html);

  // Reads the next token into `token` (its buffers are reused); false at
  // the end of the text.
  bool Next(HtmlToken& token);

 private:
  bool ReadText(HtmlToken& token);
  bool ReadElementContent(HtmlToken& token);
  bool ReadMarkup(HtmlToken& token);
  bool ReadTag(HtmlToken& token, TokenKind kind, std::size_t name_start);
  bool ReadComment(HtmlToken& token, std::size_t start);
  bool ReadUpToGreaterThan(HtmlToken& token, TokenKind kind, std::size_t start,
                           std::size_t content_start);
  void ReadAttributes(HtmlToken& token);
  void Begin(HtmlToken& token, TokenKind kind, std::size_t start);
  int LineAt(std::size_t position);
  bool StartsMarkup(std::size_t position) const;

  std::string_view html_;
  std::size_t position_ = 0;
  // The element whose content is read next as (raw) text, if any.
  std::string content_element_;
  TokenKind content_kind_ = TokenKind::Text;
  bool content_to_end_ = false;
  // Line counting goes forward only, so it costs linear time in all.
  std::size_t counted_to_ = 0;
  int line_ = 1;
};

// The number of lines of a text as the tokenizer counts them (a text
// without a line break has one line; a final line break opens another).
int CountLines(std::string_view text);

}  // namespace trellan::sitecheck
