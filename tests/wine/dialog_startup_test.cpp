// Opening and ending the dialog: the CSS-only box decided from the desktop
// (in this process), and every way out of the real program ending with exit
// code 0 and nothing saved.
#include <gtest/gtest.h>

#include "app/form_ids.h"
#include "tests/driver/dialog_fixture.h"
#include "tests/support/dialog_host.h"

namespace trellan::driver {
namespace {

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetStoredForm();
    test::RemoveSiteFolder();
  }
  void TearDown() override { test::RemoveSiteFolder(); }
};

TEST_F(Startup, WithoutSiteTheCssOnlyBoxIsClearedAndStoredAsZero) {
  StoreNumber("CSSOnly", 1);
  const test::DialogHost dialog;
  EXPECT_FALSE(dialog.IsChecked(IDC_CSSONLY));
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(0));
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_TITLE);
}

TEST_F(Startup, WithSiteTheCssOnlyBoxIsCheckedAndStoredAsOne) {
  PlaceSiteOnDesktop();
  const test::DialogHost dialog;
  EXPECT_TRUE(dialog.IsChecked(IDC_CSSONLY));
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(1));
  // Only that value: the rest of the form is stored by "&Sichern" alone.
  EXPECT_FALSE(ReadStored("PageTitle"));
  EXPECT_FALSE(ReadStored("Explore"));
}

// "&Ende", Escape and the close box all end the program with 0; edits that
// were not saved are lost.
TEST_F(Startup, EveryWayOutExitsWithZeroAndSavesNothing) {
  enum class Way { EndButton, Escape, CloseBox };
  for (Way way : {Way::EndButton, Way::Escape, Way::CloseBox}) {
    SCOPED_TRACE(static_cast<int>(way));
    StoreText("PageTitle", "Gespeichert");
    std::optional<TrellanProcess> program = StartTrellan();
    ASSERT_TRUE(program);
    ASSERT_TRUE(program->SetText(101, "Ungespeichert"));
    ASSERT_TRUE(program->SetChecked(105, true));
    switch (way) {
      case Way::EndButton: ASSERT_TRUE(program->Click(IDCANCEL)); break;
      case Way::Escape: ASSERT_TRUE(program->PressKey(VK_ESCAPE)); break;
      case Way::CloseBox: ASSERT_TRUE(program->PostSysCommand(SC_CLOSE)); break;
    }
    EXPECT_EQ(program->WaitForExit(), std::optional<DWORD>(0));
    EXPECT_EQ(StoredText("PageTitle"), std::optional<std::string>("Gespeichert"));
    EXPECT_FALSE(ReadStored("Explore"));
  }
}

}  // namespace
}  // namespace trellan::driver
