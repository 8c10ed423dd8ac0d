#pragma once
// A generation run as data: everything the run does to the site folder, in
// order. The planner decides; system/ carries the steps out, and the closing
// notice follows from what could not be written (run_texts.h).
#include <string>
#include <string_view>
#include <vector>

#include "generator/generation_request.h"
#include "generator/page_writer.h"
#include "generator/write_result.h"

namespace trellan {

// What the site folder holds before a run.
struct FolderContents {
  bool has_index = false;               // "index.html" is there
  std::vector<std::string> html_files;  // the files (not folders) "*.html", names as found
};

enum class StepKind {
  CreateFolder,          // `target` ("" is the site folder itself); one that exists is fine
  WriteFile,             // `target` is replaced as a whole by `bytes`, or keeps its bytes
  RemoveFile,            // `target`
  StartExplorer,         // `target` is Explorer's command line; it is not waited for
  RemoveThumbnailCache,  // `target`'s attributes are reset, then it is deleted
};

struct SiteStep {
  StepKind kind = StepKind::CreateFolder;
  std::string target = {};
  std::string bytes = {};  // WriteFile only, without the byte-order mark
  bool bom = false;        // WriteFile only: the UTF-8 byte-order mark goes first
  // WriteFile only, instead of `bytes`: bytes of the program's own that live
  // as long as it does (the media, the fixed files), written without a copy.
  std::string_view fixed = {};
  // What a WriteFile step writes after the mark.
  std::string_view Content() const { return fixed.empty() ? std::string_view(bytes) : fixed; }
  bool operator==(const SiteStep&) const = default;
};

struct SitePlan {
  std::string folder;  // with its trailing backslash; targets are relative to it
  std::vector<SiteStep> steps;
};

// What carrying out a plan left undone.
struct RunOutcome {
  // The site folder could not be created (no drive, no right to write, a
  // file of its name): none of the other steps was taken.
  bool folder_missing = false;
  // The files that could not be written, in plan order, each with the
  // cause; each keeps its previous bytes, or stays missing.
  std::vector<FailedFile> failed;
  bool operator==(const RunOutcome&) const = default;
};

// The highest page number a run cleans up after: a menu that once was longer
// left its pages up to "s99.html" behind.
inline constexpr int kLastStalePage = 99;

// The page number a file name stands for: 1 for "index.html", NN for
// "sNN.html" (NN from 02 to 99), in any ASCII case as the file system
// compares names; 0 for every other name.
int PageNumberOf(std::string_view name);

// The texts of a request as the pages carry them: the menu split into its
// entries, and line breaks in the single-line texts (a stored value, a
// paste) as CR LF.
SiteText SiteTextOf(const GenerationRequest& request);

// Of the files found, the pages that a run of `page_count` pages leaves
// stale: "sNN.html" with page_count < NN <= 99, in any ASCII case, as the
// file system compares names. In ascending page order, names as found.
std::vector<std::string> StalePages(const std::vector<std::string>& found, int page_count);

// The run's pages: one written per menu entry (index.html, s02.html, ...),
// then the stale ones deleted. Part of PlanSite, on its own for the fuzz
// targets, which would otherwise copy the fixed files for every input.
std::vector<SiteStep> PlanPages(const GenerationRequest& request, std::string_view today,
                                const FolderContents& contents);

// The whole run for `request` into `folder` (the ANSI path, with its
// trailing backslash). `today` goes into the pages' revised line.
SitePlan PlanSite(const GenerationRequest& request, std::string_view today,
                  const FolderContents& contents, std::string folder);

}  // namespace trellan
