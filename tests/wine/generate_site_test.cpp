// Whole generation runs on the prefix's desktop: files, the overwrite
// question, CSS-only mode, the closing notice and Explorer.
#include "generator/generate_site.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <set>
#include <string>

#include "app/form_ids.h"
#include "generator/page_writer.h"
#include "generator/run_texts.h"
#include "generator/site_content.h"
#include "generator/text_output.h"
#include "system/system.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_site.h"

namespace trellan {
namespace {

using test::FileExists;
using test::ReadFileBytes;
using test::SiteFolder;

const std::string kBom(kUtf8Bom);

std::string PathOf(const std::string& relative) { return SiteFolder() + relative; }

bool StartsWithBom(const std::string& bytes) { return bytes.rfind(kBom, 0) == 0; }

class GenerateSiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::RemoveSiteFolder();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
  }
  void TearDown() override { test::RemoveSiteFolder(); }

  // Runs with the form window as the dialog; boxes get `answers`, then OK.
  std::vector<test::SeenBox> Run(const GenerationRequest& request, std::deque<int> answers = {}) {
    test::MessageBoxAnswerer answerer(std::move(answers));
    GenerateSite(form_.get(), request);
    return answerer.seen();
  }

  // A site from a default run, with its index page replaced by `marker`.
  void ExistingSite(const std::string& marker = "my own page") {
    Run(test::DefaultRequest());
    test::WriteFileBytes(PathOf("index.html"), marker);
  }

  test::FormWindow form_;
};

void ExpectDoneNotice(const test::SeenBox& box) {
  EXPECT_EQ(box.caption, "Trellan 4.4.0.3");
  EXPECT_EQ(box.text, kDoneNoticeText);
  EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_INFORMATION));
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
}

TEST_F(GenerateSiteTest, DefaultRunWritesTheWholeSite) {
  const auto boxes = Run(test::DefaultRequest());
  ASSERT_EQ(boxes.size(), 1u);
  ExpectDoneNotice(boxes[0]);

  for (const char* page : {"index.html", "s02.html", "s03.html", "s04.html", "s05.html"})
    EXPECT_TRUE(StartsWithBom(ReadFileBytes(PathOf(page)))) << page;
  EXPECT_FALSE(FileExists(PathOf("s06.html")));
  EXPECT_FALSE(FileExists(PathOf("s01.html")));

  EXPECT_EQ(ReadFileBytes(PathOf("style.css")), StylesheetText());
  EXPECT_EQ(ReadFileBytes(PathOf("zoom.js")), kBom + ZoomScriptText());
  EXPECT_EQ(ReadFileBytes(PathOf("media\\_create-Thumbnails.cmd")), ThumbnailScriptText());
  EXPECT_EQ(ReadFileBytes(PathOf("_FTP-Upload.cmd")), FtpUploadScriptText());
  EXPECT_EQ(ReadFileBytes(PathOf("_Start.cmd")), StartScriptText());
  EXPECT_EQ(ReadFileBytes(PathOf("_BackUp2OneDrive.cmd")), BackupScriptText());
  EXPECT_EQ(ReadFileBytes(PathOf(".htaccess")), HtaccessText());
  EXPECT_EQ(ReadFileBytes(PathOf("_ftp\\ftp-pipe.txt")), FtpCommandText());
  for (const MediaFile& media : SampleMedia())
    EXPECT_EQ(ReadFileBytes(PathOf(std::string(media.name))), media.bytes) << media.name;

  // The form stays disabled for the caller to enable; the CSS-only box is untouched.
  for (int id : {IDOK, IDC_TITLE, IDC_AUTHOR, IDC_KEYWORDS, IDC_MENU, IDC_CSSONLY, IDC_EXPLORE,
                 IDC_NEW, IDC_LOAD, IDC_SAVE})
    EXPECT_FALSE(form_.IsEnabled(id)) << id;
  EXPECT_TRUE(form_.IsEnabled(IDCANCEL));
  EXPECT_FALSE(form_.IsChecked(IDC_CSSONLY));
}

TEST_F(GenerateSiteTest, PagesAreTheConvertedFormInUtf8) {
  GenerationRequest request = test::DefaultRequest();
  request.title = "Gr\xFC\xDF" "e & <i>Sch\xF6nes</i>";
  request.menu_text = "Caf\xE9\r\n\r\nA&amp;B\r\n";
  Run(request);

  SiteText site;
  site.title = "Gr\xC3\xBC\xC3\x9F" "e & <i>Sch\xC3\xB6nes</i>";
  site.author = "Vorname Name";
  site.keywords = "Schl\xC3\xBCsselw\xC3\xB6rter f\xC3\xBCr Suchmaschinen eingeben";
  site.items = {"Caf\xC3\xA9", "A&amp;B"};
  EXPECT_EQ(ReadFileBytes(PathOf("index.html")), kBom + RenderPage(site, 1, TodayText()));
  EXPECT_EQ(ReadFileBytes(PathOf("s02.html")), kBom + RenderPage(site, 2, TodayText()));
  EXPECT_FALSE(FileExists(PathOf("s03.html")));
}

