// OK through the dialog: the form handed to the run, the form disabled
// while it works and enabled again, and the overwrite question answered in
// the user interface.
#include <gtest/gtest.h>

#include <string>

#include "tests/driver/dialog_fixture.h"

namespace trellan::driver {
namespace {

constexpr const char* kQuestionCaption = "\xDC" "berschreiben best\xE4" "tigen";
constexpr const char* kNoticeText =
    "Gew\xFC" "nschte Dateie(n) erstellt.\r\r[Dialog schlie\xDF" "t automatich in 3 Sek.]";

std::string Site(const std::string& relative) { return test::SiteFolder() + relative; }

// The page's title element, as UTF-8.
std::string TitleOf(const std::string& page) {
  const std::string html = test::ReadFileBytes(page);
  const auto start = html.find("<title>");
  const auto end = html.find("</title>");
  if (start == std::string::npos || end == std::string::npos) return "<no title>";
  return html.substr(start + 7, end - start - 7);
}

class Generate : public DialogTest {
 protected:
  // A full site from the default form, as a first run leaves it.
  void GenerateDefaultSite() {
    Start();
    ASSERT_TRUE(GenerateThroughDialog(*program_));
    ASSERT_TRUE(program_->Click(IDCANCEL));
    ASSERT_EQ(program_->WaitForExit(), std::optional<DWORD>(0));
    program_.reset();
  }
  bool FormEnabled() const {
    for (int id : {1, 101, 102, 103, 104, 105, 106, 109, 110, 111})
      if (!program_->IsEnabled(id)) return false;
    return true;
  }
  bool FormDisabled() const {
    for (int id : {1, 101, 102, 103, 104, 105, 106, 109, 110, 111})
      if (program_->IsEnabled(id)) return false;
    return true;
  }

};

TEST_F(Generate, DefaultFormWritesTheFivePagesAndEndsWithTheNotice) {
  // A page left over from a longer menu goes; no index.html, so no question.
  CreateDirectoryA(test::SiteFolder().c_str(), nullptr);
  test::WriteFileBytes(Site("s06.html"), "stale");
  Start();
  ASSERT_TRUE(program_->Click(IDOK));
  const std::optional<Box> notice = program_->WaitForBox("Trellan 4.4.0.3");
  ASSERT_TRUE(notice);
  EXPECT_EQ(notice->text, kNoticeText);
  EXPECT_EQ(notice->owner, nullptr);
  // The notice shows while the run still has the form disabled; "&Ende"
  // stays usable.
  EXPECT_TRUE(FormDisabled());
  EXPECT_TRUE(program_->IsEnabled(IDCANCEL));
  ASSERT_TRUE(program_->Answer(*notice, IDOK));
  EXPECT_TRUE(WaitFor([&] { return FormEnabled(); }, 5000));

  for (const char* page : {"index.html", "s02.html", "s03.html", "s04.html", "s05.html"})
    EXPECT_TRUE(test::FileExists(Site(page))) << page;
  EXPECT_FALSE(test::FileExists(Site("s06.html")));
  EXPECT_TRUE(test::FileExists(Site("media\\matterhorn.jpg")));
  EXPECT_TRUE(test::FileExists(Site("_ftp\\ftp-pipe.txt")));
  EXPECT_EQ(TitleOf(Site("index.html")), "Seitentitel eingeben");
  // The keywords reach the page converted to UTF-8.
  EXPECT_NE(test::ReadFileBytes(Site("index.html"))
                .find("Schl\xC3\xBC" "sselw\xC3\xB6" "rter f\xC3\xBC" "r Suchmaschinen eingeben"),
            std::string::npos);
  EXPECT_TRUE(program_->Boxes().empty());
}

// Enter in a line field is the dialog's OK.
TEST_F(Generate, EnterInTheTitleFieldStartsTheRun) {
  Start();
  ASSERT_EQ(program_->FocusId(), 101);
  ASSERT_TRUE(program_->PressKey(VK_RETURN));
  const std::optional<Box> notice = program_->WaitForBox("Trellan 4.4.0.3");
  ASSERT_TRUE(notice);
  ASSERT_TRUE(program_->Answer(*notice, IDOK));
  EXPECT_TRUE(test::FileExists(Site("index.html")));
}

TEST_F(Generate, FieldsLongerThanTheirCapacityAreHandedOverCut) {
  Start();
  const std::string title = std::string(512, 'a') + std::string(88, 'b');
  ASSERT_TRUE(program_->SetText(101, title));
  ASSERT_EQ(program_->Text(101), title);  // the field holds all 600
  ASSERT_TRUE(GenerateThroughDialog(*program_));
  EXPECT_EQ(TitleOf(Site("index.html")), std::string(512, 'a'));
  EXPECT_EQ(program_->Text(101), title);  // the run leaves the form as it was
}

class Overwrite : public Generate {
 protected:
  void SetUp() override {
    Generate::SetUp();
    GenerateDefaultSite();
    test::WriteFileBytes(Site("index.html"), "mine");
    DeleteFileA(Site("style.css").c_str());
    Start();
    // The site on the desktop starts the dialog in CSS-only mode; the
    // user switches that off to be asked.
    ASSERT_TRUE(program_->IsChecked(106));
    ASSERT_TRUE(program_->Click(106));
    ASSERT_TRUE(WaitFor([&] { return !program_->IsChecked(106); }, 5000));
  }

