// libFuzzer target for reading a page's generated parts back, and the plan
// of a menu update over a site whose start page is the input: every range
// lies within the page, the generated parts never overlap (the update
// replaces each of them on its own), and the plan backs up exactly the
// pages it was given and writes each file once.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "siteupdate/page_parts.h"
#include "siteupdate/site_update.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {

using trellan::fuzz::Require;
using namespace trellan::siteupdate;

void RequireWithin(ByteRange range, ByteRange outer) {
  Require(outer.begin <= range.begin && range.begin <= range.end && range.end <= outer.end);
}

void CheckParts(std::string_view page, const PageParts& parts) {
  const ByteRange whole{0, page.size()};
  for (const ByteRange link : parts.links) RequireWithin(link, whole);
  std::vector<ByteRange> generated;
  for (const auto* meta : {&parts.author, &parts.keywords, &parts.revised})
    if (*meta) generated.push_back((*meta)->raw);
  if (parts.title) generated.push_back(*parts.title);
  if (parts.navigation == Navigation::Found) {
    RequireWithin(parts.nav, whole);
    if (parts.own_label) RequireWithin(*parts.own_label, parts.nav);
    for (const MenuLink& link : parts.menu) {
      RequireWithin(link.href, parts.nav);
      RequireWithin(link.label, parts.nav);
    }
    generated.push_back(parts.nav);
    if (parts.heading) Require(parts.heading->begin >= parts.nav.end);
  }
  if (parts.heading) generated.push_back(*parts.heading);
  for (std::size_t i = 0; i < generated.size(); ++i) {
    RequireWithin(generated[i], whole);
    for (std::size_t j = 0; j < i; ++j)
      Require(generated[i].end <= generated[j].begin || generated[j].end <= generated[i].begin);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string page(reinterpret_cast<const char*>(data), size);
  CheckParts(page, ReadPageParts(page));

  const std::vector<SitePage> site{
      {"index.html", page}, {"s02.html", page}, {"s03.html", std::string("<nav></nav>")}};
  trellan::GenerationRequest request;
  request.title = "T";
  request.menu_text = "Neu\r\nStart\r\nSeite 3";
  const UpdatePlan plan = PlanUpdate(site, request, "2026-12-08");
  for (const PlanFile& original : plan.originals) {
    bool given = false;
    for (const SitePage& page_given : site)
      given = given || (original.path == page_given.path && original.bytes == page_given.bytes);
    Require(given);
  }
  // Each file is written once, and what it replaces was backed up.
  for (std::size_t i = 0; i < plan.writes.size(); ++i) {
    Require(plan.writes[i].original < static_cast<int>(plan.originals.size()));
    for (std::size_t j = 0; j < i; ++j) Require(plan.writes[i].path != plan.writes[j].path);
  }
  return 0;
}
