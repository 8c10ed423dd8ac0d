#pragma once
// The site folder on disk as the site check reads it: a recursive listing,
// whole pages and picture headers. Names go through the wide API, since a
// learner's file names may hold characters that Windows-1252 lacks, and
// reach the check in UTF-8. Nothing is ever written.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sitecheck/site_files.h"
#include "system/handles.h"

namespace trellan {

class DiskSiteFiles : public sitecheck::SiteFiles {
 public:
  // `folder`: the site folder in the ANSI code page, with or without its
  // trailing backslash.
  explicit DiskSiteFiles(std::string_view folder);

  // Folders that are reparse points (junctions, links) are listed but not
  // entered, and linked files are left out: both may lead outside the site.
  std::vector<sitecheck::SiteEntry> ListEntries() override;
  std::optional<std::string> ReadFile(std::string_view path, std::size_t max_bytes) override;
  std::optional<std::string> ReadRange(std::string_view path, std::uint64_t offset,
                                       std::size_t length) override;

 private:
  // The wide path of a listed entry, exactly as the listing found it; empty
  // for a path that was not listed.
  std::wstring WidePathOf(std::string_view path) const;

  std::wstring folder_;  // ends with a backslash
  // Each listed file's UTF-8 path → its name on disk below folder_.
  std::unordered_map<std::string, std::wstring> listed_;
  // The file of the last ReadRange, kept open: a picture's header comes in
  // several small reads, and opening a file costs more than reading it.
  std::string open_path_;
  FileHandle open_file_;
};

}  // namespace trellan
