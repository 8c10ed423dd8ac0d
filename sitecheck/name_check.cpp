// The names stage: file and folder names that break links on the web
// server, and a page named like the sample password.
#include <algorithm>
#include <array>

#include "sitecheck/check_rules.h"
#include "sitecheck/check_stages.h"
#include "sitecheck/check_text.h"
#include "sitecheck/text_codec.h"
#include "utils/ascii.h"
#include "utils/utf8.h"

namespace trellan::sitecheck {

namespace {

bool IsSafeName(std::string_view name) {
  if (name.empty()) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return IsAsciiAlnum(c) || c == '-' || c == '_' || c == '.'; });
}

// Latin-1 letters U+00C0-U+00FF spelled in ASCII; "-" where there is none.
constexpr std::array<std::string_view, 64> kLatin1InAscii = {
    "A", "A", "A", "A", "Ae", "A", "AE", "C", "E", "E", "E", "E", "I",  "I", "I",  "I",
    "D", "N", "O", "O", "O",  "O", "Oe", "x", "O", "U", "U", "U", "Ue", "Y", "Th", "ss",
    "a", "a", "a", "a", "ae", "a", "ae", "c", "e", "e", "e", "e", "i",  "i", "i",  "i",
    "d", "n", "o", "o", "o",  "o", "oe", "-", "o", "u", "u", "u", "ue", "y", "th", "y"};

// A name of only safe characters for a name that has others: umlauts
// spelled out, everything else a single '-'.
std::string SafeNameFor(std::string_view name) {
  std::string spelled;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const Utf8Char c = ReadUtf8(name, i);
    if (c.valid && c.code_point >= 0xC0 && c.code_point <= 0xFF) {
      spelled += kLatin1InAscii[c.code_point - 0xC0];
      ++i;
    } else if (IsSafeName(name.substr(i, 1))) {
      spelled.push_back(name[i]);
    } else {
      spelled.push_back('-');
    }
  }
  std::string safe;
  for (const char c : spelled) {
    if (c == '-' && (safe.empty() || safe.back() == '-' || safe.back() == '.')) continue;
    if (c == '.' && !safe.empty() && safe.back() == '-') safe.pop_back();
    safe.push_back(c);
  }
  while (!safe.empty() && safe.back() == '-') safe.pop_back();
  if (safe.empty() || safe.find_first_not_of('.') == std::string::npos) safe = "datei";
  return safe;
}

}  // namespace

void CheckNames(CheckState& state) {
  const std::string password_page = FoldCase(kSamplePassword) + ".";
  for (const std::size_t i : state.index.sorted()) {
    const SiteEntry& entry = state.index[i];
    const std::string_view name = BaseName(entry.path);
    if (!IsSafeName(name)) {
      if (Finding* finding =
              state.sink.Add(kSitePage, FindingKind::UnsafeName, 0, entry.path, entry.path))
        finding->fix =
            FixText(FindingKind::UnsafeName, {{"name", name}, {"safe", SafeNameFor(name)}});
    }
    if (!entry.is_folder && FoldCase(name).starts_with(password_page)) {
      if (Finding* finding =
              state.sink.Add(kSitePage, FindingKind::SamplePassword, 0, entry.path, entry.path))
        finding->fix = FixText(OtherFix::PasswordPageName);
    }
  }
}

}  // namespace trellan::sitecheck
