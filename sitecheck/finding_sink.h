#pragma once
// Collects a check's findings: merges the same finding again on a page
// (same kind and key) into the first, counts every finding by severity and
// lists at most kMaxListedFindings per page.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sitecheck/check_rules.h"
#include "sitecheck/site_check.h"

namespace trellan::sitecheck {

class FindingSink {
 public:
  // Adds a finding on `page` (kSitePage for the site's own) at `line`
  // about `subject`, or merges it into the one of the same kind and `key`
  // before. A new listed finding gets its kind's usual fix sentence and is
  // returned (valid until the next Add), for a sentence that needs values
  // or another one to be set; nullptr otherwise, so that fixes are made
  // only for what is shown.
  Finding* Add(const std::string& page, FindingKind kind, int line, std::string_view key,
               std::string_view subject);

  std::vector<Finding> TakeFindings() { return std::move(findings_); }
  std::size_t Omitted(const std::string& page) const;
  std::size_t Count(Severity severity) const { return counts_[static_cast<std::size_t>(severity)]; }

 private:
  static constexpr std::size_t kNotListed = static_cast<std::size_t>(-1);
  struct Slot {
    std::size_t index;
    int last_line;
  };

  void Merge(Slot& slot, int line, std::string_view subject);

  std::unordered_map<std::string, Slot> slots_;
  std::unordered_map<std::string, std::size_t> listed_;
  std::unordered_map<std::string, std::size_t> omitted_;
  std::vector<Finding> findings_;
  std::array<std::size_t, kSeverityCount> counts_{};
};

// The page of the site's own findings (file names, the start page).
inline const std::string kSitePage;

}  // namespace trellan::sitecheck
