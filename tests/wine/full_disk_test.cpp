// Runs through the real dialog with the desktop on a nearly full disk (a
// small tmpfs that a CTest fixture mounts, reached through Wine's Z: drive)
// and an existing site: every file holds its previous or its complete new
// bytes, no temporary file stays, and the notice names exactly the files
// that kept their previous version.
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
using Names = std::vector<std::string>;

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
  ULONGLONG left;  // the free bytes the run finds
};

// Room for the pages but not the media; for part of the style files.
constexpr Case kCases[] = {{"OverwriteEverything", false, 48 * 1024}, {"CssOnly", true, 16 * 1024}};

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

TEST_P(FullDisk, EveryFileIsWholeAndTheNoticeNamesThoseThatKeptTheirPrevious) {
  const Case& run = GetParam();
  site_ = test::SiteFolder();
  ASSERT_EQ(site_.rfind(disk_, 0), 0u) << site_;
  PlacePreviousSite();
  FillDisk(run.left);

  GenerationRequest request = test::DefaultRequest();
  request.css_only = run.css_only;
  const SitePlan plan = PlanSite(request, TodayText(), ScanSiteFolder(site_), site_);

  // The site there starts the dialog in CSS-only mode; overwriting it all
  // takes unchecking the box and a Yes to the question.
  dialog_ = std::make_unique<test::DialogHost>();
  ASSERT_TRUE(dialog_->IsChecked(IDC_CSSONLY));
  std::deque<int> answers;
  if (!run.css_only) {
    dialog_->Click(IDC_CSSONLY);
    answers = {IDYES};
  }
  test::MessageBoxAnswerer answerer(answers);
  dialog_->Click(IDOK);
  ASSERT_EQ(answerer.seen().size(), answers.size() + 1);

  std::map<std::string, std::string> planned;
  for (const SiteStep& step : plan.steps)
    if (step.kind == StepKind::WriteFile)
      planned[step.target] = (step.bom ? std::string(kUtf8Bom) : "") + step.bytes;
  Names kept;
  for (const SiteStep& step : plan.steps) {
    if (step.kind != StepKind::WriteFile) continue;
    const std::string now = ReadFileBytes(site_ + step.target);
    if (now == planned[step.target]) continue;
    kept.push_back(step.target);
    EXPECT_TRUE(now == previous_[step.target])
        << step.target << ": " << now.size() << " bytes, neither previous nor new";
  }
  for (const auto& [target, bytes] : previous_) {
    if (!planned.count(target)) {
      EXPECT_EQ(ReadFileBytes(site_ + target), bytes) << target;
    }
  }
  ASSERT_FALSE(kept.empty()) << "the disk did not fill up";
  ASSERT_LT(kept.size(), planned.size()) << "nothing could be written";
  EXPECT_EQ(answerer.seen().back().text, FailedFilesNoticeText(kept));

  for (const std::string folder : {"", "media\\", "_ftp\\"})
    for (const std::string& name : test::ListFolder(site_ + folder))
      EXPECT_TRUE(previous_.count(folder + name) || folder + name == "media" ||
                  folder + name == "_ftp")
          << "left behind: " << folder + name;
}

INSTANTIATE_TEST_SUITE_P(Runs, FullDisk, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
}  // namespace trellan
