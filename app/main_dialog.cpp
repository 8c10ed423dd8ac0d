#include "app/main_dialog.h"

#include <string>

#include "app/dialog_template.h"
#include "app/form_ids.h"
#include "app/form_layout.h"
#include "app/form_texts.h"
#include "app/media_commands.h"
#include "app/site_check_run.h"
#include "app/site_run.h"
#include "app/site_update_run.h"
#include "app/upload_run.h"
#include "identity.h"
#include "settings/form_settings.h"
#include "system/registry_settings.h"
#include "system/site_files.h"
#include "system/system.h"
#include "upload/upload_texts.h"

namespace trellan {

namespace {

// Set while the about box is open: a message box passes F1 on to its
// owner, which would otherwise open a second box on top of the first.
bool g_about_open = false;

void AddSystemMenuEntries(HWND dialog) {
  const HMENU menu = GetSystemMenu(dialog, FALSE);
  AppendMenuA(menu, MF_STRING, IDM_GALLERY, kGalleryMenuEntry);
  AppendMenuA(menu, MF_STRING, IDM_CONTEXTMENU, kContextMenuEntry);
  AppendMenuA(menu, MF_STRING, IDM_SITECHECK, kSiteCheckMenuEntry);
  AppendMenuA(menu, MF_STRING, IDM_SITEUPDATE, kSiteUpdateMenuEntry);
  AppendMenuA(menu, MF_STRING, IDM_READFORM, kReadFormMenuEntry);
  AppendMenuA(menu, MF_STRING, IDM_UPLOAD, upload::kUploadMenuEntry);
}

void LoadForm(HWND dialog) { ShowFormSettings(dialog, LoadFormSettings(RegistrySettings())); }

void SaveForm(HWND dialog) {
  RegistrySettings store;
  SaveFormSettings(store, ReadFormFields(dialog));
}

// A site already on the desktop starts the dialog in CSS-only mode, so that
// an OK does not overwrite the learner's pages; the choice is stored at once.
void CheckStyleOnlyFromDesktop(HWND dialog) {
  const bool site_exists = PathExists(SiteFolderPath() + "index.html");
  CheckBox(dialog, IDC_CSSONLY, site_exists);
  RegistrySettings store;
  StoreCssOnly(store, site_exists);
}

void OnInitDialog(HWND dialog) {
  FitClientArea(dialog);
  CreateFormControls(dialog);
  SetClassLongPtrA(dialog, GCLP_HICON,
                   reinterpret_cast<LONG_PTR>(LoadIconA(GetModuleHandleA(nullptr), "I")));
  SetWindowTextA(dialog, kProgramCaption);
  LoadForm(dialog);
  AddSystemMenuEntries(dialog);
  CheckStyleOnlyFromDesktop(dialog);
  SetFocus(GetDlgItem(dialog, IDC_TITLE));
}

void OnHelp(HWND dialog) {
  if (g_about_open) return;
  g_about_open = true;
  IconMessageBox(dialog, AboutText().c_str(), kProgramCaption, kIconName, MB_USERICON);
  g_about_open = false;
}

void OnCommand(HWND dialog, int id, WPARAM wparam) {
  switch (id) {
    case IDOK: GenerateFromForm(dialog); break;
    case IDCANCEL: EndDialog(dialog, static_cast<INT_PTR>(wparam)); break;  // nothing is saved
    case IDC_NEW: ShowFormSettings(dialog, DefaultFormSettings()); break;
    case IDC_LOAD: LoadForm(dialog); break;
    case IDC_SAVE: SaveForm(dialog); break;
    case IDM_CONTEXTMENU: AskAboutContextMenu(dialog); break;
    case IDM_GALLERY: BuildGallerySnippet(dialog); break;
    case IDM_SITECHECK: CheckSiteFolder(dialog); break;
    case IDM_SITEUPDATE: UpdateSiteFromForm(dialog); break;
    case IDM_READFORM: ReadFormFromSite(dialog); break;
    case IDM_UPLOAD: UploadSiteFolder(dialog); break;
    default: break;  // notifications of the fields and check boxes
  }
}

// The system menu is still open while WM_SYSCOMMAND is handled: the
// program's entries run later, as ordinary commands.
void OnSysCommand(HWND dialog, WPARAM wparam) {
  if (wparam >= IDM_CONTEXTMENU && wparam <= IDM_UPLOAD)
    PostMessageA(dialog, WM_COMMAND, wparam, 0);
}

// Every message also gets the dialog manager's default processing.
INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); break;  // keeps the focus just set
    case WM_HELP: OnHelp(dialog); break;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wparam), wparam); break;
    case WM_SYSCOMMAND: OnSysCommand(dialog, wparam); break;
    default: break;
  }
  return FALSE;
}

}  // namespace

void RunMainDialog() {
  const DialogTemplate dialog = MainDialogTemplate(MeasureScaleFactors());
  DialogBoxIndirectParamA(nullptr, &dialog.header, nullptr, &MainDialogProc, 0);
}

HWND CreateMainDialog() {
  const DialogTemplate dialog = MainDialogTemplate(MeasureScaleFactors());
  return CreateDialogIndirectParamA(nullptr, &dialog.header, nullptr, &MainDialogProc, 0);
}

}  // namespace trellan
