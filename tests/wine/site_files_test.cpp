// A run's plan carried out in the prefix's site folder: what the folder
// holds before, and the files, deletions, the thumbnail cache and Explorer
// after. The plan itself is tested natively.
#include "system/site_files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "generator/site_content.h"
#include "system/system.h"
#include "system/text_file_writer.h"
#include "tests/support/test_site.h"
#include "utils/utf8.h"

namespace trellan {
namespace {

using test::FileExists;
using test::ReadFileBytes;
using test::WriteFileBytes;
using Names = std::vector<std::string>;

// A file of the repository, as Wine's Z: drive shows it. The compiler is
// handed this source file by its absolute path, so the repository is what
// precedes "tests/wine/" in __FILE__.
std::string RepositoryFile(const std::string& relative) {
  const std::string self = __FILE__;
  const std::string tail = "tests/wine/site_files_test.cpp";
  if (self.empty() || self[0] != '/' || self.size() < tail.size() ||
      self.compare(self.size() - tail.size(), tail.size(), tail) != 0) {
    ADD_FAILURE() << "the repository is not known from " << self;
    return {};
  }
  std::string path = "Z:" + self.substr(0, self.size() - tail.size()) + relative;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string LfToCrLf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// Whole files are compared byte for byte; a difference is reported by its
// place rather than by printing both files.
::testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::size_t i = 0;
  while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) ++i;
  return ::testing::AssertionFailure() << actual.size() << " bytes instead of " << expected.size()
                                       << ", first difference at byte " << i;
}

struct HelperFile {
  const char* site_path;      // relative to the site folder
  const char* template_path;  // relative to the repository
};

constexpr HelperFile kHelperFiles[] = {
    {"media\\_create-Thumbnails.cmd", "generator/templates/helpers/_create-Thumbnails.cmd"},
    {"_FTP-Upload.cmd", "generator/templates/helpers/_FTP-Upload.cmd"},
    {"_Start.cmd", "generator/templates/helpers/_Start.cmd"},
    {"_BackUp2OneDrive.cmd", "generator/templates/helpers/_BackUp2OneDrive.cmd"},
    {".htaccess", "generator/templates/helpers/.htaccess"},
    {"_ftp\\ftp-pipe.txt", "generator/templates/helpers/ftp-pipe.txt"},
};
constexpr std::string_view kThumbnailScript = "media\\_create-Thumbnails.cmd";

class SiteFiles : public ::testing::Test {
 protected:
  void SetUp() override { test::RemoveSiteFolder(); }
  void TearDown() override { test::RemoveSiteFolder(); }

  // The run of the default form (or the given menu) for the folder as it is
  // now, as the OK command plans it; returns what could not be written.
  Names Run(bool css_only = false, const char* menu = nullptr) {
    GenerationRequest request = test::DefaultRequest();
    request.css_only = css_only;
    if (menu) request.menu_text = menu;
    plan_ = PlanSite(request, TodayText(), ScanSiteFolder(site_), site_);
    failed_ = CarryOut(plan_).failed;
    Names names;
    for (const FailedFile& file : failed_) names.push_back(file.target);
    return names;
  }
  // The causes of the last run's failed files, in plan order.
  std::vector<WriteCause> Causes() const {
    std::vector<WriteCause> causes;
    for (const FailedFile& file : failed_) causes.push_back(file.result.cause);
    return causes;
  }
  // Every file the last run planned holds exactly the planned bytes.
  void ExpectPlannedFiles() {
    for (const SiteStep& step : plan_.steps) {
      if (step.kind != StepKind::WriteFile) continue;
      EXPECT_TRUE(SameBytes(ReadFileBytes(site_ + step.target),
                            (step.bom ? std::string(kUtf8Bom) : "").append(step.Content())))
          << step.target;
    }
  }
  void Place(const std::string& relative, const std::string& bytes = "old") {
    CreateDirectoryA(site_.c_str(), nullptr);
    WriteFileBytes(site_ + relative, bytes);
  }

  std::string site_ = test::SiteFolder();
  SitePlan plan_;
  std::vector<FailedFile> failed_;
};

TEST_F(SiteFiles, ScanFindsTheIndexAndThePageFilesAsNamed) {
  EXPECT_FALSE(ScanSiteFolder(site_).has_index) << "no folder yet";
  for (const char* name : {"s02.html", "S07.HTML", "s100.html", "style.css"}) Place(name);
  ASSERT_TRUE(CreateDirectoryA((site_ + "s08.html").c_str(), nullptr));
  EXPECT_FALSE(ScanSiteFolder(site_).has_index);
  Place("Index.HTML");
  const FolderContents contents = ScanSiteFolder(site_);
  EXPECT_TRUE(contents.has_index);
  Names files = contents.html_files;
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (Names{"Index.HTML", "S07.HTML", "s02.html", "s100.html"})) << "files only";
}

