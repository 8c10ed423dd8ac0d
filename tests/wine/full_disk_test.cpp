// Runs through the real dialog with the desktop on a nearly full disk (a
// small tmpfs that a CTest fixture mounts, reached through Wine's Z: drive),
// over an existing site or none: every file holds its previous or its
// complete new bytes (a new file is complete or missing), no temporary file
// stays, and the notice names exactly the files that kept their previous
// version, each with its cause.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/form_ids.h"
#include "generator/run_texts.h"
#include "generator/site_plan.h"
#include "system/site_files.h"
#include "system/system.h"
#include "tests/driver/dialog_fixture.h"
#include "tests/support/dialog_host.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_site.h"
#include "utils/utf8.h"

namespace trellan {
namespace {

using test::ReadFileBytes;

// The file system is mounted by the fixture at a few hundred KB; a bigger
// one means the mount did not happen, and nothing may be filled up then.
constexpr ULONGLONG kSmallDiskLimit = 1024 * 1024;

std::string WinePath(std::string unix_path) {
  std::replace(unix_path.begin(), unix_path.end(), '/', '\\');
  return "Z:" + unix_path;
}

struct Case {
  const char* name;
  bool css_only;
  ULONGLONG left;         // the free bytes the run finds
  bool previous_site;     // a site of the learner's is there
  const char* read_only;  // a file of it the learner protected, or none
};

// Room for the pages but not the media; for part of the style files.
constexpr Case kCases[] = {{"OverwriteEverything", false, 48 * 1024, true, nullptr},
                           {"CssOnly", true, 16 * 1024, true, nullptr},
                           {"NewSite", false, 48 * 1024, false, nullptr},
                           {"ReadOnlyPageToo", false, 48 * 1024, true, "index.html"}};

void PrintTo(const Case& run, std::ostream* out) { *out << run.name; }

std::string CaseName(const ::testing::TestParamInfo<Case>& run) { return run.param.name; }

class FullDisk : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    const char* mount = std::getenv("TRELLAN_SMALL_DISK");
    if (!mount) GTEST_SKIP() << "TRELLAN_SMALL_DISK is not set: run it through CTest";
    disk_ = WinePath(mount);
    const std::string skip = disk_ + ".skip";
    if (test::FileExists(skip)) GTEST_SKIP() << ReadFileBytes(skip);
    desktop_ = std::make_unique<test::DesktopAt>(disk_);
    driver::ForgetStoredForm();
    test::RemoveSiteFolder();
  }
  void TearDown() override {
    dialog_.reset();
    if (!desktop_) return;
    test::RemoveSiteFolder();
    DeleteFileA(Ballast().c_str());
    desktop_.reset();
    driver::ForgetStoredForm();
  }

  std::string Ballast() const { return disk_ + "\\ballast"; }

  // A site of the default menu whose files the learner has all changed;
  // index.html is a page of their own.
  void PlacePreviousSite() {
    const SitePlan everything = PlanSite(test::DefaultRequest(), TodayText(), {}, site_);
    for (const char* folder : {"", "media", "_ftp"})
      ASSERT_TRUE(CreateDirectoryA((site_ + folder).c_str(), nullptr)) << folder;
    for (const SiteStep& step : everything.steps) {
      if (step.kind != StepKind::WriteFile) continue;
      previous_[step.target] = "vorher: " + step.target + "\r\n";
    }
    previous_["index.html"] = std::string(10 * 1024, 'i');
    for (const auto& [target, bytes] : previous_) test::WriteFileBytes(site_ + target, bytes);
  }

  // Leaves `left` bytes free.
  void FillDisk(ULONGLONG left) {
    ULARGE_INTEGER free{}, total{};
    ASSERT_TRUE(GetDiskFreeSpaceExA(disk_.c_str(), &free, &total, nullptr));
    ASSERT_LE(total.QuadPart, kSmallDiskLimit) << disk_ << " is not the small disk";
    ASSERT_GT(free.QuadPart, left) << "the disk is too small for the test";
    test::WriteFileBytes(Ballast(),
                         std::string(static_cast<std::size_t>(free.QuadPart - left), '\0'));
  }

