// The pages stage: which files are pages, reading each in its encoding,
// its <base href>, and scanning it token by token for the tag and text
// checks.
#include <algorithm>

#include "sitecheck/check_rules.h"
#include "sitecheck/check_stages.h"
#include "sitecheck/check_text.h"
#include "sitecheck/page_encoding.h"
#include "sitecheck/site_url.h"
#include "sitecheck/text_codec.h"
#include "utils/ascii.h"
#include "utils/utf8.h"

namespace trellan::sitecheck {

namespace {

void NotChecked(CheckState& state, std::size_t page, std::string_view reason,
                std::optional<OtherFix> fix) {
  Finding* finding = state.sink.Add(state.PathOf(page), FindingKind::PageNotChecked, 0, "", reason);
  if (finding != nullptr && fix) finding->fix = FixText(*fix);
}

void CheckStartTag(CheckState& state, std::size_t page, const HtmlToken& tag) {
  if (tag.more_attributes) {
    if (Finding* finding = state.sink.Add(state.PathOf(page), FindingKind::PartNotChecked, tag.line,
                                          "attributes", "<" + tag.name + ">"))
      finding->fix = FixText(OtherFix::AttributeLimit);
  }
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
    } else if (token.kind == TokenKind::RawText && token.name == "style") {
      CheckCss(state, page, token.line, token.text, true);
    }
  }
}

// Pages saved as Windows-1252 become UTF-8, as browsers read them.
void DecodePage(CheckState& state, std::size_t page, std::string& html) {
  const EncodingDeclaration declared = DeclaredEncoding(html);
  if (declared.encoding == PageEncoding::Other) {
    if (!IsAscii(html)) state.reading.undecoded_encoding = declared.label;
    return;
  }
  if (declared.encoding == PageEncoding::Utf8) {
    if (declared.declared || IsValidUtf8(html)) return;
    state.sink.Add(state.PathOf(page), FindingKind::UndeclaredEncoding, 0, "", "");
  }
  html = Windows1252ToUtf8(html);
}

// Whether "<base" stands anywhere: a quick look before a second scan.
bool HasBaseTag(std::string_view html) {
  for (std::size_t at = html.find('<'); at != std::string_view::npos; at = html.find('<', at + 1))
    if (at + 1 < html.size() && AsciiLower(html[at + 1]) == 'b' &&
        AsciiStartsWithIgnoringCase(html.substr(at + 1, 4), "base"))
      return true;
  return false;
}

// The first <base href> decides where the page's relative references
// start, wherever it stands.
void ReadBase(CheckState& state, std::size_t page, std::string_view html) {
  if (!HasBaseTag(html)) return;
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  while (tokenizer.Next(token)) {
    const std::string* href = token.kind == TokenKind::StartTag && token.name == "base"
                                  ? token.Attribute("href")
                                  : nullptr;
    if (href == nullptr) continue;
    const Reference base = ResolveReference(state.PathOf(page), *href);
    if (base.kind == ReferenceKind::Local && !base.same_page) {
      state.reading.base = base.path + (base.names_folder ? "/" : "");
    } else if (base.kind == ReferenceKind::External || base.kind == ReferenceKind::OutsideSite) {
      state.reading.base_elsewhere = true;
      state.sink.Add(state.PathOf(page), FindingKind::PartNotChecked, token.line, "base", *href);
    }
    return;
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

std::optional<std::string> ReadDocument(CheckState& state, std::size_t page) {
  const SiteEntry& entry = state.index[state.pages[page].entry];
  if (entry.size > kMaxPageBytes) {
    NotChecked(state, page, SizeText(entry.size), OtherFix::PageTooLarge);
    return std::nullopt;
  }
  auto content = state.files.ReadFile(entry.path, kMaxPageBytes);
  if (!content) NotChecked(state, page, "nicht lesbar", OtherFix::PageUnreadable);
  return content;
}

void CheckPage(CheckState& state, std::size_t page) {
  state.reading = {};
  auto html = ReadDocument(state, page);
  if (!html) return;
  const std::string_view probe = std::string_view(*html).substr(0, kTextProbeBytes);
  if (probe.find('\0') != std::string_view::npos)
    return NotChecked(state, page, "keine UTF-8-Textdatei", std::nullopt);
  state.pages[page].checked = true;
  state.pages[page].lines = CountLines(*html);
  DecodePage(state, page, *html);
  ReadBase(state, page, *html);
  ScanPage(state, page, *html);
}

}  // namespace trellan::sitecheck
