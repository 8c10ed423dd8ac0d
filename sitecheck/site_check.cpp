#include "sitecheck/site_check.h"

#include <algorithm>
#include <unordered_map>

#include "sitecheck/check_stages.h"
#include "sitecheck/check_state.h"
#include "utils/ascii.h"

namespace trellan::sitecheck {

namespace {

PageResult PageResultOf(const CheckState& state, std::size_t page) {
  const PageState& scanned = state.pages[page];
  PageResult result;
  result.path = state.PathOf(page);
  result.checked = scanned.checked;
  result.lines = scanned.lines;
  result.external_links = scanned.external_links;
  result.omitted_findings = state.sink.Omitted(result.path);
  return result;
}

CheckResult ResultOf(CheckState& state) {
  CheckResult result;
  std::unordered_map<std::string, std::size_t> rank;  // the site's own findings first
  for (std::size_t i = 0; i < state.pages.size(); ++i) {
    auto& results = state.pages[i].stylesheet ? result.stylesheets : result.pages;
    results.push_back(PageResultOf(state, i));
    rank.emplace(results.back().path, i + 1);
  }
  result.findings = state.sink.TakeFindings();
  std::stable_sort(result.findings.begin(), result.findings.end(),
                   [&](const Finding& a, const Finding& b) {
                     const std::size_t rank_a = a.page.empty() ? 0 : rank.at(a.page);
                     const std::size_t rank_b = b.page.empty() ? 0 : rank.at(b.page);
                     if (rank_a != rank_b) return rank_a < rank_b;
                     return a.line < b.line;
                   });
  result.omitted_site_findings = state.sink.Omitted(kSitePage);
  result.errors = state.sink.Count(Severity::Error);
  result.warnings = state.sink.Count(Severity::Warning);
  result.hints = state.sink.Count(Severity::Hint);
  for (const auto& entry : state.index.entries())
    ++(entry.is_folder ? result.folders : result.files);
  return result;
}

}  // namespace

bool IsReportPath(std::string_view path) { return AsciiEqualIgnoringCase(path, kReportFileName); }

bool IsBackupPath(std::string_view path) {
  return AsciiEqualIgnoringCase(path.substr(0, path.find('/')), kBackupFolderName);
}

CheckResult CheckSite(SiteFiles& site) {
  CheckState state(site);
  CheckNames(state);
  CollectPages(state);
  const auto start_page = CheckStartPage(state);
  // The stylesheets join the list behind the pages as they are found.
  for (std::size_t page = 0; page < state.pages.size(); ++page) {
    if (state.pages[page].stylesheet)
      CheckStylesheet(state, page);
    else
      CheckPage(state, page);
  }
  CheckFragments(state);
  if (start_page) CheckReachability(state, *start_page);
  return ResultOf(state);
}

}  // namespace trellan::sitecheck
