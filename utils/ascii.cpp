#include "utils/ascii.h"

#include <algorithm>

namespace trellan {

namespace {

bool SameIgnoringCase(char a, char b) { return AsciiLower(a) == AsciiLower(b); }

}  // namespace

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool AsciiEqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameIgnoringCase);
}

bool AsciiStartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), SameIgnoringCase);
}

std::size_t AsciiFindIgnoringCase(std::string_view text, std::string_view needle) {
  const auto found =
      std::search(text.begin(), text.end(), needle.begin(), needle.end(), SameIgnoringCase);
  return found == text.end() && !needle.empty() ? std::string_view::npos
                                                : static_cast<std::size_t>(found - text.begin());
}

}  // namespace trellan
