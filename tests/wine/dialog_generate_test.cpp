// OK through the real program and real keys: Enter in a line field is the
// dialog's OK. What OK does is tested in dialog_run_test, in-process.
#include <gtest/gtest.h>

#include "identity.h"
#include "tests/driver/dialog_fixture.h"

namespace trellan::driver {
namespace {

class Generate : public DialogTest {};

TEST_F(Generate, EnterInTheTitleFieldStartsTheRun) {
  Start();
  ASSERT_EQ(program_->FocusId(), 101);
  ASSERT_TRUE(program_->PressKey(VK_RETURN));
  const std::optional<Box> notice = program_->WaitForBox(kProgramCaption);
  ASSERT_TRUE(notice);
  ASSERT_TRUE(program_->Answer(*notice, IDOK));
  EXPECT_TRUE(test::FileExists(test::SiteFolder() + "index.html"));
}

}  // namespace
}  // namespace trellan::driver
