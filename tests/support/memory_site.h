#pragma once
// A site folder in memory for the site check's tests, fuzz target and
// benchmark: files by path, their folders listed as the file system would.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sitecheck/site_files.h"

namespace trellan::test {

class MemorySite : public sitecheck::SiteFiles {
 public:
  void Add(std::string path, std::string content) { files_[std::move(path)] = std::move(content); }

  // How many bytes ReadRange has handed out, and how often it was called.
  std::uint64_t range_bytes = 0;
  std::size_t range_reads = 0;

  std::vector<sitecheck::SiteEntry> ListEntries() override {
    std::vector<sitecheck::SiteEntry> entries;
    std::set<std::string> folders;
    for (const auto& [path, content] : files_) {
      entries.push_back({path, false, content.size()});
      for (auto slash = path.find('/'); slash != std::string::npos;
           slash = path.find('/', slash + 1))
        folders.insert(path.substr(0, slash));
    }
    for (const auto& folder : folders) entries.push_back({folder, true, 0});
    return entries;
  }

  std::optional<std::string> ReadFile(std::string_view path, std::size_t max_bytes) override {
    const auto it = files_.find(std::string(path));
    if (it == files_.end() || it->second.size() > max_bytes) return std::nullopt;
    return it->second;
  }

  std::optional<std::string> ReadRange(std::string_view path, std::uint64_t offset,
                                       std::size_t length) override {
    const auto it = files_.find(std::string(path));
    if (it == files_.end()) return std::nullopt;
    ++range_reads;
    const std::string& content = it->second;
    if (offset >= content.size()) return std::string();
    const auto start = static_cast<std::size_t>(offset);
    const std::string piece = content.substr(start, std::min(length, content.size() - start));
    range_bytes += piece.size();
    return piece;
  }

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace trellan::test
