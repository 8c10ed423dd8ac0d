#include "app/site_run.h"

#include <vector>

#include "app/form_ids.h"
#include "app/form_layout.h"
#include "generator/run_texts.h"
#include "identity.h"
#include "system/registry_settings.h"
#include "system/site_files.h"
#include "system/system.h"

namespace trellan {

namespace {

enum class Overwrite { Everything, StyleOnly, Cancel };

Overwrite AskBeforeOverwriting(HWND dialog, const std::string& folder) {
  const std::string question = OverwriteQuestionText(folder);
  switch (MessageBoxA(dialog, question.c_str(), kOverwriteCaption,
                      MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)) {
    case IDYES: return Overwrite::Everything;
    case IDNO: return Overwrite::StyleOnly;
    default: return Overwrite::Cancel;
  }
}

// The user kept the existing pages: the next runs start in CSS-only mode.
void RememberStyleOnly(HWND dialog) {
  RegistrySettings store;
  StoreCssOnly(store, true);
  CheckBox(dialog, IDC_CSSONLY, true);
}

bool KeyIsDown(int virtual_key) { return GetKeyState(virtual_key) < 0; }

bool ExplorerWanted(const FormSettings& form) {
  return form.open_folder || KeyIsDown(VK_SHIFT) || KeyIsDown(VK_CONTROL);
}

void ShowClosingNotice(const ClosingNotice& notice) {
  switch (notice.kind) {
    case NoticeKind::Done:
      TimedNotice(nullptr, notice.text.c_str(), kProgramCaption,
                  MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST, 0,
                  kDoneNoticeTimeoutMs);
      break;
    case NoticeKind::FilesMissing:
    case NoticeKind::FolderMissing:
      MessageBoxA(nullptr, notice.text.c_str(), kProgramCaption,
                  MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
      break;
  }
}

}  // namespace

GenerationRequest RequestInUtf8(const FormSettings& form, bool css_only, bool open_explorer) {
  GenerationRequest request;
  request.title = AnsiToUtf8(form.title);
  request.author = AnsiToUtf8(form.author);
  request.keywords = AnsiToUtf8(form.keywords);
  request.menu_text = AnsiToUtf8(form.menu_text);
  request.css_only = css_only;
  request.open_explorer = open_explorer;
  return request;
}

void WriteSiteAndNotify(const FormSettings& form, const FolderContents& contents,
                        const std::string& folder, bool css_only, bool open_explorer) {
  const SitePlan plan =
      PlanSite(RequestInUtf8(form, css_only, open_explorer), TodayText(), contents, folder);
  ShowClosingNotice(ClosingNoticeFor(CarryOut(plan), plan.folder));
}

void GenerateFromForm(HWND dialog) {
  const FormSettings form = ReadFormFields(dialog);
  const std::string folder = SiteFolderPath();
  const FolderContents contents = ScanSiteFolder(folder);
  bool css_only = form.css_only;
  if (!css_only && contents.has_index) {
    switch (AskBeforeOverwriting(dialog, folder)) {
      case Overwrite::Everything: break;
      case Overwrite::StyleOnly:
        css_only = true;
        RememberStyleOnly(dialog);
        break;
      case Overwrite::Cancel:
        // Disabled and enabled again, as after a run: where the focus ends
        // up depends on it.
        SetFormEnabled(dialog, false);
        SetFormEnabled(dialog, true);
        return;
    }
  }
  SetFormEnabled(dialog, false);
  WriteSiteAndNotify(form, contents, folder, css_only, ExplorerWanted(form));
  SetFormEnabled(dialog, true);
}

}  // namespace trellan