TEST_F(GenerateSiteTest, StalePagesUpToS99AreRemoved) {
  CreateDirectoryA(SiteFolder().c_str(), nullptr);
  for (const char* name : {"s02.html", "s06.html", "s42.html", "s99.html", "s100.html"})
    test::WriteFileBytes(PathOf(name), "old");
  GenerationRequest request = test::DefaultRequest();
  request.menu_text = "";
  Run(request);
  EXPECT_TRUE(FileExists(PathOf("index.html")));
  for (const char* name : {"s02.html", "s06.html", "s42.html", "s99.html"})
    EXPECT_FALSE(FileExists(PathOf(name))) << name;
  EXPECT_TRUE(FileExists(PathOf("s100.html")));
}

TEST_F(GenerateSiteTest, TwentyPagesAtMost) {
  GenerationRequest request = test::DefaultRequest();
  request.menu_text.clear();
  for (int i = 1; i <= 25; ++i) request.menu_text += "Seite " + std::to_string(i) + "\r\n";
  Run(request);
  EXPECT_TRUE(FileExists(PathOf("s20.html")));
  EXPECT_FALSE(FileExists(PathOf("s21.html")));
  const std::string last = ReadFileBytes(PathOf("s20.html"));
  EXPECT_NE(last.find("<h1>Seite 20<span class=\"lang\"> &#x1f310;</span></h1>"),
            std::string::npos);
}

TEST_F(GenerateSiteTest, ExistingFilesAreReplacedNeverAppended) {
  CreateDirectoryA(SiteFolder().c_str(), nullptr);
  CreateDirectoryA(PathOf("_ftp").c_str(), nullptr);
  const std::string garbage(100000, 'g');
  test::WriteFileBytes(PathOf("style.css"), garbage);
  test::WriteFileBytes(PathOf("_ftp\\ftp-pipe.txt"), "open my.own.server\r\n" + garbage);
  Run(test::DefaultRequest());
  EXPECT_EQ(ReadFileBytes(PathOf("style.css")), StylesheetText());
  EXPECT_EQ(ReadFileBytes(PathOf("_ftp\\ftp-pipe.txt")), FtpCommandText());
}

TEST_F(GenerateSiteTest, OverwriteQuestionCancelWritesNothing) {
  ExistingSite();
  DeleteFileA(PathOf("style.css").c_str());
  const auto boxes = Run(test::DefaultRequest(), {IDCANCEL});
  ASSERT_EQ(boxes.size(), 1u) << "no notice after Cancel";
  const test::SeenBox& question = boxes[0];
  EXPECT_EQ(question.caption, kOverwriteCaption);
  EXPECT_EQ(question.text, OverwriteQuestionText(SiteFolder()));
  EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(question.default_button, IDNO);
  EXPECT_EQ(question.icon, LoadIconA(nullptr, IDI_QUESTION));
  EXPECT_EQ(question.owner, form_.get());

  EXPECT_EQ(ReadFileBytes(PathOf("index.html")), "my own page");
  EXPECT_FALSE(FileExists(PathOf("style.css")));
  EXPECT_FALSE(form_.IsEnabled(IDOK));
  EXPECT_EQ(ReadRegDword(HKEY_CURRENT_USER, kSettingsKey, "CSSOnly"), 0u);
}

TEST_F(GenerateSiteTest, OverwriteQuestionNoKeepsPagesAndMedia) {
  ExistingSite();
  DeleteFileA(PathOf("media\\karte.png").c_str());
  test::WriteFileBytes(PathOf("style.css"), "old");
  const auto boxes = Run(test::DefaultRequest(), {IDNO});
  ASSERT_EQ(boxes.size(), 2u);
  ExpectDoneNotice(boxes[1]);
  EXPECT_EQ(ReadFileBytes(PathOf("index.html")), "my own page");
  EXPECT_FALSE(FileExists(PathOf("media\\karte.png")));
  EXPECT_EQ(ReadFileBytes(PathOf("style.css")), StylesheetText());
  EXPECT_EQ(ReadRegDword(HKEY_CURRENT_USER, kSettingsKey, "CSSOnly"), 1u);
  EXPECT_TRUE(form_.IsChecked(IDC_CSSONLY));
}

TEST_F(GenerateSiteTest, OverwriteQuestionYesRewritesEverything) {
  ExistingSite();
  DeleteFileA(PathOf("media\\karte.png").c_str());
  const auto boxes = Run(test::DefaultRequest(), {IDYES});
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(StartsWithBom(ReadFileBytes(PathOf("index.html"))));
  EXPECT_TRUE(FileExists(PathOf("media\\karte.png")));
  EXPECT_FALSE(form_.IsChecked(IDC_CSSONLY));
}

