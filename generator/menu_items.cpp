#include "generator/menu_items.h"

#include "utils/utf8.h"

namespace trellan {

namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 32; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Consumes one line end at `pos`: CR LF, or a lone CR or LF.
std::size_t SkipLineBreak(std::string_view text, std::size_t pos) {
  if (pos < text.size() && text[pos] == '\r') ++pos;
  if (pos < text.size() && text[pos] == '\n') ++pos;
  return pos;
}

bool StartsWithLineBreak(std::string_view text, std::size_t pos) {
  return pos < text.size() && IsLineBreak(text[pos]);
}

}  // namespace

std::vector<std::string> SplitMenuItems(std::string_view text) {
  std::vector<std::string> items;
  std::size_t pos = 0;
  for (;;) {
    std::size_t end = pos;
    while (end < text.size() && !IsControl(text[end])) ++end;
    items.emplace_back(CutUtf8(text.substr(pos, end - pos), kMaxMenuItemBytes));
    // Whatever follows a pasted TAB or the like up to the line end is dropped.
    pos = end;
    while (pos < text.size() && !IsLineBreak(text[pos])) ++pos;
    pos = SkipLineBreak(text, pos);
    if (items.size() == kMaxMenuItems) break;
    if (StartsWithLineBreak(text, pos)) pos = SkipLineBreak(text, pos);
    if (pos >= text.size() || IsControl(text[pos])) break;
  }
  std::string& last = items.back();
  last.resize(CutUtf8(last, kMaxMenuItemBytes - kGlobeMarker.size()).size());
  return items;
}

}  // namespace trellan
