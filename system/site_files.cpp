#include "system/site_files.h"

#include <windows.h>

#include <string_view>

#include "identity.h"
#include "system/handles.h"
#include "system/system.h"
#include "system/text_file_writer.h"
#include "utils/utf8.h"

namespace trellan {

namespace {

bool IsFolder(const WIN32_FIND_DATAA& found) {
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFolderPath(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void CarryOutStep(const std::string& folder, const SiteStep& step, RunOutcome& outcome) {
  const std::string path = folder + step.target;
  switch (step.kind) {
    case StepKind::CreateFolder:
      // Without the site folder every file would fail alike: the run stops
      // and says why. A subfolder's files fail and are named one by one.
      if (!CreateDirectoryA(path.c_str(), nullptr) && step.target.empty() && !IsFolderPath(path))
        outcome.folder_missing = true;
      break;
    case StepKind::WriteFile:
      if (const WriteResult result =
              WriteWholeFile(path, step.bom ? kUtf8Bom : std::string_view{}, step.Content());
          !result)
        outcome.failed.push_back({step.target, result});
      break;
    case StepKind::RemoveFile: DeleteFileA(path.c_str()); break;
    case StepKind::StartExplorer: RunCommandLine(step.target, SW_SHOWNORMAL); break;
    case StepKind::RemoveThumbnailCache:
      // Usually there is none: a reset that finds no file leaves nothing to
      // delete.
      if (SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) ||
          GetLastError() != ERROR_FILE_NOT_FOUND)
        DeleteFileA(path.c_str());
      break;
  }
}

}  // namespace

std::string SiteFolderPath() { return ShellFolderPath("Desktop") + "\\" + kSiteFolderName + "\\"; }

FolderContents ScanSiteFolder(const std::string& folder) {
  FolderContents contents;
  WIN32_FIND_DATAA found{};
  const FindHandle search(FindFirstFileA((folder + "*.html").c_str(), &found));
  if (!search) return contents;
  do {
    // Names compare without regard to case, as the file system does.
    if (lstrcmpiA(found.cFileName, "index.html") == 0) contents.has_index = true;
    if (!IsFolder(found)) contents.html_files.emplace_back(found.cFileName);
  } while (FindNextFileA(search.get(), &found));
  return contents;
}

RunOutcome CarryOut(const SitePlan& plan) {
  RunOutcome outcome;
  for (const SiteStep& step : plan.steps) {
    CarryOutStep(plan.folder, step, outcome);
    if (outcome.folder_missing) break;
  }
  return outcome;
}

}  // namespace trellan
