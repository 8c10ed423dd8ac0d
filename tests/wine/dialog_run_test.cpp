// The OK command of the real dialog, created in this process: the form
// handed to the run in UTF-8, the form disabled while the run works, the
// overwrite question and its answers, the CSS-only box, Explorer on demand
// and the notice that ends the run.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/form_ids.h"
#include "generator/page_writer.h"
#include "generator/run_texts.h"
#include "identity.h"
#include "system/system.h"
#include "tests/driver/dialog_fixture.h"
#include "tests/support/dialog_host.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_site.h"
#include "utils/utf8.h"

namespace trellan {
namespace {

using driver::ReadStored;
using driver::StoredNumber;
using test::FileExists;
using test::ReadFileBytes;

const std::string kBom(kUtf8Bom);

std::string Site(const std::string& relative) { return test::SiteFolder() + relative; }

bool StartsWithBom(const std::string& bytes) { return bytes.rfind(kBom, 0) == 0; }

// The page's title element, as UTF-8.
std::string TitleOf(const std::string& page) {
  const std::string html = ReadFileBytes(page);
  const auto start = html.find("<title>");
  const auto end = html.find("</title>");
  if (start == std::string::npos || end == std::string::npos) return "<no title>";
  return html.substr(start + 7, end - start - 7);
}

void ExpectDoneNotice(const test::SeenBox& box) {
  EXPECT_EQ(box.caption, kProgramCaption);
  EXPECT_EQ(box.text, kDoneNoticeText);
  EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_INFORMATION));
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
}

void SetKeyDown(int virtual_key, bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[virtual_key] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

class DialogRun : public ::testing::Test {
 protected:
  void SetUp() override {
    driver::ForgetStoredForm();
    test::RemoveSiteFolder();
  }
  void TearDown() override {
    dialog_.reset();
    test::RemoveSiteFolder();
  }

  // Opens the dialog as the program's start does.
  void Open() { dialog_ = std::make_unique<test::DialogHost>(); }

  // Presses OK; boxes get `answers`, then OK. Notes for every box whether
  // the form was disabled and "&Ende" usable while it was shown.
  std::vector<test::SeenBox> PressOk(std::deque<int> answers = {}) {
    test::MessageBoxAnswerer answerer(std::move(answers));
    busy_while_shown_.clear();
    answerer.WhileShown([this](const test::SeenBox&) {
      busy_while_shown_.push_back(dialog_->FormIs(false) && dialog_->IsEnabled(IDCANCEL));
    });
    dialog_->Click(IDOK);
    return answerer.seen();
  }

  // A site from a default run whose index page the user has made their own
  // and whose stylesheet is gone; the dialog reopened on it, which checks
  // the CSS-only box, and the user unchecks it to be asked.
  void ExistingSite() {
    Open();
    PressOk();
    test::WriteFileBytes(Site("index.html"), "mine");
    DeleteFileA(Site("style.css").c_str());
    Open();
    ASSERT_TRUE(dialog_->IsChecked(IDC_CSSONLY));
    dialog_->Click(IDC_CSSONLY);
    ASSERT_FALSE(dialog_->IsChecked(IDC_CSSONLY));
  }

  std::unique_ptr<test::DialogHost> dialog_;
  std::vector<bool> busy_while_shown_;
};

TEST_F(DialogRun, DefaultFormWritesTheSiteAndEndsWithTheNotice) {
  // A page left over from a longer menu goes; no index.html, so no question.
  CreateDirectoryA(test::SiteFolder().c_str(), nullptr);
  test::WriteFileBytes(Site("s06.html"), "stale");
  Open();
  const auto boxes = PressOk();
  ASSERT_EQ(boxes.size(), 1u);
  ExpectDoneNotice(boxes[0]);
  EXPECT_EQ(busy_while_shown_, std::vector<bool>{true});
  EXPECT_TRUE(dialog_->FormIs(true));
  // OK lost the focus when the form was disabled under the notice; the
  // dialog gave it to "&Ende" when it was active again.
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDCANCEL);
  EXPECT_FALSE(dialog_->IsChecked(IDC_CSSONLY));

  for (const char* page : {"index.html", "s02.html", "s03.html", "s04.html", "s05.html"})
    EXPECT_TRUE(StartsWithBom(ReadFileBytes(Site(page)))) << page;
  EXPECT_FALSE(FileExists(Site("s06.html")));
  EXPECT_TRUE(FileExists(Site("media\\matterhorn.jpg")));
  EXPECT_TRUE(FileExists(Site("_ftp\\ftp-pipe.txt")));
  EXPECT_EQ(TitleOf(Site("index.html")), "Seitentitel eingeben");
}

