// libFuzzer target for the menu field: any bytes as the menu text. The
// entries keep their promises, and the plan has one page per entry.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generator/menu_items.h"
#include "generator/page_writer.h"
#include "generator/site_plan.h"
#include "tests/fuzz/fuzz_checks.h"
#include "utils/utf8.h"

namespace {

using trellan::IsValidUtf8;
using trellan::fuzz::Require;

void CheckItems(std::string_view text, const std::vector<std::string>& items) {
  Require(!items.empty() && items.size() <= trellan::kMaxMenuItems);
  const bool valid_text = IsValidUtf8(text);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string& item = items[i];
    Require(item.size() <= trellan::kMaxMenuItemBytes);
    for (char c : item) Require(static_cast<unsigned char>(c) >= 32);
    Require(text.find(item) != std::string_view::npos);  // a piece of the text, never made up
    // A cut falls between characters.
    if (valid_text) Require(IsValidUtf8(item));
  }
  // The last entry is shown with the whole globe marker, within 256 bytes.
  const trellan::SiteText site{{}, {}, {}, items};
  const std::string label = trellan::MenuLabel(site, items.size() - 1);
  Require(label.size() <= trellan::kMaxMenuItemBytes);
  Require(label.ends_with(trellan::kGlobeMarker));
  Require(label.substr(0, label.size() - trellan::kGlobeMarker.size()) == items.back());
}

// The plan's pages (PlanSite takes them from PlanPages): index.html,
// s02.html, ... one per entry, in order.
void CheckPages(std::string_view text, std::size_t item_count) {
  trellan::GenerationRequest request;
  request.menu_text = std::string(text);
  const std::vector<trellan::SiteStep> steps = trellan::PlanPages(request, "2026-12-08", {});
  std::size_t pages = 0;
  for (const trellan::SiteStep& step : steps) {
    if (step.kind != trellan::StepKind::WriteFile || !step.target.ends_with(".html")) continue;
    ++pages;
    Require(step.target == trellan::PageFileName(static_cast<int>(pages)));
  }
  Require(pages == item_count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> items = trellan::SplitMenuItems(text);
  CheckItems(text, items);
  CheckPages(text, items.size());
  return 0;
}
