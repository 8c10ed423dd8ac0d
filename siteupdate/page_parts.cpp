#include "siteupdate/page_parts.h"

#include "sitecheck/html_tokenizer.h"
#include "utils/ascii.h"

namespace trellan::siteupdate {

namespace {

using sitecheck::HtmlToken;
using sitecheck::TokenKind;

bool IsBlankText(std::string_view text) {
  for (const char c : text)
    if (!IsHtmlSpace(c)) return false;
  return true;
}

// The words of `text` are exactly `words`, whatever blanks stand around them.
bool HasWords(std::string_view text, std::string_view words) {
  std::string collapsed;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHtmlSpace(text[i])) continue;
    if (!collapsed.empty() && IsHtmlSpace(text[i - 1])) collapsed += ' ';
    collapsed += text[i];
  }
  return collapsed == words;
}

bool HasClass(const HtmlToken& token, std::string_view name) {
  const std::string* classes = token.Attribute("class");
  if (classes == nullptr) return false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= classes->size(); ++i) {
    if (i < classes->size() && !IsHtmlSpace((*classes)[i])) continue;
    if (std::string_view(*classes).substr(start, i - start) == name) return true;
    start = i + 1;
  }
  return false;
}

const sitecheck::HtmlAttribute* FindAttribute(const HtmlToken& token, std::string_view name) {
  for (const auto& attribute : token.attributes)
    if (attribute.name == name) return &attribute;
  return nullptr;
}

class PartsReader {
 public:
  explicit PartsReader(std::string_view page) : page_(page) {}

  PageParts Read() {
    if (page_.find('\0') != std::string_view::npos) {
      parts_.navigation = Navigation::NotText;
      return std::move(parts_);
    }
    sitecheck::HtmlTokenizer tokenizer(page_);
    HtmlToken token;
    while (tokenizer.Next(token)) {
      if (seeking_end_marker_) TakeEndMarker(token);
      if (token.kind == TokenKind::StartTag) OnStartTag(token);
      if (token.kind == TokenKind::EndTag) OnEndTag(token);
    }
    if (navs_ > 1)
      parts_.navigation = Navigation::Several;
    else if (navs_ == 1)
      parts_.navigation = nav_closed_ ? Navigation::Found : Navigation::Unclosed;
    return std::move(parts_);
  }

 private:
  // The end marker may stand on the line after "</nav>", as an editor that
  // reindents leaves it.
  void TakeEndMarker(const HtmlToken& token) {
    if (token.kind == TokenKind::Text && IsBlankText(token.text)) return;
    if (token.kind == TokenKind::Comment && HasWords(token.text, "Navigation Ende"))
      parts_.nav.end = token.end;
    seeking_end_marker_ = false;
  }

  void OnStartTag(const HtmlToken& token) {
    for (const auto& attribute : token.attributes)
      if (attribute.name == "href" || attribute.name == "src")
        parts_.links.push_back({attribute.value_begin, attribute.value_end});
    const std::string& name = token.name;
    if (name == "nav") {
      if (++navs_ == 1) {
        parts_.nav.begin = token.begin;
        in_nav_ = true;
      }
    } else if (in_nav_) {
      OnStartTagInNav(token);
    } else if (name == "title" && navs_ == 0 && !title_begin_) {
      title_begin_ = token.end;
    } else if (name == "meta" && navs_ == 0) {
      OnMeta(token);
    } else if (name == "h1" && nav_closed_ && !heading_begin_) {
      heading_begin_ = token.end;
    }
  }

  void OnStartTagInNav(const HtmlToken& token) {
    const std::string& name = token.name;
    if (name == "span" && label_depth_ > 0) {
      ++label_depth_;
    } else if (name == "span" && !parts_.own_label && HasClass(token, "titleMobile")) {
      label_depth_ = 1;
      label_begin_ = token.end;
    } else if (name == "ul") {
      in_list_ = true;
    } else if (name == "a" && in_list_) {
      CloseMenuLink(token.begin);  // a link inside a link ends the first
      const sitecheck::HtmlAttribute* href = FindAttribute(token, "href");
      const ByteRange value = href != nullptr ? ByteRange{href->value_begin, href->value_end}
                                              : ByteRange{token.begin, token.begin};
      parts_.menu.push_back({value, {token.end, token.end}});
      in_link_ = true;
    }
  }

  void OnMeta(const HtmlToken& token) {
    const std::string* name = token.Attribute("name");
    const sitecheck::HtmlAttribute* content = FindAttribute(token, "content");
    if (name == nullptr || content == nullptr) return;
    const std::string lower = AsciiLower(*name);
    std::optional<MetaValue>* slot = lower == "author"     ? &parts_.author
                                     : lower == "keywords" ? &parts_.keywords
                                     : lower == "revised"  ? &parts_.revised
                                                           : nullptr;
    if (slot == nullptr || slot->has_value()) return;
    const ByteRange raw{content->value_begin, content->value_end};
    const bool double_quoted = raw.begin > 0 && page_[raw.begin - 1] == '"' &&
                               raw.end < page_.size() && page_[raw.end] == '"';
    *slot = MetaValue{raw, double_quoted};
  }

  void OnEndTag(const HtmlToken& token) {
    const std::string& name = token.name;
    if (in_nav_) {
      if (name == "nav") {
        CloseMenuLink(token.begin);
        in_nav_ = false;
        nav_closed_ = true;
        seeking_end_marker_ = true;
        parts_.nav.end = token.end;
      } else if (name == "span" && label_depth_ > 0 && --label_depth_ == 0) {
        parts_.own_label = ByteRange{label_begin_, token.begin};
      } else if (name == "a") {
        CloseMenuLink(token.begin);
      } else if (name == "ul") {
        CloseMenuLink(token.begin);
        in_list_ = false;
      }
    } else if (name == "title" && title_begin_ && !parts_.title) {
      parts_.title = ByteRange{*title_begin_, token.begin};
    } else if (name == "h1" && heading_begin_ && !parts_.heading) {
      parts_.heading = ByteRange{*heading_begin_, token.begin};
    }
  }

  void CloseMenuLink(std::size_t at) {
    if (!in_link_) return;
    parts_.menu.back().label.end = at;
    in_link_ = false;
  }

  std::string_view page_;
  PageParts parts_;
  int navs_ = 0;
  bool in_nav_ = false;
  bool nav_closed_ = false;
  bool seeking_end_marker_ = false;
  bool in_list_ = false;
  bool in_link_ = false;
  int label_depth_ = 0;
  std::size_t label_begin_ = 0;
  std::optional<std::size_t> title_begin_;
  std::optional<std::size_t> heading_begin_;
};

}  // namespace

PageParts ReadPageParts(std::string_view page) { return PartsReader(page).Read(); }

}  // namespace trellan::siteupdate
