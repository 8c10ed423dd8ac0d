// The reachability stage: the start page, and the pages that no chain of
// links from it reaches.
#include <deque>

#include "sitecheck/check_rules.h"
#include "sitecheck/check_stages.h"

namespace trellan::sitecheck {

std::optional<std::size_t> CheckStartPage(CheckState& state) {
  const Lookup index = state.index.FindFolderIndex("");
  const auto page = index.found ? state.PageOfEntry(index.entry) : std::nullopt;
  if (!page) {
    state.sink.Add(kSitePage, FindingKind::MissingStartPage, 0, "", "index.html");
    return std::nullopt;
  }
  const std::string& path = state.index[index.entry].path;
  if (!index.exact) {
    if (Finding* finding = state.sink.Add(kSitePage, FindingKind::CaseMismatch, 0, path, path))
      finding->fix = FixText(OtherFix::StartPageCase, {{"path", path}});
  }
  return page;
}

void CheckReachability(CheckState& state, std::size_t start_page) {
  std::vector<bool> reached(state.pages.size(), false);
  std::deque<std::size_t> queue{start_page};
  reached[start_page] = true;
  while (!queue.empty()) {
    const std::size_t page = queue.front();
    queue.pop_front();
    for (const std::size_t next : state.pages[page].links) {
      if (!reached[next]) {
        reached[next] = true;
        queue.push_back(next);
      }
    }
  }
  for (std::size_t i = 0; i < state.pages.size(); ++i) {
    if (!reached[i] && !state.pages[i].stylesheet)
      state.sink.Add(state.PathOf(i), FindingKind::UnreachablePage, 0, "", state.PathOf(i));
  }
}

}  // namespace trellan::sitecheck
