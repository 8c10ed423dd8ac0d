// The stylesheets stage: the .css files the pages use, checked once each
// behind the pages, and the url(...) and @import of stylesheets, <style>
// elements and style attributes, checked like links: a missing background
// picture or font is missing on the web server too.
#include "sitecheck/check_stages.h"
#include "sitecheck/css_reader.h"
#include "sitecheck/html_tokenizer.h"

namespace trellan::sitecheck {

void QueueStylesheet(CheckState& state, std::size_t entry) {
  std::size_t& queued = state.stylesheet_of_entry[entry];
  if (queued != 0) return;
  queued = state.pages.size();  // never 0: index.html or another page comes first
  PageState& sheet = state.pages.emplace_back();
  sheet.entry = entry;
  sheet.stylesheet = true;
}

void CheckStylesheet(CheckState& state, std::size_t sheet) {
  state.reading = {};
  const auto css = ReadDocument(state, sheet);
  if (!css) return;
  state.pages[sheet].checked = true;
  state.pages[sheet].lines = CountLines(*css);
  CheckCss(state, sheet, 1, *css, true);
}

void CheckCss(CheckState& state, std::size_t page, int line, std::string_view css, bool in_text) {
  for (const CssReference& reference : CssReferences(css))
    CheckUrl(state, page, in_text ? line + reference.line - 1 : line, reference.url);
}

}  // namespace trellan::sitecheck
