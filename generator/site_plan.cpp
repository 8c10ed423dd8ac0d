#include "generator/site_plan.h"

#include <algorithm>
#include <utility>

#include "generator/menu_items.h"
#include "generator/page_writer.h"
#include "generator/run_texts.h"
#include "generator/site_content.h"
#include "generator/text_output.h"
#include "utils/ascii.h"

namespace trellan {

namespace {

// A file whose bytes are the program's own: the plan refers to them, since
// copying a third of a megabyte costs a run more than its pages do.
void AddFixedFile(std::vector<SiteStep>& steps, std::string target, std::string_view bytes,
                  bool bom = false) {
  steps.push_back({StepKind::WriteFile, std::move(target), {}, bom, bytes});
}

void PlanMedia(std::vector<SiteStep>& steps) {
  steps.push_back({StepKind::CreateFolder, "media"});
  for (const MediaFile& media : SampleMedia())
    AddFixedFile(steps, std::string(media.name), media.bytes);
  AddFixedFile(steps, "media\\_create-Thumbnails.cmd", ThumbnailScriptText());
}

}  // namespace

int PageNumberOf(std::string_view name) {
  if (AsciiEqualIgnoringCase(name, "index.html")) return 1;
  if (name.size() != 8 || AsciiLower(name[0]) != 's' || !IsAsciiDigit(name[1]) ||
      !IsAsciiDigit(name[2]) || !AsciiEqualIgnoringCase(name.substr(3), ".html"))
    return 0;
  const int page = (name[1] - '0') * 10 + (name[2] - '0');
  return page >= 2 ? page : 0;
}

SiteText SiteTextOf(const GenerationRequest& request) {
  return {WithCrLfLineEnds(request.title), WithCrLfLineEnds(request.author),
          WithCrLfLineEnds(request.keywords), SplitMenuItems(request.menu_text)};
}

std::vector<SiteStep> PlanPages(const GenerationRequest& request, std::string_view today,
                                const FolderContents& contents) {
  std::vector<SiteStep> steps;
  const SiteText site = SiteTextOf(request);
  const int count = static_cast<int>(site.items.size());
  for (int page = 1; page <= count; ++page)
    steps.push_back({StepKind::WriteFile, PageFileName(page), RenderPage(site, page, today), true});
  // Only pages that are there are deleted: one look at the folder instead of
  // a deletion attempt per possible name.
  for (std::string& name : StalePages(contents.html_files, count))
    steps.push_back({StepKind::RemoveFile, std::move(name)});
  return steps;
}

std::vector<std::string> StalePages(const std::vector<std::string>& found, int page_count) {
  std::vector<std::pair<int, std::string>> stale;
  for (const std::string& name : found) {
    const int page = PageNumberOf(name);
    if (page > page_count && page <= kLastStalePage) stale.emplace_back(page, name);
  }
  std::sort(stale.begin(), stale.end());
  std::vector<std::string> names;
  for (auto& entry : stale) names.push_back(std::move(entry.second));
  return names;
}

SitePlan PlanSite(const GenerationRequest& request, std::string_view today,
                  const FolderContents& contents, std::string folder) {
  SitePlan plan{std::move(folder), {}};
  std::vector<SiteStep>& steps = plan.steps;
  steps.push_back({StepKind::CreateFolder, ""});
  if (!request.css_only) {
    for (SiteStep& step : PlanPages(request, today, contents)) steps.push_back(std::move(step));
    PlanMedia(steps);
  }
  AddFixedFile(steps, "style.css", StylesheetText());
  AddFixedFile(steps, "zoom.js", ZoomScriptText(), true);
  // Explorer opens while the remaining files are still being written.
  if (request.open_explorer)
    steps.push_back({StepKind::StartExplorer, ExplorerCommandLine(plan.folder)});
  AddFixedFile(steps, "_FTP-Upload.cmd", FtpUploadScriptText());
  AddFixedFile(steps, "_Start.cmd", StartScriptText());
  AddFixedFile(steps, "_BackUp2OneDrive.cmd", BackupScriptText());
  AddFixedFile(steps, ".htaccess", HtaccessText());
  // Explorer's picture cache may be hidden, system or read-only.
  steps.push_back({StepKind::RemoveThumbnailCache, "Thumbs.db"});
  steps.push_back({StepKind::CreateFolder, "_ftp"});
  AddFixedFile(steps, "_ftp\\ftp-pipe.txt", FtpCommandText());
  return plan;
}

}  // namespace trellan
