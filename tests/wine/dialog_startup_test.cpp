// Opening and ending the dialog: the CSS-only box decided from the desktop,
// the stored form loaded, and every way out ending with exit code 0 and
// nothing saved.
#include <gtest/gtest.h>

#include "tests/driver/dialog_fixture.h"

namespace trellan::driver {
namespace {

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetStoredForm();
    test::RemoveSiteFolder();
  }
  void TearDown() override { test::RemoveSiteFolder(); }

  // Ends the dialog with "&Ende" and expects exit code 0.
  static void End(TrellanProcess& program) {
    ASSERT_TRUE(program.Click(IDCANCEL));
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
  }
};

TEST_F(Startup, WithoutSiteTheCssOnlyBoxIsClearedAndStoredAsZero) {
  StoreNumber("CSSOnly", 1);
  std::optional<TrellanProcess> program = StartTrellan();
  ASSERT_TRUE(program);
  EXPECT_FALSE(program->IsChecked(106));
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(0));
  EXPECT_EQ(program->FocusId(), 101);
  End(*program);
}

TEST_F(Startup, WithSiteTheCssOnlyBoxIsCheckedAndStoredAsOne) {
  PlaceSiteOnDesktop();
  std::optional<TrellanProcess> program = StartTrellan();
  ASSERT_TRUE(program);
  EXPECT_TRUE(program->IsChecked(106));
  EXPECT_EQ(StoredNumber("CSSOnly"), std::optional<DWORD>(1));
  // Only that value: the rest of the form is stored by "&Sichern" alone.
  EXPECT_FALSE(ReadStored("PageTitle"));
  EXPECT_FALSE(ReadStored("Explore"));
  End(*program);
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