// The ANSI texts of the form are converted once, at the run's edge.
TEST_F(DialogRun, FormTextsReachThePagesInUtf8) {
  Open();
  dialog_->SetText(IDC_TITLE,
                   "Gr\xFC\xDF"
                   "e & <i>Sch\xF6nes</i>");
  dialog_->SetText(IDC_MENU, "Caf\xE9\r\n\r\nA&amp;B\r\n");
  PressOk();
  const SiteText site{
      "Gr\xC3\xBC\xC3\x9F"
      "e & <i>Sch\xC3\xB6nes</i>",
      "Vorname Name",
      "Schl\xC3\xBCsselw\xC3\xB6rter f\xC3\xBCr Suchmaschinen eingeben",
      {"Caf\xC3\xA9", "A&amp;B"}};
  EXPECT_EQ(ReadFileBytes(Site("index.html")), kBom + RenderPage(site, 1, TodayText()));
  EXPECT_EQ(ReadFileBytes(Site("s02.html")), kBom + RenderPage(site, 2, TodayText()));
  EXPECT_FALSE(FileExists(Site("s03.html")));
}

TEST_F(DialogRun, FieldsLongerThanTheirCapacityAreHandedOverCut) {
  Open();
  const std::string title = std::string(512, 'a') + std::string(88, 'b');
  dialog_->SetText(IDC_TITLE, title);
  ASSERT_EQ(dialog_->Text(IDC_TITLE), title);  // the field holds all 600
  PressOk();
  EXPECT_EQ(TitleOf(Site("index.html")), std::string(512, 'a'));
  EXPECT_EQ(dialog_->Text(IDC_TITLE), title);  // the run leaves the form as it was
}

TEST_F(DialogRun, OverwriteQuestionThenCancelWritesAndStoresNothing) {
  ExistingSite();
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "CSSOnly");
  const auto boxes = PressOk({IDCANCEL});
  ASSERT_EQ(boxes.size(), 1u) << "no notice after Cancel";
  const test::SeenBox& question = boxes[0];
  EXPECT_EQ(question.caption, kOverwriteCaption);
  EXPECT_EQ(question.text, "Im Ordner\r\n\xAB" + test::SiteFolder() +
                               "\xBB\r\nhat es bereits HTML-Dateien.\r\n\r\n"
                               "HTML-Dateien wirklich \xFC"
                               "berschreiben?");
  EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(question.default_button, IDNO);
  EXPECT_EQ(question.icon, LoadIconA(nullptr, IDI_QUESTION));
  EXPECT_EQ(question.owner, dialog_->get());

  EXPECT_EQ(ReadFileBytes(Site("index.html")), "mine");
  EXPECT_FALSE(FileExists(Site("style.css")));
  EXPECT_FALSE(dialog_->IsChecked(IDC_CSSONLY));
  EXPECT_TRUE(dialog_->FormIs(true));
  // Disabled and enabled again after the question, as after a run: OK,
  // which had the focus back, lost it, and nothing has it.
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(ReadStored("CSSOnly"));
}

TEST_F(DialogRun, OverwriteQuestionYesRewritesEverything) {
  ExistingSite();
  DeleteFileA(Site("media\\karte.png").c_str());
  const auto boxes = PressOk({IDYES});
  ASSERT_EQ(boxes.size(), 2u);
  ExpectDoneNotice(boxes[1]);
  EXPECT_EQ(TitleOf(Site("index.html")), "Seitentitel eingeben");
  EXPECT_TRUE(FileExists(Site("style.css")));
  EXPECT_TRUE(FileExists(Site("media\\karte.png")));
  EXPECT_FALSE(dialog_->IsChecked(IDC_CSSONLY));
  EXPECT_TRUE(dialog_->FormIs(true));
}