  std::string disk_;
  std::string site_;
  std::unique_ptr<test::DesktopAt> desktop_;
  std::unique_ptr<test::DialogHost> dialog_;
  std::map<std::string, std::string> previous_;
};

TEST_P(FullDisk, EveryFileIsWholeAndTheNoticeNamesThoseThatKeptTheirPreviousAndWhy) {
  const Case& run = GetParam();
  site_ = test::SiteFolder();
  ASSERT_EQ(site_.rfind(disk_, 0), 0u) << site_;
  if (run.previous_site) PlacePreviousSite();
  if (run.read_only) {
    ASSERT_TRUE(SetFileAttributesA((site_ + run.read_only).c_str(), FILE_ATTRIBUTE_READONLY));
  }
  FillDisk(run.left);

  GenerationRequest request = test::DefaultRequest();
  request.css_only = run.css_only;
  const SitePlan plan = PlanSite(request, TodayText(), ScanSiteFolder(site_), site_);

  // A site there starts the dialog in CSS-only mode; overwriting it all
  // takes unchecking the box and a Yes to the question.
  dialog_ = std::make_unique<test::DialogHost>();
  ASSERT_EQ(dialog_->IsChecked(IDC_CSSONLY), run.previous_site);
  std::deque<int> answers;
  if (run.previous_site && !run.css_only) {
    dialog_->Click(IDC_CSSONLY);
    answers = {IDYES};
  }
  test::MessageBoxAnswerer answerer(answers);
  dialog_->Click(IDOK);
  ASSERT_EQ(answerer.seen().size(), answers.size() + 1);

  std::map<std::string, std::string> planned;
  for (const SiteStep& step : plan.steps)
    if (step.kind == StepKind::WriteFile)
      planned[step.target] = (step.bom ? std::string(kUtf8Bom) : "").append(step.Content());
  std::vector<FailedFile> kept;
  for (const SiteStep& step : plan.steps) {
    if (step.kind != StepKind::WriteFile) continue;
    const std::string path = site_ + step.target;
    const std::string now = ReadFileBytes(path);
    if (now == planned[step.target]) continue;
    const bool protected_file = run.read_only && step.target == run.read_only;
    kept.push_back(
        {step.target, {protected_file ? WriteCause::ReadOnly : WriteCause::DiskFull, 0}});
    if (previous_.count(step.target)) {
      EXPECT_TRUE(now == previous_[step.target])
          << step.target << ": " << now.size() << " bytes, neither previous nor new";
    } else {
      EXPECT_FALSE(test::FileExists(path))
          << step.target << ": " << now.size() << " bytes of a new file left";
    }
  }
  for (const auto& [target, bytes] : previous_) {
    if (!planned.count(target)) {
      EXPECT_EQ(ReadFileBytes(site_ + target), bytes) << target;
    }
  }
  ASSERT_FALSE(kept.empty()) << "the disk did not fill up";
  ASSERT_LT(kept.size(), planned.size()) << "nothing could be written";
  const std::string& notice = answerer.seen().back().text;
  EXPECT_EQ(notice, FailedFilesNoticeText(kept));
  EXPECT_NE(notice.find(WriteCauseSentence({WriteCause::DiskFull, 0})), std::string::npos);
  EXPECT_EQ(notice.find(WriteCauseSentence({WriteCause::ReadOnly, 0})) != std::string::npos,
            run.read_only != nullptr);

  for (const std::string folder : {"", "media\\", "_ftp\\"})
    for (const std::string& name : test::ListFolder(site_ + folder))
      EXPECT_TRUE(previous_.count(folder + name) || planned.count(folder + name) ||
                  folder + name == "media" || folder + name == "_ftp")
          << "left behind: " << folder + name;
}

INSTANTIATE_TEST_SUITE_P(Runs, FullDisk, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
}  // namespace trellan
