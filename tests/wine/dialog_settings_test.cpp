// "&Neu", "&Laden" and "&Sichern" through the dialog, checked against the
// registry.
#include <gtest/gtest.h>

#include <string>

#include "tests/driver/dialog_fixture.h"

namespace trellan::driver {
namespace {

const std::string kDefaultKeywords =
    "Schl\xFC" "sselw\xF6" "rter f\xFC" "r Suchmaschinen eingeben";
const std::string kDefaultMenu = "Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum";

class FormStore : public DialogTest {
 protected:
  // A button of the bottom row, and the wait until its work is done.
  void Press(int id) {
    ASSERT_TRUE(program_->Click(id));
    ASSERT_TRUE(program_->Sync());
  }
  void ExpectDefaultForm() {
    EXPECT_EQ(program_->Text(101), "Seitentitel eingeben");
    EXPECT_EQ(program_->Text(102), "Vorname Name");
    EXPECT_EQ(program_->Text(103), kDefaultKeywords);
    EXPECT_EQ(program_->Text(104), kDefaultMenu);
    EXPECT_FALSE(program_->IsChecked(105));
    EXPECT_FALSE(program_->IsChecked(106));
  }

};

TEST_F(FormStore, SaveNewLoadRestoresEverythingSaved) {
  Start();
  const std::string title = "\xC4pfel & Birnen";
  ASSERT_TRUE(program_->SetText(101, title));
  ASSERT_TRUE(program_->SetText(102, "Eva M\xFCller"));
  ASSERT_TRUE(program_->SetText(103, "Obst, Garten"));
  ASSERT_TRUE(program_->SetText(104, "Heim\r\nKontakt"));
  ASSERT_TRUE(program_->Click(105));
  ASSERT_TRUE(program_->Click(106));
  Press(111);  // "&Sichern"
  EXPECT_EQ(StoredText("PageTitle"), title);
  EXPECT_EQ(StoredText("PageAuthor"), "Eva M\xFCller");
  EXPECT_EQ(StoredText("PageKeywords"), "Obst, Garten");
  EXPECT_EQ(StoredText("PageMenue"), "Heim\r\nKontakt");
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(1));
  EXPECT_EQ(StoredNumber("Explore"), std::optional<DWORD>(1));

  Press(109);  // "&Neu" puts the defaults back and leaves the registry alone
  ExpectDefaultForm();
  EXPECT_EQ(StoredText("PageTitle"), title);
  EXPECT_EQ(StoredNumber("Explore"), std::optional<DWORD>(1));

  Press(110);  // "&Laden"
  EXPECT_EQ(program_->Text(101), title);
  EXPECT_EQ(program_->Text(102), "Eva M\xFCller");
  EXPECT_EQ(program_->Text(103), "Obst, Garten");
  EXPECT_EQ(program_->Text(104), "Heim\r\nKontakt");
  EXPECT_TRUE(program_->IsChecked(105));
  EXPECT_TRUE(program_->IsChecked(106));
}

TEST_F(FormStore, SavedUncheckedBoxesAreStoredAsZero) {
  Start();
  Press(111);
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(0));
  EXPECT_EQ(StoredNumber("Explore"), std::optional<DWORD>(0));
  EXPECT_EQ(StoredText("PageMenue"), kDefaultMenu);
}

TEST_F(FormStore, LoadOnAFreshSystemGivesTheDefaultForm) {
  Start();
  ASSERT_TRUE(program_->SetText(101, "x"));
  ASSERT_TRUE(program_->SetChecked(105, true));
  ForgetStoredForm();
  Press(110);
  ExpectDefaultForm();
}

// Only a first character above 32 makes a stored text count; a check box
// is checked only by a stored 1.
TEST_F(FormStore, LoadTakesOnlyTextsThatStartPrintable) {
  StoreText("PageTitle", " Titel mit Leerzeichen");
  StoreText("PageAuthor", "\xC4nne");
  StoreText("PageKeywords", "\tTab");
  StoreText("PageMenue", "");
  StoreNumber("Explore", 2);
  Start();
  EXPECT_EQ(program_->Text(101), "Seitentitel eingeben");
  EXPECT_EQ(program_->Text(102), "\xC4nne");
  EXPECT_EQ(program_->Text(103), kDefaultKeywords);
  EXPECT_EQ(program_->Text(104), kDefaultMenu);
  EXPECT_FALSE(program_->IsChecked(105));
}

// "&Sichern" stores what the fields hand over (512 characters of a line,
// 8191 of the menu), and "&Laden" brings all of it back.
TEST_F(FormStore, LongTextsSurviveSaveAndLoad) {
  Start();
  std::string menu;
  for (int line = 0; menu.size() < 8000; ++line) {
    if (!menu.empty()) menu += "\r\n";
    menu += "Zeile " + std::to_string(line) + " " + std::string(60, static_cast<char>('a' + line % 26));
  }
  menu.resize(8000);
  const std::string title = std::string(511, 'T') + "!";
  ASSERT_TRUE(program_->SetText(104, menu));
  ASSERT_TRUE(program_->SetText(101, title + "cut"));
  Press(111);
  EXPECT_EQ(StoredText("PageMenue"), menu);
  EXPECT_EQ(StoredText("PageTitle"), title);
  Press(109);
  ASSERT_EQ(program_->Text(104), kDefaultMenu);
  Press(110);
  EXPECT_EQ(program_->Text(104).size(), menu.size());
  EXPECT_EQ(program_->Text(104), menu);
  EXPECT_EQ(program_->Text(101), title);
}

// After "&Neu" and "&Ende" the stored form comes back with the next start;
// the CSS-only box follows the desktop instead.
TEST_F(FormStore, RestartBringsBackTheSavedForm) {
  Start();
  ASSERT_TRUE(program_->SetText(101, "Gespeichert"));
  ASSERT_TRUE(program_->Click(105));
  ASSERT_TRUE(program_->Click(106));
  Press(111);
  Press(109);
  ASSERT_TRUE(program_->Click(IDCANCEL));
  ASSERT_EQ(program_->WaitForExit(), std::optional<DWORD>(0));
  Start();
  EXPECT_EQ(program_->Text(101), "Gespeichert");
  EXPECT_TRUE(program_->IsChecked(105));
  EXPECT_FALSE(program_->IsChecked(106));
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace trellan::driver
