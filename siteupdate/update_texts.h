#pragma once
// What "Menü in Website übernehmen" asks and says, and the notice of
// "Formular aus Website lesen". The texts are Windows-1252, as every box of
// the program; names and menu texts come from the pages in UTF-8 and go
// through the dialog's conversion (`ToAnsi`), since only the dialog's layer
// may call the system's.
#include <string>
#include <string_view>
#include <vector>

#include "generator/write_result.h"
#include "siteupdate/site_update.h"

namespace trellan::siteupdate {

inline constexpr const char* kUpdateCaption =
    "Men\xFC \xFC"
    "bernehmen";
// A list in a box names at most this many pages.
inline constexpr std::size_t kMaxListedPages = 20;

using ToAnsi = std::string (*)(std::string_view utf8);

// The question's line of a page (UTF-8): its name, the new one when it is
// renamed, its menu text, the new one when that changes:
// "s05.html -> s06.html «Impressum»". An empty `new_label` is no change.
std::string MovedLine(std::string_view from, std::string_view to, std::string_view old_label,
                      std::string_view new_label);
// "s03.html: <nav> ohne </nav>": why a page's generated parts stay.
std::string KeptLine(std::string_view name, Navigation why);

// The question before the update of the site in `folder` (ANSI, with its
// trailing backslash): what changes, counted and named.
std::string UpdateQuestionText(const UpdateSummary& summary, std::string_view folder,
                               ToAnsi to_ansi);

// The site folder or its index.html is missing; `command` is what could not
// be done ("kann ihr Men\xFC \xFC" "bernommen werden").
std::string NoSiteNoticeText(std::string_view folder, bool folder_exists, std::string_view command);
inline constexpr const char* kUpdateCommand =
    "kann ihr Men\xFC \xFC"
    "bernommen werden";
inline constexpr const char* kReadFormCommand = "kann das Formular aus ihr gelesen werden";

inline constexpr const char* kNothingToChangeText =
    "Die Website passt schon zum Formular: Es gibt nichts zu \xE4"
    "ndern.";

// Pages of the site that could not be read: nothing is changed.
std::string BlockedNoticeText(const std::vector<std::string>& pages, ToAnsi to_ansi);

// How carrying out a plan ended.
struct UpdateOutcome {
  enum class Result { Done, BackupFailed, ChangeFailed };
  Result result = Result::Done;
  // The backup's folder relative to the site folder ("_Sicherung\...\").
  std::string backup;
  // The file (a path of the plan) that could not be backed up or changed,
  // and why.
  std::string failed;
  WriteResult cause;
  // Files that could not be put back after a failed change.
  std::vector<std::string> not_restored;
};

std::string OutcomeNoticeText(const UpdateOutcome& outcome, ToAnsi to_ansi);

// "Formular aus Website lesen" found not everything in index.html: the
// fields named keep what they show.
std::string FormPartsMissingText(const SiteForm& form);

}  // namespace trellan::siteupdate
