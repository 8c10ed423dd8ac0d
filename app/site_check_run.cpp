#include "app/site_check_run.h"

#include <string>

#include "identity.h"
#include "sitecheck/site_check.h"
#include "sitecheck/site_report.h"
#include "system/site_check_files.h"
#include "system/site_files.h"
#include "system/system.h"
#include "system/text_file_writer.h"

namespace trellan {

namespace {

void Notice(HWND dialog, const std::string& text, UINT icon) {
  MessageBoxA(dialog, text.c_str(), kProgramCaption, MB_OK | icon);
}

}  // namespace

void CheckSiteFolder(HWND dialog) {
  const std::string folder = SiteFolderPath();
  // A folder named index.html is no start page.
  if (!FileExists(folder + "index.html")) {
    Notice(dialog, sitecheck::NoSiteNoticeText(folder, PathExists(folder)), MB_ICONINFORMATION);
    return;
  }
  DiskSiteFiles files(folder);
  const sitecheck::CheckResult result = sitecheck::CheckSite(files);
  // The folder by its name only: the upload script sends every .html file,
  // the report too, and the full path would carry the learner's user name.
  const std::string report = sitecheck::ReportHtml(result, {kSiteFolderName, TodayText()});
  const std::string report_path = folder + std::string(sitecheck::kReportFileName);
  if (!WriteWholeFile(report_path, {}, report)) {
    Notice(dialog, sitecheck::ReportFailedNoticeText(report_path), MB_ICONWARNING);
    return;
  }
  OpenDocument(report_path);
  Notice(dialog, sitecheck::CheckedNoticeText(result), MB_ICONINFORMATION);
}

}  // namespace trellan
