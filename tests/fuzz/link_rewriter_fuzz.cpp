// libFuzzer target for pointing a page's links at renamed pages: the input
// is a page's path (up to the first line break) and the page. Only bytes
// inside href and src values change, each edit replaces a file name by the
// new one, and the edits come in page order without overlapping.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "siteupdate/site_update.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {

using trellan::fuzz::Require;
using namespace trellan::siteupdate;

const std::vector<Rename> kRenames{{"s05.html", "s06.html"},
                                   {"index.html", "s02.html"},
                                   {"S02.HTML", "index.html"},
                                   {"s03.html", ""}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t line_end = input.find('\n');
  const std::string_view path = input.substr(0, line_end);
  const std::string_view page =
      line_end == std::string_view::npos ? std::string_view() : input.substr(line_end + 1);

  const PageParts parts = ReadPageParts(page);
  std::vector<Edit> edits;
  const int to_removed = AppendLinkEdits(edits, page, parts, path, kRenames, {});
  Require(to_removed >= 0 && static_cast<std::size_t>(to_removed) <= parts.links.size());
  std::size_t previous_end = 0;
  std::size_t link = 0;
  std::size_t expected_size = page.size();
  for (const Edit& edit : edits) {
    Require(edit.range.begin >= previous_end && edit.range.begin <= edit.range.end);
    while (link < parts.links.size() && parts.links[link].end < edit.range.end) ++link;
    Require(link < parts.links.size() && parts.links[link].begin <= edit.range.begin);
    Require(edit.bytes == "s06.html" || edit.bytes == "s02.html" || edit.bytes == "index.html");
    previous_end = edit.range.end;
    expected_size += edit.bytes.size() - (edit.range.end - edit.range.begin);
  }
  const std::string rewritten = RewriteLinks(page, path, kRenames);
  Require(rewritten.size() == expected_size);
  if (edits.empty()) Require(rewritten == page);
  return 0;
}
