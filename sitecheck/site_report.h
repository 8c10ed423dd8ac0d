#pragma once
// The check's result as the learner reads it: the report page written to
// the site folder, and the line of the closing notice.
#include <string>
#include <string_view>

#include "sitecheck/site_check.h"

namespace trellan::sitecheck {

struct ReportInfo {
  std::string site_folder;  // the checked folder as shown in the report (UTF-8)
  std::string checked_at;   // date and time of the check, as the platform writes them (UTF-8)
};

// The report: a German HTML5 page in UTF-8 (lang="de"), readable offline
// and printable, without any external resource or script, all its content
// in one main landmark. The site's own findings come first, then each page
// with findings in the order of `result.pages`, then each stylesheet with
// findings, each finding with its line, what it is about and one sentence
// on the fix; pages without findings are listed at the end. Every text
// from the site is escaped and made valid UTF-8.
std::string ReportHtml(const CheckResult& result, const ReportInfo& info);

// "Fehler", "Warnung" or "Hinweis", as the report's tables name a finding.
std::string_view SeverityName(Severity severity);

// "2 Fehler, 5 Warnungen, 3 Hinweise" (singular: "1 Fehler, 1 Warnung,
// 1 Hinweis"), in Windows-1252 like every text of the program's notices.
std::string CountsText(const CheckResult& result);

// The notices of the check, in Windows-1252 like CountsText; `folder` and
// `report_path` are ANSI paths, the folder with its trailing backslash.
// After a check: the counts, and where the report is.
std::string CheckedNoticeText(const CheckResult& result);
// Before a check, when there is nothing to check: no site folder, or one
// without index.html.
std::string NoSiteNoticeText(std::string_view folder, bool folder_exists);
// When the report could not be written.
std::string ReportFailedNoticeText(std::string_view report_path);

// The short German name of a kind of finding (UTF-8).
std::string_view KindTitle(FindingKind kind);

}  // namespace trellan::sitecheck