TEST_F(GenerateSiteTest, CssOnlyAsksNothingAndLeavesPagesAndMedia) {
  ExistingSite();
  test::RemoveTree(PathOf("media"));
  GenerationRequest request = test::DefaultRequest();
  request.css_only = true;
  const auto boxes = Run(request);
  ASSERT_EQ(boxes.size(), 1u);
  ExpectDoneNotice(boxes[0]);
  EXPECT_EQ(ReadFileBytes(PathOf("index.html")), "my own page");
  EXPECT_FALSE(FileExists(PathOf("media")));
  EXPECT_TRUE(FileExists(PathOf("style.css")));
  EXPECT_TRUE(FileExists(PathOf("_ftp\\ftp-pipe.txt")));
}

TEST_F(GenerateSiteTest, HiddenReadOnlyThumbnailCacheIsRemoved) {
  CreateDirectoryA(SiteFolder().c_str(), nullptr);
  const std::string cache = PathOf("Thumbs.db");
  test::WriteFileBytes(cache, "cache");
  SetFileAttributesA(cache.c_str(),
                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  Run(test::DefaultRequest());
  EXPECT_FALSE(FileExists(cache));
}

TEST_F(GenerateSiteTest, FileHeldOpenIsSkippedAndNamedInTheNotice) {
  ExistingSite();
  test::WriteFileBytes(PathOf("s02.html"), "held");
  const HANDLE held = CreateFileA(PathOf("s02.html").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const auto boxes = Run(test::DefaultRequest(), {IDYES});
  CloseHandle(held);

  EXPECT_EQ(ReadFileBytes(PathOf("s02.html")), "held");
  EXPECT_TRUE(StartsWithBom(ReadFileBytes(PathOf("index.html"))));
  EXPECT_TRUE(StartsWithBom(ReadFileBytes(PathOf("s03.html"))));
  EXPECT_EQ(ReadFileBytes(PathOf("_ftp\\ftp-pipe.txt")), FtpCommandText());
  ASSERT_EQ(boxes.size(), 2u);
  const test::SeenBox& notice = boxes[1];
  EXPECT_EQ(notice.caption, "Trellan 4.4.0.3");
  EXPECT_EQ(notice.icon, LoadIconA(nullptr, IDI_WARNING));
  EXPECT_EQ(notice.text, FailedFilesNoticeText({"s02.html"}));
}

TEST_F(GenerateSiteTest, UnwritableMediaFolderListsEveryMissingFile) {
  CreateDirectoryA(SiteFolder().c_str(), nullptr);
  test::WriteFileBytes(PathOf("media"), "a file where the folder should be");
  const auto boxes = Run(test::DefaultRequest());
  ASSERT_EQ(boxes.size(), 1u);
  const std::string& text = boxes[0].text;
  for (const char* name : {"media\\candle.mp4", "media\\matterhorn.jpg", "media\\karte.png",
                           "media\\avatar.svg", "media\\_create-Thumbnails.cmd"})
    EXPECT_NE(text.find(std::string("\r\n") + name + "\r\n"), std::string::npos) << name;
  EXPECT_EQ(text.find("style.css"), std::string::npos);
}

// The Explorer processes running now.
std::set<DWORD> ExplorerProcesses() {
  std::set<DWORD> ids;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (_stricmp(entry.szExeFile, "explorer.exe") == 0) ids.insert(entry.th32ProcessID);
  CloseHandle(snapshot);
  return ids;
}

// Waits up to 4 s for Explorers not in `before`, and ends them.
std::set<DWORD> NewExplorers(const std::set<DWORD>& before) {
  std::set<DWORD> started;
  for (int i = 0; i < 40 && started.empty(); ++i) {
    for (DWORD id : ExplorerProcesses())
      if (!before.count(id)) started.insert(id);
    if (started.empty()) Sleep(100);
  }
  for (DWORD id : started) {
    const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
    TerminateProcess(process, 0);
    CloseHandle(process);
  }
  return started;
}

void SetKeyDown(int virtual_key, bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[virtual_key] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

TEST_F(GenerateSiteTest, ExplorerOpensOnRequestOrWithShiftOrControl) {
  const auto before = ExplorerProcesses();
  Run(test::DefaultRequest());
  EXPECT_TRUE(NewExplorers(before).empty()) << "no Explorer without being asked";

  GenerationRequest request = test::DefaultRequest();
  request.css_only = true;
  request.open_folder = true;
  const auto ahead = ExplorerProcesses();
  Run(request);
  EXPECT_EQ(NewExplorers(ahead).size(), 1u) << "open-folder box";

  request.open_folder = false;
  for (int key : {VK_SHIFT, VK_CONTROL}) {
    SetKeyDown(key, true);
    const auto running = ExplorerProcesses();
    Run(request);
    SetKeyDown(key, false);
    EXPECT_EQ(NewExplorers(running).size(), 1u) << "key " << key;
  }
}

}  // namespace
}  // namespace trellan
