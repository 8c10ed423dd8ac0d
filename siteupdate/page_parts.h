#pragma once
// Reading back what the page writer generated in a page the learner has
// worked on: the navigation element, the head's title and meta values, the
// heading, and every href and src value. It reads with the site check's
// tokenizer, so changed spaces, line ends, attribute order and case do not
// stop it, and it only says where things stand: nothing is decoded that
// would not be written back as it stands.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trellan::siteupdate {

// Bytes [begin, end) of a page.
struct ByteRange {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool operator==(const ByteRange&) const = default;
};

// Whether the page's navigation can be replaced: exactly one <nav> element
// with its end tag, in a page of text.
enum class Navigation { Found, Missing, Several, Unclosed, NotText };

// A link of the navigation's menu: its href value as written (without its
// quotes) and its content.
struct MenuLink {
  ByteRange href;
  ByteRange label;
};

// A meta element's content value as written, without its quotes.
struct MetaValue {
  ByteRange raw;
  bool double_quoted = false;  // the form the page writer gives it
};

struct PageParts {
  Navigation navigation = Navigation::Missing;
  // Found: the nav element, with the marker comment that follows its end tag
  // across blanks and line breaks.
  ByteRange nav;
  // Inside the nav element: the small-screen title's content, and the links
  // of its list in order (the logo link, outside the list, is not one).
  std::optional<ByteRange> own_label;
  std::vector<MenuLink> menu;
  // The first of each before the navigation, where the head is; the title
  // element's text may be empty.
  std::optional<ByteRange> title;
  std::optional<MetaValue> author;
  std::optional<MetaValue> keywords;
  std::optional<MetaValue> revised;
  // The content of the first h1 after the navigation.
  std::optional<ByteRange> heading;
  // Every href and src value as written (without its quotes), in page
  // order.
  std::vector<ByteRange> links;
};

// Reads the parts of `page` (its bytes as on disk, a byte-order mark
// included). A page with a NUL byte (UTF-16, say) is not text: nothing of it
// is read. Ranges always lie within the page, in page order.
PageParts ReadPageParts(std::string_view page);

inline std::string_view TextAt(std::string_view page, ByteRange range) {
  return page.substr(range.begin, range.end - range.begin);
}

}  // namespace trellan::siteupdate
