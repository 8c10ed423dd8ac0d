// libFuzzer target for the page writer, through the plan's pages: any title,
// author, keywords and menu text. Every page is a whole page in CR LF lines
// whose menu lists each entry once, the page's own as the active one.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generator/menu_items.h"
#include "generator/site_plan.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {

using trellan::fuzz::Require;

constexpr std::string_view kMenuStart = "  <ul class=\"menu\">";
constexpr std::string_view kMenuEnd = "  </ul>";
constexpr std::string_view kActiveLine = "    <li class=\"aktiv\">";

// The page's lines without their CR LF; false when a line has a bare LF or
// the page does not end with a line end. Lines are compared by size first:
// a search over the whole page would cost the fuzzer more than the page.
bool SplitCrLfLines(std::string_view page, std::vector<std::string_view>& lines) {
  while (!page.empty()) {
    const std::size_t lf = page.find('\n');
    if (lf == std::string_view::npos || lf == 0 || page[lf - 1] != '\r') return false;
    lines.push_back(page.substr(0, lf - 1));
    page.remove_prefix(lf + 1);
  }
  return true;
}

bool Same(std::string_view a, std::string_view b) { return a.size() == b.size() && a == b; }

std::string PageName(std::size_t page) {
  if (page == 1) return "index.html";
  return "s" + std::string(page < 10 ? "0" : "") + std::to_string(page) + ".html";
}

// The menu: the lines after the last list start (the texts before it may
// hold anything, the entries after it no line break) up to the list's end.
void CheckMenu(const std::vector<std::string_view>& lines, std::size_t number,
               const std::vector<std::string>& items) {
  std::size_t start = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (Same(lines[i], kMenuStart)) start = i;
  Require(start < lines.size());
  std::size_t active = 0;
  std::size_t j = 0;
  for (std::size_t i = start + 1;; ++i, ++j) {
    Require(i < lines.size());
    if (Same(lines[i], kMenuEnd)) break;
    Require(j < items.size());
    const bool is_active = lines[i].starts_with(kActiveLine);
    active += is_active ? 1 : 0;
    Require(is_active == (j + 1 == number));
    std::string label = items[j];
    if (j + 1 == items.size()) label += trellan::kGlobeMarker;
    Require(Same(lines[i], std::string(is_active ? kActiveLine : "    <li>") + "<a href=\"" +
                               PageName(j + 1) + "\">" + label + "</a></li>"));
  }
  Require(j == items.size() && active == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  trellan::GenerationRequest request;
  request.title = input.ConsumeRandomLengthString(600);
  request.author = input.ConsumeRandomLengthString(600);
  request.keywords = input.ConsumeRandomLengthString(600);
  request.menu_text = input.ConsumeRemainingBytesAsString();
  const std::vector<std::string> items = trellan::SplitMenuItems(request.menu_text);

  const std::vector<trellan::SiteStep> steps = trellan::PlanPages(request, "2026-12-08", {});
  std::size_t pages = 0;
  for (const trellan::SiteStep& step : steps) {
    if (step.kind != trellan::StepKind::WriteFile || !step.target.ends_with(".html")) continue;
    ++pages;
    Require(step.target == PageName(pages) && step.bom);
    Require(step.bytes.starts_with("<!DOCTYPE html>") && step.bytes.ends_with("</html>\r\n"));
    std::vector<std::string_view> lines;
    Require(SplitCrLfLines(step.bytes, lines));
    CheckMenu(lines, pages, items);
  }
  Require(pages == items.size());
  return 0;
}
