#pragma once
// The site folder as the check sees it: a list of entries and reads of
// file content. The Windows side implements it over the file system; tests
// fake it in memory. The check only ever reads.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trellan::sitecheck {

struct SiteEntry {
  // Relative to the site folder, UTF-8, '/' between names, exactly as on
  // disk (case preserved), without a leading or trailing '/'.
  std::string path;
  bool is_folder = false;
  std::uint64_t size = 0;  // bytes; 0 for a folder
};

class SiteFiles {
 public:
  virtual ~SiteFiles() = default;

  // Every file and folder in the site folder and its sub-folders, in any
  // order.
  virtual std::vector<SiteEntry> ListEntries() = 0;

  // The whole content of a listed file; nullopt when it cannot be read or
  // is larger than `max_bytes` (the check asks only for pages, and only for
  // those listed within that size).
  virtual std::optional<std::string> ReadFile(std::string_view path, std::size_t max_bytes) = 0;

  // Up to `length` bytes from `offset` of a listed file: fewer at its end,
  // none past it; nullopt when it cannot be read. Used for picture headers.
  virtual std::optional<std::string> ReadRange(std::string_view path, std::uint64_t offset,
                                               std::size_t length) = 0;
};

}  // namespace trellan::sitecheck
