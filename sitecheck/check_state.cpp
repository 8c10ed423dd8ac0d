#include "sitecheck/check_state.h"

#include <algorithm>

#include "sitecheck/check_rules.h"
#include "sitecheck/check_text.h"
#include "sitecheck/site_check.h"
#include "sitecheck/text_codec.h"

namespace trellan::sitecheck {

SiteIndex::SiteIndex(std::vector<SiteEntry> listing) {
  for (auto& entry : listing) {
    if (entry.path.empty() || IsBackupPath(entry.path) || exact_.contains(entry.path)) continue;
    if (entry.is_folder) entry.size = 0;
    exact_.emplace(entry.path, entries_.size());
    entries_.push_back(std::move(entry));
  }
  sorted_.resize(entries_.size());
  for (std::size_t i = 0; i < sorted_.size(); ++i) sorted_[i] = i;
  std::sort(sorted_.begin(), sorted_.end(),
            [&](std::size_t a, std::size_t b) { return entries_[a].path < entries_[b].path; });
  for (const std::size_t i : sorted_) {
    const SiteEntry& entry = entries_[i];
    folded_.try_emplace(FoldCase(entry.path), i);
    if (!entry.is_folder) by_name_.try_emplace(FoldCase(BaseName(entry.path)), i);
  }
}

Lookup SiteIndex::Find(const std::string& path) const {
  if (path.empty()) return Lookup{0, true, true};
  if (const auto it = exact_.find(path); it != exact_.end()) return Lookup{it->second, true, true};
  if (const auto it = folded_.find(FoldCase(path)); it != folded_.end())
    return Lookup{it->second, true, false};
  return Lookup{};
}

Lookup SiteIndex::FindFolderIndex(const std::string& folder) const {
  const std::string prefix = folder.empty() ? std::string() : folder + "/";
  for (const bool exact_only : {true, false}) {
    for (const auto name : kFolderIndexNames) {
      const Lookup index = Find(prefix + std::string(name));
      if (index.found && (index.exact || !exact_only) && !entries_[index.entry].is_folder)
        return index;
    }
  }
  return Lookup{};
}

std::optional<std::size_t> SiteIndex::FileNamed(const std::string& folded_name) const {
  const auto it = by_name_.find(folded_name);
  if (it == by_name_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::size_t> CheckState::PageOfEntry(std::size_t entry) const {
  const auto it = page_of_entry.find(entry);
  if (it == page_of_entry.end()) return std::nullopt;
  return it->second;
}

}  // namespace trellan::sitecheck
