// The sample media, the helper scripts and the server files as a generation
// run leaves them in the site folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "generator/generate_site.h"
#include "generator/site_content.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_site.h"

namespace trellan {
namespace {

using test::FileExists;
using test::ReadFileBytes;
using test::WriteFileBytes;

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
  std::string text;           // what the program writes
};

std::vector<HelperFile> HelperFiles() {
  return {
      {"media\\_create-Thumbnails.cmd", "generator/templates/helpers/_create-Thumbnails.cmd",
       ThumbnailScriptText()},
      {"_FTP-Upload.cmd", "generator/templates/helpers/_FTP-Upload.cmd", FtpUploadScriptText()},
      {"_Start.cmd", "generator/templates/helpers/_Start.cmd", StartScriptText()},
      {"_BackUp2OneDrive.cmd", "generator/templates/helpers/_BackUp2OneDrive.cmd",
       BackupScriptText()},
      {".htaccess", "generator/templates/helpers/.htaccess", HtaccessText()},
      {"_ftp\\ftp-pipe.txt", "generator/templates/helpers/ftp-pipe.txt", FtpCommandText()},
  };
}

// The name of a sample file without its "media\".
std::string BareName(std::string_view site_path) {
  return std::string(site_path.substr(site_path.find('\\') + 1));
}

class SiteFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { test::RemoveSiteFolder(); }
  void TearDown() override { test::RemoveSiteFolder(); }

  // A run as the OK command starts it; a question about existing pages is
  // answered with Yes, the closing notice with OK.
  void Run(bool css_only) {
    GenerationRequest request = test::DefaultRequest();
    request.css_only = css_only;
    test::MessageBoxAnswerer answerer({IDYES});
    GenerateSite(form_.get(), request);
    ASSERT_FALSE(answerer.seen().empty()) << "the run ended without its notice";
  }

  std::string site_ = test::SiteFolder();
  test::FormWindow form_;
};

TEST_F(SiteFilesTest, FullRunWritesMediaAsTheProgramCarriesThem) {
  Run(false);
  for (const MediaFile& media : SampleMedia()) {
    const std::string name(media.name);
    SCOPED_TRACE(name);
    const std::string source = RepositoryFile("generator/media/" + BareName(name));
    ASSERT_TRUE(FileExists(source)) << source;
    ASSERT_TRUE(FileExists(site_ + name));
    const std::string written = ReadFileBytes(site_ + name);
    EXPECT_TRUE(SameBytes(written, media.bytes)) << "against the bytes the program carries";
    EXPECT_TRUE(SameBytes(written, ReadFileBytes(source))) << "against " << source;
  }
}

TEST_F(SiteFilesTest, FullRunReplacesPicturesOfTheUser) {
  Run(false);
  const std::string own = "\x89PNG\r\n\x1A\n a picture of my own, longer than it needs to be";
  for (const MediaFile& media : SampleMedia()) WriteFileBytes(site_ + std::string(media.name), own);
  Run(false);
  for (const MediaFile& media : SampleMedia()) {
    SCOPED_TRACE(std::string(media.name));
    EXPECT_TRUE(SameBytes(ReadFileBytes(site_ + std::string(media.name)), media.bytes));
  }
}

TEST_F(SiteFilesTest, RunWritesHelperFilesAsTheirTemplates) {
  Run(false);
  for (const HelperFile& file : HelperFiles()) {
    SCOPED_TRACE(file.site_path);
    const std::string written = ReadFileBytes(site_ + file.site_path);
    EXPECT_TRUE(SameBytes(written, file.text));
    const std::string source = RepositoryFile(file.template_path);
    ASSERT_TRUE(FileExists(source)) << source;
    EXPECT_TRUE(SameBytes(written, LfToCrLf(ReadFileBytes(source)))) << "against " << source;
  }
}

TEST_F(SiteFilesTest, CssOnlyRunLeavesMediaAndThumbnailScriptAsTheyAre) {
  Run(false);
  const std::string edited = "REM my own thumbnails\r\n";
  WriteFileBytes(site_ + "media\\_create-Thumbnails.cmd", edited);
  WriteFileBytes(site_ + "media\\matterhorn.jpg", "my own mountain");
  DeleteFileA((site_ + "media\\avatar.svg").c_str());
  for (const HelperFile& file : HelperFiles())
    if (std::string_view(file.site_path) != "media\\_create-Thumbnails.cmd")
      WriteFileBytes(site_ + file.site_path, "edited by the user\r\n");

  Run(true);

  EXPECT_EQ(ReadFileBytes(site_ + "media\\_create-Thumbnails.cmd"), edited);
  EXPECT_EQ(ReadFileBytes(site_ + "media\\matterhorn.jpg"), "my own mountain");
  EXPECT_FALSE(FileExists(site_ + "media\\avatar.svg"));
  EXPECT_TRUE(SameBytes(ReadFileBytes(site_ + "media\\candle.mp4"), SampleMedia()[0].bytes));
  // The other helper files belong to every run.
  for (const HelperFile& file : HelperFiles()) {
    if (std::string_view(file.site_path) == "media\\_create-Thumbnails.cmd") continue;
    SCOPED_TRACE(file.site_path);
    EXPECT_TRUE(SameBytes(ReadFileBytes(site_ + file.site_path), file.text));
  }
}

TEST_F(SiteFilesTest, CssOnlyRunDoesNotRecreateMissingMedia) {
  Run(true);
  EXPECT_FALSE(FileExists(site_ + "media"));
  EXPECT_FALSE(FileExists(site_ + "media\\_create-Thumbnails.cmd"));
  for (const MediaFile& media : SampleMedia())
    EXPECT_FALSE(FileExists(site_ + std::string(media.name))) << media.name;
  EXPECT_TRUE(SameBytes(ReadFileBytes(site_ + "_ftp\\ftp-pipe.txt"), FtpCommandText()));
}

// A user's changes to the scripts and to the FTP access data do not survive
// a run: the files are emptied and written anew, so no longer text of the
// user's is left behind either.
TEST_F(SiteFilesTest, FullRunReplacesEditedScriptsAndFtpCommands) {
  Run(false);
  const std::vector<HelperFile> files = HelperFiles();
  for (const HelperFile& file : files) {
    std::string edited = file.text;
    edited.replace(0, 4, "XXXX");
    edited += "REM appended by the user\r\n";
    WriteFileBytes(site_ + file.site_path, edited);
  }
  WriteFileBytes(site_ + "_ftp\\ftp-pipe.txt",
                 "OPEN ftp.my-school.example\r\nmyname\r\nmysecret\r\n\r\nBINARY\r\n"
                 "MPUT *.*\r\nbye\r\n" + std::string(1000, ' ') + "\r\n");

  Run(false);

  for (const HelperFile& file : files) {
    SCOPED_TRACE(file.site_path);
    EXPECT_TRUE(SameBytes(ReadFileBytes(site_ + file.site_path), file.text));
  }
}

}  // namespace
}  // namespace trellan
