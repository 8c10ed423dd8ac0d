#include "system/context_menu_keys.h"

#include <windows.h>

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

ContextMenuOutcome AddCommands() {
  const std::string viewer = FindViewer();
  if (viewer.empty()) return ContextMenuOutcome::ViewerMissing;
  const bool thumb =
      WriteRegString(HKEY_CURRENT_USER, kThumbCommandKey, "", ThumbnailCommandLine(viewer));
  const bool web = WriteRegString(HKEY_CURRENT_USER, kWebCommandKey, "", WebCommandLine(viewer));
  return thumb && web ? ContextMenuOutcome::Added : ContextMenuOutcome::Failed;
}

// A key with sub-keys is not deleted, so each leaf goes before its parent.
ContextMenuOutcome RemoveCommands() {
  ContextMenuOutcome outcome = ContextMenuOutcome::Removed;
  for (const char* key : {kThumbCommandKey, kThumbVerbKey, kWebCommandKey, kWebVerbKey}) {
    const LSTATUS status = RegDeleteKeyA(HKEY_CURRENT_USER, key);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
      outcome = ContextMenuOutcome::Failed;
  }
  return outcome;
}

}  // namespace

ContextMenuOutcome SwitchContextMenu(bool activate) {
  return activate ? AddCommands() : RemoveCommands();
}

}  // namespace trellan
