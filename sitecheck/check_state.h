#pragma once
// What the stages of a check share: the site folder as listed, with its
// lookups by path; the pages and what their scan found; the findings.
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "sitecheck/finding_sink.h"
#include "sitecheck/picture_size.h"
#include "sitecheck/site_files.h"

namespace trellan::sitecheck {

struct Lookup {
  std::size_t entry = 0;
  bool found = false;
  bool exact = false;  // false: found in another upper/lower case
};

// The listing of the site folder, each path once.
class SiteIndex {
 public:
  explicit SiteIndex(std::vector<SiteEntry> listing);

  const std::vector<SiteEntry>& entries() const { return entries_; }
  const SiteEntry& operator[](std::size_t entry) const { return entries_[entry]; }
  // Entry indices in path order, so that what comes "first" and the site's
  // findings do not depend on the order of the listing.
  const std::vector<std::size_t>& sorted() const { return sorted_; }

  // A path as written (decoded) against the listing: exactly, else in
  // another case. The empty path is the site folder.
  Lookup Find(const std::string& path) const;
  // The index.html (or index.htm) of a folder ("" for the site folder),
  // one in the exact case first.
  Lookup FindFolderIndex(const std::string& folder) const;
  // The first file in path order whose name folds to `folded_name`.
  std::optional<std::size_t> FileNamed(const std::string& folded_name) const;

 private:
  std::vector<SiteEntry> entries_;
  std::vector<std::size_t> sorted_;
  std::unordered_map<std::string, std::size_t> exact_;
  std::unordered_map<std::string, std::size_t> folded_;
  std::unordered_map<std::string, std::size_t> by_name_;  // folded file name → first file
};

struct PendingFragment {
  std::size_t target_page;
  std::string fragment;
  int line;
  std::string subject;
};

// A page, or a stylesheet that a page or another stylesheet refers to.
struct PageState {
  std::size_t entry = 0;
  bool stylesheet = false;
  bool checked = false;
  int lines = 0;
  std::size_t external_links = 0;
  std::unordered_map<std::string, int> ids;  // id → line of its first element
  std::unordered_set<std::string> anchor_names;
  std::unordered_set<std::size_t> links;  // pages reached by its references
  std::vector<PendingFragment> fragments;
};

// What the page being read sets for its references.
struct ReadingState {
  // Where relative references start when a <base href> inside the site
  // moves them, as ResolveReference takes a page's path (a folder ends with
  // '/'); empty: the page itself. With a base that leads elsewhere they are
  // not checked.
  std::string base;
  bool base_elsewhere = false;
  // The label of an encoding the check cannot decode, when the page has
  // other than ASCII: references with other than ASCII are not checked.
  std::string undecoded_encoding;
  bool fragments_limited = false;  // more than kMaxFragmentChecksPerPage, said once
};

struct CheckState {
  explicit CheckState(SiteFiles& site_files) : files(site_files), index(site_files.ListEntries()) {}

  const std::string& PathOf(std::size_t page) const { return index[pages[page].entry].path; }
  std::optional<std::size_t> PageOfEntry(std::size_t entry) const;

  SiteFiles& files;
  SiteIndex index;
  // Every page, index.html first, then by path, and after them the
  // stylesheets as the check finds them; the page and the stylesheet of an
  // entry.
  std::vector<PageState> pages;
  std::unordered_map<std::size_t, std::size_t> page_of_entry;
  std::unordered_map<std::size_t, std::size_t> stylesheet_of_entry;
  ReadingState reading;  // of the page or stylesheet being read
  std::unordered_map<std::size_t, std::optional<PictureSize>> picture_sizes;  // by entry
  FindingSink sink;
};

}  // namespace trellan::sitecheck