// Every file of a full run holds exactly the planned bytes, after the
// byte-order mark in the pages and zoom.js.
TEST_F(SiteFiles, FullRunWritesEveryFileAsPlanned) {
  EXPECT_TRUE(Run().empty());
  ExpectPlannedFiles();
  EXPECT_EQ(std::count_if(plan_.steps.begin(), plan_.steps.end(),
                          [](const SiteStep& step) { return step.kind == StepKind::WriteFile; }),
            5 + 12);
  EXPECT_FALSE(FileExists(site_ + "s06.html"));
  EXPECT_FALSE(FileExists(site_ + "s01.html"));
}

TEST_F(SiteFiles, MediaAndHelperFilesAreTheRepositorysFiles) {
  Run();
  for (const MediaFile& media : SampleMedia()) {
    const std::string name(media.name);
    SCOPED_TRACE(name);
    const std::string source = RepositoryFile("generator/media/" + name.substr(6));
    ASSERT_TRUE(FileExists(source)) << source;
    EXPECT_TRUE(SameBytes(ReadFileBytes(site_ + name), ReadFileBytes(source)));
  }
  for (const HelperFile& file : kHelperFiles) {
    SCOPED_TRACE(file.site_path);
    const std::string source = RepositoryFile(file.template_path);
    ASSERT_TRUE(FileExists(source)) << source;
    EXPECT_TRUE(SameBytes(ReadFileBytes(site_ + file.site_path), LfToCrLf(ReadFileBytes(source))));
  }
}

TEST_F(SiteFiles, StalePagesThereUpToS99AreDeletedOthersStay) {
  for (const char* name : {"s02.html", "s06.html", "S42.HTML", "s99.html", "s100.html"})
    Place(name);
  ASSERT_TRUE(CreateDirectoryA((site_ + "s07.html").c_str(), nullptr));
  Run(false, "");
  EXPECT_TRUE(FileExists(site_ + "index.html"));
  for (const char* name : {"s02.html", "s06.html", "s42.html", "s99.html"})
    EXPECT_FALSE(FileExists(site_ + name)) << name;
  EXPECT_TRUE(FileExists(site_ + "s100.html"));
  EXPECT_TRUE(FileExists(site_ + "s07.html")) << "a folder of that name is no page";
}

// Files are replaced whole: no longer text of the user's is left
// behind, and the user's own pictures, scripts and FTP access go.
TEST_F(SiteFiles, FullRunReplacesWhatTheUserChangedNeverAppends) {
  Run();
  const std::string longer(100000, 'g');
  for (const MediaFile& media : SampleMedia()) Place(std::string(media.name), "\x89PNG" + longer);
  for (const HelperFile& file : kHelperFiles) Place(file.site_path, "REM mine\r\n" + longer);
  Place("style.css", longer);
  Place("_ftp\\ftp-pipe.txt", "OPEN ftp.my-school.example\r\nmyname\r\nmysecret\r\n" + longer);
  EXPECT_TRUE(Run().empty());
  ExpectPlannedFiles();
}

TEST_F(SiteFiles, CssOnlyRunLeavesPagesMediaAndThumbnailScriptAsTheyAre) {
  Run();
  Place("index.html", "my own page");
  Place("s06.html", "my sixth page");
  Place(std::string(kThumbnailScript), "REM my own thumbnails\r\n");
  Place("media\\matterhorn.jpg", "my own mountain");
  DeleteFileA((site_ + "media\\avatar.svg").c_str());
  for (const HelperFile& file : kHelperFiles)
    if (file.site_path != kThumbnailScript) Place(file.site_path, "edited by the user\r\n");

  EXPECT_TRUE(Run(true).empty());

  EXPECT_EQ(ReadFileBytes(site_ + "index.html"), "my own page");
  EXPECT_EQ(ReadFileBytes(site_ + "s06.html"), "my sixth page");
  EXPECT_EQ(ReadFileBytes(site_ + std::string(kThumbnailScript)), "REM my own thumbnails\r\n");
  EXPECT_EQ(ReadFileBytes(site_ + "media\\matterhorn.jpg"), "my own mountain");
  EXPECT_FALSE(FileExists(site_ + "media\\avatar.svg"));
  EXPECT_TRUE(SameBytes(ReadFileBytes(site_ + "media\\candle.mp4"), SampleMedia()[0].bytes));
  // The other helper files belong to every run.
  ExpectPlannedFiles();
}

TEST_F(SiteFiles, CssOnlyRunIntoNoFolderCreatesNoMedia) {
  EXPECT_TRUE(Run(true).empty());
  EXPECT_FALSE(FileExists(site_ + "media"));
  EXPECT_FALSE(FileExists(site_ + "index.html"));
  EXPECT_TRUE(SameBytes(ReadFileBytes(site_ + "_ftp\\ftp-pipe.txt"), FtpCommandText()));
}