  // Presses OK and answers the question; the notice (if any) is closed.
  std::optional<std::vector<Box>> AnswerWith(int answer) {
    return GenerateThroughDialog(*program_, answer);
  }
};

TEST_F(Overwrite, QuestionNamesTheFolderAndOffersYesNoCancel) {
  ASSERT_TRUE(program_->Click(IDOK));
  const std::optional<Box> question = program_->WaitForBox(kQuestionCaption);
  ASSERT_TRUE(question);
  EXPECT_EQ(question->text, "Im Ordner\r\n\xAB" + test::SiteFolder() +
                                "\xBB\r\nhat es bereits HTML-Dateien.\r\n\r\n"
                                "HTML-Dateien wirklich \xFC" "berschreiben?");
  EXPECT_EQ(question->owner, program_->dialog());
  EXPECT_EQ(question->buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(question->default_button, IDNO);
  ASSERT_TRUE(program_->Answer(*question, IDCANCEL));
}

TEST_F(Overwrite, YesRewritesThePages) {
  const auto boxes = AnswerWith(IDYES);
  ASSERT_TRUE(boxes);
  ASSERT_EQ(boxes->size(), 2u);
  EXPECT_EQ(boxes->back().text, kNoticeText);
  EXPECT_EQ(TitleOf(Site("index.html")), "Seitentitel eingeben");
  EXPECT_TRUE(test::FileExists(Site("style.css")));
  EXPECT_FALSE(program_->IsChecked(106));
  EXPECT_TRUE(FormEnabled());
}

TEST_F(Overwrite, NoKeepsThePagesAndSwitchesToCssOnly) {
  const auto boxes = AnswerWith(IDNO);
  ASSERT_TRUE(boxes);
  ASSERT_EQ(boxes->size(), 2u);
  EXPECT_EQ(test::ReadFileBytes(Site("index.html")), "mine");
  EXPECT_TRUE(test::FileExists(Site("style.css")));
  EXPECT_TRUE(program_->IsChecked(106));
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(1));
  EXPECT_TRUE(FormEnabled());
}

TEST_F(Overwrite, CancelWritesNothingAndGivesTheFormBack) {
  const auto boxes = AnswerWith(IDCANCEL);
  ASSERT_TRUE(boxes);
  EXPECT_EQ(boxes->size(), 1u);  // no notice
  EXPECT_EQ(test::ReadFileBytes(Site("index.html")), "mine");
  EXPECT_FALSE(test::FileExists(Site("style.css")));
  EXPECT_FALSE(program_->IsChecked(106));
  EXPECT_TRUE(FormEnabled());
  EXPECT_TRUE(program_->Boxes().empty());
}

}  // namespace
}  // namespace trellan::driver
