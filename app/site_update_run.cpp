#include "app/site_update_run.h"

#include <optional>
#include <string>

#include "app/form_layout.h"
#include "app/site_run.h"
#include "identity.h"
#include "sitecheck/site_check.h"
#include "siteupdate/site_update.h"
#include "siteupdate/update_texts.h"
#include "system/site_check_files.h"
#include "system/site_files.h"
#include "system/site_update_files.h"
#include "system/system.h"

namespace trellan {

namespace {

using namespace siteupdate;

void Notice(HWND dialog, const std::string& text, UINT icon) {
  MessageBoxA(dialog, text.c_str(), kProgramCaption, MB_OK | icon);
}

// The site folder with its start page, or a notice saying what is missing.
std::optional<std::string> SiteWithStartPage(HWND dialog, const char* command) {
  std::string folder = SiteFolderPath();
  if (FileExists(folder + "index.html")) return folder;
  Notice(dialog, NoSiteNoticeText(folder, PathExists(folder), command), MB_ICONINFORMATION);
  return std::nullopt;
}

bool AskBeforeUpdating(HWND dialog, const UpdateSummary& summary, const std::string& folder) {
  const std::string question = UpdateQuestionText(summary, folder, Utf8ToAnsi);
  return MessageBoxA(dialog, question.c_str(), kUpdateCaption,
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void SetField(std::string& field, const std::optional<std::string>& utf8) {
  if (utf8) field = Utf8ToAnsi(*utf8);
}

}  // namespace

void UpdateSiteFromForm(HWND dialog) {
  const auto folder = SiteWithStartPage(dialog, kUpdateCommand);
  if (!folder) return;
  const FormSettings form = ReadFormFields(dialog);
  const std::vector<SitePage> pages = ReadSitePages(*folder);
  const UpdatePlan plan = PlanUpdate(pages, RequestInUtf8(form, false, false), TodayText());
  if (!plan.blocked_by.empty())
    return Notice(dialog, BlockedNoticeText(plan.blocked_by, Utf8ToAnsi), MB_ICONWARNING);
  if (plan.ChangesNothing()) return Notice(dialog, kNothingToChangeText, MB_ICONINFORMATION);
  if (!AskBeforeUpdating(dialog, plan.summary, *folder)) return;
  SetFormEnabled(dialog, false);
  const UpdateOutcome outcome = CarryOutUpdate(*folder, plan);
  Notice(dialog, OutcomeNoticeText(outcome, Utf8ToAnsi),
         outcome.result == UpdateOutcome::Result::Done ? MB_ICONINFORMATION : MB_ICONWARNING);
  SetFormEnabled(dialog, true);
}

void ReadFormFromSite(HWND dialog) {
  const auto folder = SiteWithStartPage(dialog, kReadFormCommand);
  if (!folder) return;
  const auto index = ReadWholeFile(*folder + "index.html", sitecheck::kMaxPageBytes);
  if (!index) return Notice(dialog, BlockedNoticeText({"index.html"}, Utf8ToAnsi), MB_ICONWARNING);
  const SiteForm site = ReadSiteForm(*index);
  FormSettings form = ReadFormFields(dialog);
  SetField(form.title, site.title);
  SetField(form.author, site.author);
  SetField(form.keywords, site.keywords);
  SetField(form.menu_text, site.menu_text);
  ShowFormSettings(dialog, form);
  if (const std::string missing = FormPartsMissingText(site); !missing.empty())
    Notice(dialog, missing, MB_ICONINFORMATION);
}

}  // namespace trellan
