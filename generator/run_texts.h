#pragma once
// The texts a generation run shows or passes on, and which notice ends it.
// They are in the ANSI code page (Windows-1252), as the message boxes and
// paths of the program are; the caption of the boxes is kProgramCaption.
#include <string>
#include <string_view>
#include <vector>

#include "generator/site_plan.h"
#include "generator/write_result.h"

namespace trellan {

inline constexpr const char* kOverwriteCaption =
    "\xDC"
    "berschreiben best\xE4tigen";
// The closing notice: two bare CRs before the hint, as the notice shows it.
inline constexpr const char* kDoneNoticeText =
    "Gew\xFCnschte Dateie(n) erstellt.\r\r[Dialog schlie\xDFt automatich in 3 Sek.]";
inline constexpr unsigned kDoneNoticeTimeoutMs = 3333;
// The closing notice lists at most this many files that could not be written.
inline constexpr std::size_t kMaxListedFailures = 20;

// The question before an existing site is overwritten; `folder` ends with
// a backslash.
std::string OverwriteQuestionText(std::string_view folder);

// Why a file could not be written, as one sentence about the files (they
// are named before it).
std::string WriteCauseSentence(const WriteResult& result);

// The notice that replaces the closing notice when files of the run could
// not be written: their paths relative to the site folder, one per line,
// then the sentence of their cause. Files of different causes make one
// such group per cause, in the order of their first file; at most
// kMaxListedFailures files are named in all, and no cause is left out.
std::string FailedFilesNoticeText(const std::vector<FailedFile>& failed);

// The notice that ends a run whose site folder could not be created;
// `folder` ends with a backslash.
std::string FolderMissingNoticeText(std::string_view folder);

// Explorer on the site folder, the folder selected in its tree.
std::string ExplorerCommandLine(std::string_view folder);

// How a run ends: every file written gives the notice that closes itself;
// files that could not be written give a warning naming them, and a site
// folder that could not be created a warning naming it instead of every
// file. Warnings wait for the user, as a success that closes by itself
// would hide the loss.
enum class NoticeKind { Done, FilesMissing, FolderMissing };

struct ClosingNotice {
  NoticeKind kind;
  std::string text;
  bool operator==(const ClosingNotice&) const = default;
};

// `outcome`: what the run into `folder` (with its trailing backslash) left
// undone.
ClosingNotice ClosingNoticeFor(const RunOutcome& outcome, std::string_view folder);

}  // namespace trellan