TEST_F(DialogRun, OverwriteQuestionNoKeepsPagesAndMediaAndSwitchesToCssOnly) {
  ExistingSite();
  DeleteFileA(Site("media\\karte.png").c_str());
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "CSSOnly");
  const auto boxes = PressOk({IDNO});
  ASSERT_EQ(boxes.size(), 2u);
  ExpectDoneNotice(boxes[1]);
  EXPECT_EQ(ReadFileBytes(Site("index.html")), "mine");
  EXPECT_FALSE(FileExists(Site("media\\karte.png")));
  EXPECT_TRUE(FileExists(Site("style.css")));
  EXPECT_TRUE(dialog_->IsChecked(IDC_CSSONLY));
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(1));
  EXPECT_TRUE(dialog_->FormIs(true));
}

TEST_F(DialogRun, CheckedCssOnlyBoxAsksNothingAndLeavesPagesAndMedia) {
  ExistingSite();
  test::RemoveTree(Site("media"));
  dialog_->Click(IDC_CSSONLY);
  const auto boxes = PressOk();
  ASSERT_EQ(boxes.size(), 1u);
  ExpectDoneNotice(boxes[0]);
  EXPECT_EQ(ReadFileBytes(Site("index.html")), "mine");
  EXPECT_FALSE(FileExists(Site("media")));
  EXPECT_TRUE(FileExists(Site("style.css")));
  EXPECT_TRUE(FileExists(Site("_ftp\\ftp-pipe.txt")));
}

// Files that could not be written replace the notice by a warning that
// names them and waits for the user.
TEST_F(DialogRun, PageHeldOpenEndsWithTheWarningNamingIt) {
  ExistingSite();
  test::WriteFileBytes(Site("s02.html"), "held");
  const HANDLE held = CreateFileA(Site("s02.html").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const auto boxes = PressOk({IDYES});
  CloseHandle(held);
  ASSERT_EQ(boxes.size(), 2u);
  const test::SeenBox& notice = boxes[1];
  EXPECT_EQ(notice.caption, kProgramCaption);
  EXPECT_EQ(notice.icon, LoadIconA(nullptr, IDI_WARNING));
  EXPECT_EQ(notice.text, FailedFilesNoticeText({{"s02.html", {WriteCause::InUse, 0}}}));
  EXPECT_EQ(busy_while_shown_, (std::vector<bool>{false, true}));
}

// A desktop on a drive that is not there, or under a file: the run writes
// nothing and its notice names the folder instead of every file.
TEST_F(DialogRun, SiteFolderThatCannotBeCreatedEndsWithTheWarningNamingIt) {
  char temporary[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temporary);
  const std::string file = std::string(temporary) + "not-a-folder.txt";
  test::WriteFileBytes(file, "a file");
  for (const std::string& desktop : {std::string("Q:\\Desktop"), file + "\\Desktop"}) {
    SCOPED_TRACE(desktop);
    const test::DesktopAt redirected(desktop);
    Open();
    const auto boxes = PressOk();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, kProgramCaption);
    EXPECT_EQ(boxes[0].icon, LoadIconA(nullptr, IDI_WARNING));
    EXPECT_EQ(boxes[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(boxes[0].text, FolderMissingNoticeText(desktop + "\\CSS-Musterseite\\"));
    EXPECT_TRUE(dialog_->FormIs(true));
  }
  EXPECT_EQ(ReadFileBytes(file), "a file");
  DeleteFileA(file.c_str());
}

TEST_F(DialogRun, ExplorerOpensWithItsBoxOrWithShiftOrControl) {
  Open();
  dialog_->Click(IDC_CSSONLY);  // quicker runs; Explorer comes all the same
  const auto before = test::ExplorerProcesses();
  PressOk();
  EXPECT_TRUE(test::EndNewExplorers(before).empty()) << "no Explorer without being asked";

  dialog_->Click(IDC_EXPLORE);
  const auto ahead = test::ExplorerProcesses();
  PressOk();
  EXPECT_EQ(test::EndNewExplorers(ahead).size(), 1u) << "open-folder box";

  dialog_->Click(IDC_EXPLORE);
  for (int key : {VK_SHIFT, VK_CONTROL}) {
    SetKeyDown(key, true);
    const auto running = test::ExplorerProcesses();
    PressOk();
    SetKeyDown(key, false);
    EXPECT_EQ(test::EndNewExplorers(running).size(), 1u) << "key " << key;
  }
}

}  // namespace
}  // namespace trellan
