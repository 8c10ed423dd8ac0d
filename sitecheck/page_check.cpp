// The pages stage: which files are pages, reading each, and scanning it
// token by token for the tag and text checks.
#include <algorithm>

#include "sitecheck/check_rules.h"
#include "sitecheck/check_stages.h"
#include "sitecheck/check_text.h"
#include "sitecheck/text_codec.h"
#include "utils/ascii.h"

namespace trellan::sitecheck {

namespace {

void NotChecked(CheckState& state, std::size_t page, std::string_view reason,
                std::optional<OtherFix> fix) {
  Finding* finding = state.sink.Add(state.PathOf(page), FindingKind::PageNotChecked, 0, "", reason);
  if (finding != nullptr && fix) finding->fix = FixText(*fix);
}

void CheckStartTag(CheckState& state, std::size_t page, const HtmlToken& tag) {
  CollectAnchors(state, page, tag);
  CheckAlt(state, page, tag);
  if (tag.name == "meta") CheckPlaceholderMeta(state, page, tag);
  for (const auto& attribute : tag.attributes) {
    CheckReferences(state, page, tag, attribute);
    CheckSampleTexts(state, page, tag.line, attribute.value, false);
  }
}

void ScanPage(CheckState& state, std::size_t page, std::string_view html) {
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  while (tokenizer.Next(token)) {
    if (token.kind == TokenKind::StartTag) {
      CheckStartTag(state, page, token);
    } else if (token.kind == TokenKind::Text) {
      if (token.name == "title") CheckTitle(state, page, token);
      CheckSampleTexts(state, page, token.line, token.text, true);
    }
  }
}

}  // namespace

void CollectPages(CheckState& state) {
  for (const std::size_t i : state.index.sorted()) {
    const SiteEntry& entry = state.index[i];
    // The report of an earlier check is a file of the site, but no page.
    if (!entry.is_folder && IsPagePath(entry.path) && !IsReportPath(entry.path)) {
      state.pages.emplace_back();
      state.pages.back().entry = i;
    }
  }
  // index.html (or .htm) of the site folder first, as a visitor sees it.
  std::stable_partition(state.pages.begin(), state.pages.end(), [&](const PageState& page) {
    return IsOneOf(FoldCase(state.index[page.entry].path), kFolderIndexNames);
  });
  for (std::size_t i = 0; i < state.pages.size(); ++i)
    state.page_of_entry[state.pages[i].entry] = i;
}

void CheckPage(CheckState& state, std::size_t page) {
  const SiteEntry& entry = state.index[state.pages[page].entry];
  if (entry.size > kMaxPageBytes)
    return NotChecked(state, page, SizeText(entry.size), OtherFix::PageTooLarge);
  const auto html = state.files.ReadFile(entry.path, kMaxPageBytes);
  if (!html) return NotChecked(state, page, "nicht lesbar", OtherFix::PageUnreadable);
  const std::string_view probe = std::string_view(*html).substr(0, kTextProbeBytes);
  if (probe.find('\0') != std::string_view::npos)
    return NotChecked(state, page, "keine UTF-8-Textdatei", std::nullopt);
  state.pages[page].checked = true;
  state.pages[page].lines = CountLines(*html);
  ScanPage(state, page, *html);
}

}  // namespace trellan::sitecheck
