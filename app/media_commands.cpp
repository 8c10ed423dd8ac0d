#include "app/media_commands.h"

#include <string>

#include "app/form_ids.h"
#include "app/form_texts.h"
#include "mediatools/context_menu_text.h"
#include "mediatools/gallery.h"
#include "mediatools/gallery_text.h"
#include "system/context_menu_keys.h"
#include "system/gallery_files.h"
#include "system/site_files.h"
#include "system/system.h"

namespace trellan {

namespace {

// The commands cannot work without the viewer: the user is asked to start
// the program again once it is installed. The question belongs to no
// window of the program, which ends right after it.
[[noreturn]] void OfferViewerDownloadAndEnd() {
  if (IconMessageBox(GetDesktopWindow(), ViewerMissingText().c_str(), kViewerMissingCaption,
                     kIconName, MB_YESNOCANCEL | MB_USERICON) == IDYES)
    OpenDocument(kViewerDownloadPage);
  EndProgram(kViewerMissingExitCode);
}

}  // namespace

void BuildGallerySnippet(HWND dialog) {
  const std::string folder = SiteFolderPath();
  const GalleryList list = WriteGalleryList(folder, GallerySnippet(FindGalleryPictures(folder)));
  if (!list.written) return;
  IconMessageBox(dialog, GalleryNoticeText(list.path).c_str(), kGalleryNoticeCaption, kIconName,
                 MB_USERICON);
  StartProgram("NOTEPAD", list.path);
}

void AskAboutContextMenu(HWND dialog) {
  bool activate = false;
  switch (IconMessageBox(dialog, kContextMenuQuestion, kContextMenuCaption, kIconName,
                         MB_YESNOCANCEL | MB_USERICON | MB_DEFBUTTON3)) {
    case IDYES: activate = true; break;
    case IDNO: activate = false; break;
    default: return;
  }
  // Registry keys that could not be switched are not reported.
  if (SwitchContextMenu(activate) == ContextMenuOutcome::ViewerMissing) OfferViewerDownloadAndEnd();
}

}  // namespace trellan