TEST_F(SiteFiles, HiddenReadOnlyThumbnailCacheIsRemoved) {
  Place("Thumbs.db", "cache");
  const std::string cache = site_ + "Thumbs.db";
  SetFileAttributesA(cache.c_str(),
                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  Run(true);
  EXPECT_FALSE(FileExists(cache));
}

TEST_F(SiteFiles, PageHeldOpenIsReportedTheRestIsWritten) {
  Place("s02.html", "held");
  const HANDLE held = CreateFileA((site_ + "s02.html").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const Names failed = Run();
  CloseHandle(held);
  EXPECT_EQ(failed, Names{"s02.html"});
  EXPECT_EQ(Causes(), std::vector<WriteCause>{WriteCause::InUse});
  EXPECT_EQ(ReadFileBytes(site_ + "s02.html"), "held");
  EXPECT_EQ(ReadFileBytes(site_ + "s03.html").rfind(kUtf8Bom, 0), 0u);
  EXPECT_EQ(ReadFileBytes(site_ + "_ftp\\ftp-pipe.txt"), FtpCommandText());
}

// A read-only file was protected by its owner: it keeps its bytes and is
// named. Hidden and system files are no protection: they get the new bytes
// and keep being hidden or system. No temporary file stays behind.
TEST_F(SiteFiles, ReadOnlyFilesAreKeptAndNamedHiddenOnesReplacedAndStayHidden) {
  constexpr DWORD kShown = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
  struct Case {
    const char* name;
    DWORD attributes;
    bool replaced;
  };
  constexpr Case kCases[] = {
      {"style.css", FILE_ATTRIBUTE_READONLY, false},
      {"zoom.js", FILE_ATTRIBUTE_HIDDEN, true},
      {"_Start.cmd", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY, false},
      {"_FTP-Upload.cmd", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true},
  };
  Run(true);
  for (const Case& file : kCases) {
    Place(file.name, "mine");
    ASSERT_TRUE(SetFileAttributesA((site_ + file.name).c_str(), file.attributes));
  }
  Names before = test::ListFolder(site_);
  EXPECT_EQ(Run(true), (Names{"style.css", "_Start.cmd"}));
  EXPECT_EQ(Causes(), std::vector<WriteCause>(2, WriteCause::ReadOnly));
  for (const Case& file : kCases) {
    const std::string path = site_ + file.name;
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & kShown, file.attributes) << file.name;
    EXPECT_EQ(ReadFileBytes(path) == "mine", !file.replaced) << file.name;
  }
  Names after = test::ListFolder(site_);
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before);
}

TEST_F(SiteFiles, MediaFolderThatIsAFileFailsEveryMediaFile) {
  Place("media", "a file where the folder should be");
  EXPECT_EQ(Run(), (Names{"media\\candle.mp4", "media\\matterhorn.jpg", "media\\karte.png",
                          "media\\avatar.svg", "media\\_create-Thumbnails.cmd"}));
  EXPECT_EQ(Causes(), std::vector<WriteCause>(5, WriteCause::FolderMissing));
}

// A folder with a file's name is no file: it is named, and stays.
TEST_F(SiteFiles, FolderWithAFilesNameIsNamedAndKept) {
  Run(true);
  ASSERT_TRUE(DeleteFileA((site_ + "zoom.js").c_str()));
  ASSERT_TRUE(CreateDirectoryA((site_ + "zoom.js").c_str(), nullptr));
  EXPECT_EQ(Run(true), Names{"zoom.js"});
  EXPECT_EQ(Causes(), std::vector<WriteCause>{WriteCause::FolderInTheWay});
  EXPECT_TRUE(GetFileAttributesA((site_ + "zoom.js").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(SiteFiles, PathTooLongForWindowsIsNamedAsSuch) {
  Run(true);
  const std::string path = site_ + std::string(MAX_PATH, 'a') + ".html";
  EXPECT_EQ(WriteWholeFile(path, {}, "x").cause, WriteCause::PathTooLong);
  EXPECT_EQ(WriteWholeFile(site_ + "short.html", {}, "x"), WriteResult{});
}

TEST_F(SiteFiles, ExplorerStepStartsExplorer) {
  const std::vector<DWORD> before = test::ExplorerProcesses();
  CarryOut({site_,
            {{StepKind::CreateFolder, ""},
             {StepKind::StartExplorer, "Explorer /e,/root,/select,\"" + site_ + "\""}}});
  EXPECT_EQ(test::EndNewExplorers(before).size(), 1u);
}

}  // namespace
}  // namespace trellan
