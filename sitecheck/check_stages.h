#pragma once
// The stages of a check, each over the shared CheckState. CheckSite runs
// them in this order: names, pages collected, start page, each page read
// and scanned, then each stylesheet they refer to, fragments,
// reachability. The scan of a page hands each start tag to the ids, alt and
// meta checks, then each of its attributes to the references and the
// sample texts, and each text to the title and the sample texts, and each
// <style> to the stylesheet check: findings on one line are listed in that
// order.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "sitecheck/check_state.h"
#include "sitecheck/html_tokenizer.h"

namespace trellan::sitecheck {

// Names (name_check.cpp): file and folder names with unsafe characters,
// and a page named like the sample password.
void CheckNames(CheckState& state);

// Pages (page_check.cpp): lists the pages, index.html first; reads a page
// or a stylesheet, or says why it is not checked; reads a page in its
// encoding, finds its <base href> and scans it.
void CollectPages(CheckState& state);
std::optional<std::string> ReadDocument(CheckState& state, std::size_t page);
void CheckPage(CheckState& state, std::size_t page);

// Stylesheets (stylesheet_check.cpp): each .css file a page or stylesheet
// refers to is queued behind the pages; its url(...) and @import, and
// those of <style> elements and style attributes (`in_text`: at their
// lines from `line` on, else all at `line`).
void QueueStylesheet(CheckState& state, std::size_t entry);
void CheckStylesheet(CheckState& state, std::size_t sheet);
void CheckCss(CheckState& state, std::size_t page, int line, std::string_view css, bool in_text);

// Reachability (reachability_check.cpp): the start page, and the pages no
// chain of links reaches from it.
std::optional<std::size_t> CheckStartPage(CheckState& state);
void CheckReachability(CheckState& state, std::size_t start_page);

// Ids and fragments (anchor_check.cpp): a tag's id and <a name>, duplicate
// ids; after all pages, each "#fragment" against its target's ids.
void CollectAnchors(CheckState& state, std::size_t page, const HtmlToken& tag);
void CheckFragments(CheckState& state);

// Pictures (picture_check.cpp): an img without alt; a referenced picture
// too heavy or too wide for the web.
void CheckAlt(CheckState& state, std::size_t page, const HtmlToken& tag);
void CheckPictureSize(CheckState& state, std::size_t page, int line, std::size_t entry);

// Placeholders (placeholder_check.cpp): the sample's title and meta texts,
// its e-mail address and password in text and attribute values.
void CheckPlaceholderMeta(CheckState& state, std::size_t page, const HtmlToken& tag);
void CheckTitle(CheckState& state, std::size_t page, const HtmlToken& text);
void CheckSampleTexts(CheckState& state, std::size_t page, int line, std::string_view text,
                      bool in_text);

// References (reference_check.cpp): every reference attribute's targets,
// files, folders and fragments, and the sample links; one URL at a line.
void CheckReferences(CheckState& state, std::size_t page, const HtmlToken& tag,
                     const HtmlAttribute& attribute);
void CheckUrl(CheckState& state, std::size_t page, int line, std::string_view url);

}  // namespace trellan::sitecheck
