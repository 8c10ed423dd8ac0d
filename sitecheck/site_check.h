#pragma once
// "Website prüfen": an offline check of a learner's site folder for the
// mistakes that show only after the upload, and for the sample content the
// learner has not replaced yet. It reads every page (.html/.htm, any case)
// in the folder and its sub-folders except the report itself, changes
// nothing, fetches nothing and never looks outside the folder.
//
// What counts as what:
//  - Errors: a local reference (href, src, every srcset candidate, poster,
//    object data, SVG's xlink:href, and each url(...) and @import of the
//    stylesheets, <style> elements and style attributes) whose target does
//    not exist; one that exists only in another upper/lower case (found on
//    Windows, not on the web server); a "#fragment" that names no id (nor
//    <a name>) in its page ("#" and "#top" need none); a reference that
//    leaves the site folder; a site without index.html.
//  - Warnings: file and folder names with other characters than ASCII
//    letters, digits, '-', '_' and '.'; an img without alt (alt="" is fine:
//    a decorative picture); a duplicate id in a page; a referenced picture
//    over 1 MB or wider than 2000 px; a page that no chain of links from
//    index.html reaches; a page or stylesheet too large, unreadable or not
//    text; a page that is not UTF-8 and does not declare its encoding; what
//    a limit below kept from being checked, once per page and reason, at
//    its lines.
//  - Hints: the sample's placeholders (the title, author and keywords texts
//    in <title> and the meta tags; the e-mail address and the password in
//    text and attribute values, and a file named like the password) and its
//    sample links: dummy.* (reported as a hint only, never as a missing
//    target) and the language links index-en/-fr/-es.html while those pages
//    do not exist.
//
// Rules for what is left open:
//  - A reference to a folder means its index.html (or index.htm), as on the
//    web server. Form actions, usemap and links made by scripts are not
//    followed.
//  - A page is read in the encoding its byte-order mark or <meta> declares
//    (UTF-8, or Windows-1252 under any of its labels); an undeclared page
//    that is not valid UTF-8 is read as Windows-1252. In a page declared in
//    another encoding, references with other than ASCII are not checked.
//  - The first <base href> sets where a page's relative references start;
//    when it leads out of the folder or to the web, they are not checked.
//  - Stylesheets are the .css files that pages (or their @import) refer to;
//    their references start at the stylesheet's own folder, and their
//    url(#id) names an element of the page that uses them, unchecked.
//  - The same finding again on the same page (same kind and the same target,
//    id or text) is reported once, with its further lines; the sample links
//    of a page are one hint. The counts count findings after this merging.
//  - The report of an earlier check (kReportFileName in the site folder) is
//    a file that links may name, but no page to check. The backups of the
//    menu update (kBackupFolderName) are no part of the site.
//  - A page lists at most kMaxListedFindings findings (the site as a whole
//    too); the rest are counted in `omitted_findings` and in the totals.
//    Subjects are cut at kMaxSubjectBytes.
//  - Pages and stylesheets over kMaxPageBytes are not read. A page with a
//    NUL byte in its first kTextProbeBytes is not text (a binary file, or
//    UTF-16): it is reported, not checked.
//  - Fragments are checked for at most kMaxFragmentChecksPerPage references
//    per page; a page not checked is taken to have every id. A tag's
//    attributes after its first HtmlTokenizer::kMaxAttributes are not
//    checked.
//  - Case-insensitive matching folds the letters NTFS folds for Latin,
//    Greek and Cyrillic; the web server is taken to match names exactly,
//    byte for byte (no Unicode normalisation).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sitecheck/site_files.h"

namespace trellan::sitecheck {

inline constexpr std::string_view kReportFileName = "_Pruefbericht.html";
inline constexpr std::string_view kBackupFolderName = "_Sicherung";
inline constexpr std::size_t kMaxPageBytes = 32u << 20;
inline constexpr std::size_t kTextProbeBytes = 8192;
inline constexpr std::size_t kMaxListedFindings = 200;
inline constexpr std::size_t kMaxListedLines = 20;
inline constexpr std::size_t kMaxFragmentChecksPerPage = 10000;
inline constexpr std::size_t kMaxSubjectBytes = 300;
inline constexpr std::uint64_t kLargePictureBytes = 1u << 20;
inline constexpr std::uint32_t kLargePictureWidth = 2000;

enum class Severity { Error, Warning, Hint };

// Each with its row in kFindingKinds (sitecheck/check_rules.cpp), in this
// order.
enum class FindingKind {
  // Errors
  MissingTarget,
  CaseMismatch,
  MissingFragment,
  OutsideSite,
  MissingStartPage,
  // Warnings
  UnsafeName,
  MissingAlt,
  DuplicateId,
  LargePicture,
  UnreachablePage,
  PageNotChecked,
  UndeclaredEncoding,
  PartNotChecked,
  // Hints
  PlaceholderTitle,
  PlaceholderAuthor,
  PlaceholderKeywords,
  SampleLink,
  SampleEmail,
  SamplePassword,
};

Severity SeverityOf(FindingKind kind);

struct Finding {
  Severity severity = Severity::Error;
  FindingKind kind = FindingKind::MissingTarget;
  // The page, relative to the site folder; empty for the site as a whole
  // (file names, the start page, the password page).
  std::string page;
  int line = 0;                 // 1-based, where the tag starts; 0: the whole page or site
  std::vector<int> more_lines;  // the same finding further down, at most kMaxListedLines
  std::size_t occurrences = 1;  // all lines, the listed ones included
  // What it is about, as written in the page or named on disk (a reference,
  // an id, a file name, a placeholder text), at most kMaxSubjectBytes; any
  // bytes, since they come from the site.
  std::string subject;
  std::string fix;  // one German sentence on how to fix it (UTF-8)
};

struct PageResult {
  std::string path;
  bool checked = false;            // false: too large, unreadable or not text
  int lines = 0;                   // when checked
  std::size_t external_links = 0;  // http, https, mailto, tel references
  std::size_t omitted_findings = 0;
};

struct CheckResult {
  // The site's own findings first, then each page's in the order of
  // `pages`, each by line.
  std::vector<Finding> findings;
  // Every page: index.html first, then by path.
  std::vector<PageResult> pages;
  // Every stylesheet the pages use, in the order the check found them.
  std::vector<PageResult> stylesheets;
  std::size_t omitted_site_findings = 0;
  std::size_t errors = 0;
  std::size_t warnings = 0;
  std::size_t hints = 0;
  std::size_t files = 0;
  std::size_t folders = 0;
};

// True for the report's own path (in the site folder, any case).
bool IsReportPath(std::string_view path);
// True for the backup folder in the site folder and all it holds (any case).
bool IsBackupPath(std::string_view path);

CheckResult CheckSite(SiteFiles& site);

}  // namespace trellan::sitecheck
