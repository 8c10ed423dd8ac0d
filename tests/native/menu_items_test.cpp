#include "generator/menu_items.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "utils/utf8.h"

namespace trellan {
namespace {

using Items = std::vector<std::string>;

TEST(SplitMenuItems, DefaultMenuGivesFiveEntries) {
  EXPECT_EQ(SplitMenuItems("Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum"),
            (Items{"Start", "Seite 2", "Seite 3", "Links & Media", "Impressum"}));
}

TEST(SplitMenuItems, EmptyFieldGivesOneEmptyEntry) {
  EXPECT_EQ(SplitMenuItems(""), Items{""});
  EXPECT_EQ(SplitMenuItems("\r\n\r\n"), Items{""});
}

TEST(SplitMenuItems, StopsAfterTwentyEntries) {
  std::string menu;
  for (int i = 1; i <= 25; ++i) menu += "Seite " + std::to_string(i) + "\r\n";
  const Items items = SplitMenuItems(menu);
  ASSERT_EQ(items.size(), 20u);
  EXPECT_EQ(items.front(), "Seite 1");
  EXPECT_EQ(items.back(), "Seite 20");
}

TEST(SplitMenuItems, OneEmptyLineIsSkippedTwoEndTheList) {
  EXPECT_EQ(SplitMenuItems("A\r\n\r\nB"), (Items{"A", "B"}));
  EXPECT_EQ(SplitMenuItems("A\r\n\r\n\r\nB"), Items{"A"});
}

TEST(SplitMenuItems, EmptyFirstLineGivesEmptyFirstEntry) {
  EXPECT_EQ(SplitMenuItems("\r\nA\r\nB"), (Items{"", "A", "B"}));
  EXPECT_EQ(SplitMenuItems("\r\n\r\nA"), (Items{"", "A"}));
}

TEST(SplitMenuItems, LineBreaksAtTheEndDoNotMatter) {
  const Items expected{"A", "X", "B"};
  EXPECT_EQ(SplitMenuItems("A\r\nX\r\nB"), expected);
  EXPECT_EQ(SplitMenuItems("A\r\nX\r\nB\r\n"), expected);
  EXPECT_EQ(SplitMenuItems("A\r\nX\r\nB\r\n\r\n\r\n\r\n"), expected);
}

TEST(SplitMenuItems, ControlCharacterEndsTheEntryAndItsLine) {
  EXPECT_EQ(SplitMenuItems("A\tdrop this\r\nB"), (Items{"A", "B"}));
  // A line that starts with a control character ends the list.
  EXPECT_EQ(SplitMenuItems("A\r\n\tB\r\nC"), Items{"A"});
  // Lone CR or LF line ends, as pasted text may carry them.
  EXPECT_EQ(SplitMenuItems("A\nB\rC"), (Items{"A", "B", "C"}));
}

TEST(SplitMenuItems, MarkupAndUtf8PassUnchanged) {
  EXPECT_EQ(SplitMenuItems("<b>Fisch</b> & Vogel\r\nGr\xC3\xBC\xC3\x9F"
                           "e"),
            (Items{"<b>Fisch</b> & Vogel",
                   "Gr\xC3\xBC\xC3\x9F"
                   "e"}));
}

TEST(SplitMenuItems, LongEntryIsCutAtACharacterBoundary) {
  std::string umlauts;  // 200 x "ü" = 400 bytes
  for (int i = 0; i < 200; ++i) umlauts += "\xC3\xBC";
  std::string odd = "x" + umlauts;  // makes byte 256 fall inside a character
  const Items items = SplitMenuItems(odd + "\r\n" + odd);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].size(), 255u);
  EXPECT_TRUE(IsValidUtf8(items[0]));
  // The last entry leaves room for the globe marker, whole.
  EXPECT_LE(items[1].size() + kGlobeMarker.size(), kMaxMenuItemBytes);
  EXPECT_GE(items[1].size() + kGlobeMarker.size(), kMaxMenuItemBytes - 3);
  EXPECT_TRUE(IsValidUtf8(items[1]));
}

TEST(SplitMenuItems, ShortLastEntryIsNotCut) {
  const std::string entry(kMaxMenuItemBytes - kGlobeMarker.size(), 'a');
  EXPECT_EQ(SplitMenuItems(entry), Items{entry});
  EXPECT_EQ(SplitMenuItems(entry + "a"), Items{entry});
}

}  // namespace
}  // namespace trellan
