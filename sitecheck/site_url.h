#pragma once
// How a reference in a page (href, src, a srcset candidate ...) leads to a
// file of the site, resolved as a browser resolves it against the page.
#include <string>
#include <string_view>
#include <vector>

namespace trellan::sitecheck {

enum class ReferenceKind {
  Local,        // a file or folder of the site (which may not exist)
  External,     // http, https, mailto, tel and "//host/...": counted, never fetched
  OutsideSite,  // "../" above the site folder, file: URLs, drive and network paths
  Ignored,      // empty, or another scheme (javascript:, data:, ftp: ...)
};

struct Reference {
  ReferenceKind kind = ReferenceKind::Ignored;
  // Local: the target relative to the site folder, '/'-separated, each
  // segment percent-decoded, without "." and ".." segments; empty for the
  // site folder itself. A decoded '/' inside a segment stays "%2F", since
  // no file name can hold it.
  std::string path;
  bool names_folder = false;  // ends with '/' (or "." / "..")
  bool same_page = false;     // only a query and/or a fragment: the page itself
  bool has_fragment = false;
  std::string fragment;  // after '#', as written
};

// Resolves `value` (an attribute value with its character references
// already decoded) for the page at `page_path` (relative to the site
// folder, '/'-separated): leading and trailing spaces and controls are
// stripped and tabs and line breaks removed as browsers do; '\' counts as
// '/' in the path (the query and the fragment keep it); a leading '/' is
// the site folder; "?query" is dropped. A value that
// starts with "\\" is a Windows network path, and a one-letter scheme
// ("C:") a drive: both lie outside the site.
Reference ResolveReference(std::string_view page_path, std::string_view value);

// The URLs of a srcset value, one per image candidate, in order.
std::vector<std::string_view> SrcsetUrls(std::string_view srcset);

}  // namespace trellan::sitecheck
