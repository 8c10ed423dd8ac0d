#pragma once
// Splitting the menu field into the site's menu entries, one page each.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trellan {

inline constexpr std::size_t kMaxMenuItems = 20;
// A menu entry's text, marker included, holds at most this many bytes.
inline constexpr std::size_t kMaxMenuItemBytes = 256;
// Appended to the last entry: it becomes the site's language choice.
inline constexpr std::string_view kGlobeMarker = "<span class=\"lang\"> &#x1f310;</span>";

// The entries' own texts (without the globe marker), 1 to 20 of them.
// A line is ended by CR LF (a lone CR or LF counts as well); one empty line
// between entries is skipped, a second one ends the list, and so does a
// line that starts with another control character. An entry ends at its
// first control character; the rest of such a line is dropped. Each text
// is cut at a character boundary so that it fits 256 bytes, the last one
// so that it fits together with the globe marker.
std::vector<std::string> SplitMenuItems(std::string_view utf8_menu_text);

}  // namespace trellan
