// "&Neu", "&Laden" and "&Sichern" of the real dialog, created in this
// process, checked against the registry. The rules of the stored form are
// tested natively (form_settings_test).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/form_ids.h"
#include "tests/driver/dialog_fixture.h"
#include "tests/support/dialog_host.h"

namespace trellan::driver {
namespace {

const std::string kDefaultKeywords = "Schl\xFCsselw\xF6rter f\xFCr Suchmaschinen eingeben";
const std::string kDefaultMenu = "Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum";

class FormStore : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetStoredForm();
    test::RemoveSiteFolder();
  }
  void Start() { dialog_ = std::make_unique<test::DialogHost>(); }
  // A button of the bottom row; returns when its work is done.
  void Press(int id) { dialog_->Click(id); }
  void ExpectDefaultForm() {
    EXPECT_EQ(dialog_->Text(IDC_TITLE), "Seitentitel eingeben");
    EXPECT_EQ(dialog_->Text(IDC_AUTHOR), "Vorname Name");
    EXPECT_EQ(dialog_->Text(IDC_KEYWORDS), kDefaultKeywords);
    EXPECT_EQ(dialog_->Text(IDC_MENU), kDefaultMenu);
    EXPECT_FALSE(dialog_->IsChecked(IDC_EXPLORE));
    EXPECT_FALSE(dialog_->IsChecked(IDC_CSSONLY));
  }

  std::unique_ptr<test::DialogHost> dialog_;
};

TEST_F(FormStore, SaveNewLoadRestoresEverythingSaved) {
  Start();
  const std::string title = "\xC4pfel & Birnen";
  dialog_->SetText(IDC_TITLE, title);
  dialog_->SetText(IDC_AUTHOR, "Eva M\xFCller");
  dialog_->SetText(IDC_KEYWORDS, "Obst, Garten");
  dialog_->SetText(IDC_MENU, "Heim\r\nKontakt");
  dialog_->Click(IDC_EXPLORE);
  dialog_->Click(IDC_CSSONLY);
  Press(IDC_SAVE);
  EXPECT_EQ(StoredText("PageTitle"), title);
  EXPECT_EQ(StoredText("PageAuthor"), "Eva M\xFCller");
  EXPECT_EQ(StoredText("PageKeywords"), "Obst, Garten");
  EXPECT_EQ(StoredText("PageMenue"), "Heim\r\nKontakt");
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(1));
  EXPECT_EQ(StoredNumber("Explore"), std::optional<DWORD>(1));

  Press(IDC_NEW);  // puts the defaults back and leaves the registry alone
  ExpectDefaultForm();
  EXPECT_EQ(StoredText("PageTitle"), title);
  EXPECT_EQ(StoredNumber("Explore"), std::optional<DWORD>(1));

  Press(IDC_LOAD);
  EXPECT_EQ(dialog_->Text(IDC_TITLE), title);
  EXPECT_EQ(dialog_->Text(IDC_AUTHOR), "Eva M\xFCller");
  EXPECT_EQ(dialog_->Text(IDC_KEYWORDS), "Obst, Garten");
  EXPECT_EQ(dialog_->Text(IDC_MENU), "Heim\r\nKontakt");
  EXPECT_TRUE(dialog_->IsChecked(IDC_EXPLORE));
  EXPECT_TRUE(dialog_->IsChecked(IDC_CSSONLY));
}

TEST_F(FormStore, SavedUncheckedBoxesAreStoredAsZero) {
  Start();
  Press(IDC_SAVE);
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(0));
  EXPECT_EQ(StoredNumber("Explore"), std::optional<DWORD>(0));
  EXPECT_EQ(StoredText("PageMenue"), kDefaultMenu);
}

TEST_F(FormStore, LoadOnAFreshSystemGivesTheDefaultForm) {
  Start();
  dialog_->SetText(IDC_TITLE, "x");
  dialog_->Click(IDC_EXPLORE);
  ForgetStoredForm();
  Press(IDC_LOAD);
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
  EXPECT_EQ(dialog_->Text(IDC_TITLE), "Seitentitel eingeben");
  EXPECT_EQ(dialog_->Text(IDC_AUTHOR), "\xC4nne");
  EXPECT_EQ(dialog_->Text(IDC_KEYWORDS), kDefaultKeywords);
  EXPECT_EQ(dialog_->Text(IDC_MENU), kDefaultMenu);
  EXPECT_FALSE(dialog_->IsChecked(IDC_EXPLORE));
}

// "&Sichern" stores what the fields hand over (512 characters of a line,
// 8191 of the menu), and "&Laden" brings all of it back.
TEST_F(FormStore, LongTextsSurviveSaveAndLoad) {
  Start();
  std::string menu;
  for (int line = 0; menu.size() < 8000; ++line) {
    if (!menu.empty()) menu += "\r\n";
    menu +=
        "Zeile " + std::to_string(line) + " " + std::string(60, static_cast<char>('a' + line % 26));
  }
  menu.resize(8000);
  const std::string title = std::string(511, 'T') + "!";
  dialog_->SetText(IDC_MENU, menu);
  dialog_->SetText(IDC_TITLE, title + "cut");
  Press(IDC_SAVE);
  EXPECT_EQ(StoredText("PageMenue"), menu);
  EXPECT_EQ(StoredText("PageTitle"), title);
  Press(IDC_NEW);
  ASSERT_EQ(dialog_->Text(IDC_MENU), kDefaultMenu);
  Press(IDC_LOAD);
  EXPECT_EQ(dialog_->Text(IDC_MENU).size(), menu.size());
  EXPECT_EQ(dialog_->Text(IDC_MENU), menu);
  EXPECT_EQ(dialog_->Text(IDC_TITLE), title);
}

// After "&Neu" and "&Ende" the stored form comes back with the next start;
// the CSS-only box follows the desktop instead.
TEST_F(FormStore, RestartBringsBackTheSavedForm) {
  Start();
  dialog_->SetText(IDC_TITLE, "Gespeichert");
  dialog_->Click(IDC_EXPLORE);
  dialog_->Click(IDC_CSSONLY);
  Press(IDC_SAVE);
  Press(IDC_NEW);
  Press(IDCANCEL);
  Start();
  EXPECT_EQ(dialog_->Text(IDC_TITLE), "Gespeichert");
  EXPECT_TRUE(dialog_->IsChecked(IDC_EXPLORE));
  EXPECT_FALSE(dialog_->IsChecked(IDC_CSSONLY));
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace trellan::driver
