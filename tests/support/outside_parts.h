#pragma once
// The bytes of a page between its generated parts (title, author, keywords,
// revised date, navigation, heading): what a menu update must leave exactly
// as the learner wrote it.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "siteupdate/page_parts.h"

namespace trellan::test {

inline std::vector<std::string> OutsideParts(std::string_view page) {
  using siteupdate::ByteRange;
  const siteupdate::PageParts parts = siteupdate::ReadPageParts(page);
  std::vector<ByteRange> ranges{parts.nav};
  for (const auto* meta : {&parts.author, &parts.keywords, &parts.revised})
    if (*meta) ranges.push_back((*meta)->raw);
  for (const auto* range : {&parts.title, &parts.heading})
    if (*range) ranges.push_back(**range);
  std::sort(ranges.begin(), ranges.end(),
            [](ByteRange a, ByteRange b) { return a.begin < b.begin; });
  std::vector<std::string> outside;
  std::size_t done = 0;
  for (const ByteRange range : ranges) {
    outside.emplace_back(page.substr(done, range.begin - done));
    done = range.end;
  }
  outside.emplace_back(page.substr(done));
  return outside;
}

}  // namespace trellan::test
