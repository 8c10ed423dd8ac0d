#pragma once
// Applying the form's title, author, keywords and menu to a site the
// learner has worked on, as a plan: which page each menu entry keeps, the
// new bytes of every page that changes, what is backed up first, and what
// the learner is asked and told. Only the parts the page writer generated
// change, and links that lead to a renamed page; every other byte stays.
// The plan is decided here; system/ reads the pages and carries it out.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/generation_request.h"
#include "siteupdate/page_parts.h"

namespace trellan::siteupdate {

// A page of the site folder or one of its sub-folders (".html", ".htm"):
// its path relative to the folder, UTF-8 with '/' between names, and its
// bytes; nullopt when it could not be read.
struct SitePage {
  std::string path;
  std::optional<std::string> bytes;
};

// A page file that is renamed: links to `from` lead to `to` afterwards. An
// empty `to` is a page that leaves the site.
struct Rename {
  std::string from;  // a file name of the site folder, as found
  std::string to;
};

// One replacement in a page's bytes.
struct Edit {
  ByteRange range;
  std::string bytes;
};

// The page with the edits applied; edits that overlap an earlier one (in
// page order) are left out.
std::string ApplyEdits(std::string_view page, std::vector<Edit> edits);

// Appends the edits that point the links of `page` (at `page_path`) at
// renamed pages: of each href or src value that leads to a renamed file of
// the site folder, only the file name is replaced, so "../s05.html#oben"
// becomes "../s06.html#oben". Links within `skip` are left alone. Returns
// the number of links to pages that leave the site.
int AppendLinkEdits(std::vector<Edit>& edits, std::string_view page, const PageParts& parts,
                    std::string_view page_path, const std::vector<Rename>& renames, ByteRange skip);

// The same, applied: `page` with its links pointed at the renamed pages.
std::string RewriteLinks(std::string_view page, std::string_view page_path,
                         const std::vector<Rename>& renames);

// What the learner is asked about, in UTF-8: file names, and for the
// pages that are new, moved, removed or kept as they are one line each, as
// the question lists them (update_texts.h).
struct UpdateSummary {
  std::vector<std::string> updated;  // pages of the site that change, by their new names
  std::vector<std::string> created;
  std::vector<std::string> moved;    // renamed files and changed menu texts
  std::vector<std::string> removed;  // they leave the site into the backup
  std::vector<std::string> kept;     // pages of the site whose generated parts stay as they are
  std::vector<std::string> linking;  // the learner's own pages whose links change
  std::vector<std::string> unread;   // pages that could not be read
  std::vector<std::string> with_links_to_removed;
  int links_to_removed = 0;  // links that lead nowhere afterwards
};

// A file of the plan, by its path as in SitePage.
struct PlanFile {
  std::string path;
  std::string bytes;  // the whole file, byte-order mark included
  // A file written: the index in `originals` of the file it replaces, or
  // -1 for a new one.
  int original = -1;
  // An original: it is removed, not written over.
  bool removed = false;
};

struct UpdatePlan {
  // Pages of the site that could not be read: the update cannot be done.
  std::vector<std::string> blocked_by;
  // Every file that is written over or removed, as it is now: backed up
  // before anything changes, and put back when a change fails.
  std::vector<PlanFile> originals;
  std::vector<PlanFile> writes;
  UpdateSummary summary;

  bool ChangesNothing() const { return writes.empty() && originals.empty(); }
};

// The plan for the form's `request` (UTF-8, as a run gets it) over `pages`,
// every page of the folder and its sub-folders; `today` goes into the
// revised line of the pages that change.
UpdatePlan PlanUpdate(const std::vector<SitePage>& pages, const GenerationRequest& request,
                      std::string_view today);

// What "index.html" says of the form, as written (UTF-8): the title, the
// author, the keywords and, from the navigation, the menu lines without the
// globe marker, separated by CR LF. What cannot be found is nullopt.
struct SiteForm {
  std::optional<std::string> title;
  std::optional<std::string> author;
  std::optional<std::string> keywords;
  std::optional<std::string> menu_text;
};
SiteForm ReadSiteForm(std::string_view index_page);

}  // namespace trellan::siteupdate
