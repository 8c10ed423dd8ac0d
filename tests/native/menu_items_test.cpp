#include "generator/menu_items.h"

#include <gtest/gtest.h>

namespace trellan {
namespace {

using Items = std::vector<std::string>;

TEST(SplitMenuItems, DefaultMenuGivesFivePages) {
  EXPECT_EQ(SplitMenuItems("Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum"),
            (Items{"Start", "Seite 2", "Seite 3", "Links & Media", "Impressum"}));
}

}  // namespace
}  // namespace trellan
