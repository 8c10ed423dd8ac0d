#include "mediatools/context_menu.h"

#include <shellapi.h>

#include <string>

#include "mediatools/context_menu_text.h"
#include "system/system.h"

namespace trellan {

namespace {

// The first viewer candidate that exists, or the empty text.
std::string FindViewer() {
  for (const ViewerCandidate& candidate : kViewerCandidates) {
    std::string path = candidate.folder;
    ExpandEnvironmentPath(path);
    path += candidate.file;
    if (PathExists(path)) return path;
  }
  return {};
}

// Offers the download page, then ends the program: the commands cannot
// work without the viewer, and the user is asked to start again after
// installing it.
[[noreturn]] void OfferViewerDownloadAndExit() {
  const HWND desktop = GetDesktopWindow();
  const int answer = IconMessageBox(desktop, ViewerMissingText().c_str(), kViewerMissingCaption,
                                    "i", MB_YESNOCANCEL | MB_USERICON);
  if (answer == IDYES)
    ShellExecuteA(desktop, "open", kViewerDownloadPage, nullptr, nullptr, SW_SHOWNORMAL);
  ExitProcess(kViewerMissingExitCode);
}

void AddCommands() {
  const std::string viewer = FindViewer();
  if (viewer.empty()) OfferViewerDownloadAndExit();
  WriteRegString(HKEY_CURRENT_USER, kThumbCommandKey, "", ThumbnailCommandLine(viewer));
  WriteRegString(HKEY_CURRENT_USER, kWebCommandKey, "", WebCommandLine(viewer));
}

// Each leaf before its parent, since a key with sub-keys is not deleted.
// Keys that are not there are simply skipped.
void RemoveCommands() {
  for (const char* key : {kThumbCommandKey, kThumbVerbKey, kWebCommandKey, kWebVerbKey})
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
}

}  // namespace

void SwitchContextMenu(bool activate) {
  if (activate)
    AddCommands();
  else
    RemoveCommands();
}

}  // namespace trellan
