#include "system/system.h"

#include <gtest/gtest.h>

namespace trellan {
namespace {

TEST(TodayText, IsIsoDate) {
  const std::string today = TodayText();
  ASSERT_EQ(today.size(), 10u);
}

}  // namespace
}  // namespace trellan
