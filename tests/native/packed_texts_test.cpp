// The packed templates unpack to exactly the repository's files, and the
// unpacking stays inside its input and its size whatever that input holds.
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "embedded_files.h"
#include "generator/inflate.h"

namespace trellan {
namespace {

std::string RepositoryFile(const std::string& relative) {
  std::ifstream in(std::string(TRELLAN_SOURCE_DIR) + "/" + relative, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(PackedTexts, EachIsItsFileByteForByte) {
  ASSERT_GT(embedded::kPackedFileCount, 20u);
  for (std::size_t i = 0; i < embedded::kPackedFileCount; ++i) {
    const embedded::PackedFile& file = embedded::kPackedFiles[i];
    const std::string expected = RepositoryFile(std::string("generator/") + file.path);
    ASSERT_FALSE(expected.empty()) << file.path;
    EXPECT_TRUE(file.text->View() == expected) << file.path;
  }
}

// 19 menu lines packed by zlib with a dynamic code (790 bytes).
constexpr std::string_view kMenu(
    "\x75\xD1\xBB\x0D\x83\x30\x00\x45\xD1\x3E\x52\x76\x40\x0C\x00\xBE\xE6\x2F\x39\x5E\x22\x13\x50"
    "\x18"
    "\x81\x44\x9A\x84\xFD\x95\x94\x79\xC5\xEB\x4F\x77\xD2\x79\xE4\xB4\x56\xFB\xBB\x6C\x8F\xFA\x13"
    "\x62"
    "\xB3\x5F\xAF\xB3\xCE\xCF\x72\x5C\xA5\x8A\xA9\x5D\x73\x6A\x7F\xE4\x7E\x4B\x0A\x3B\x81\x9D\x87"
    "\xBD"
    "\xC0\xDE\xC3\x41\xE0\xE0\xE1\x28\x70\xF4\x70\x12\x38\x79\x38\x0B\x9C\x3D\x5C\x04\x2E\x16\x12"
    "\x04"
    "\x12\xBC\x44\x25\x5E\xEA\x0D\x3E\x07\xCD\xC1\xEF\xA0\x3B\xF8\x1E\xB4\x07\xFF\x83\xFE\xE0\x83"
    "\xD0"
    "\x20\xFC\x10\x3A\x84\x2F\x42\x8B\xF0\x47\x51\x8F\xE2\xFF\xD1\x17",
    136);

std::string MenuLines() {
  std::string lines;
  for (int i = 2; i <= 20; ++i) {
    const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
    lines += "<li><a href=\"s" + number + ".html\">Seite " + std::to_string(i) + "</a></li>\r\n";
  }
  return lines;
}

TEST(Inflate, StoredFixedAndDynamicBlocksOfExactlyTheirSize) {
  struct Case {
    std::string_view deflated;
    std::size_t size;
    bool ok;
    std::string out;
  };
  const Case kCases[] = {
      {{"\x01\x03\x00\xFC\xFF"
        "abc",
        8},
       3,
       true,
       "abc"},
      {{"\x4B\x4C\x4A\x4E\x84\x21\x00", 7}, 12, true, "abcabcabcabc"},
      {kMenu, 790, true, MenuLines()},
      {kMenu, 789, false, ""},  // one byte too many
      {kMenu, 791, false, ""},  // one byte too few
      {{"\x01\x03\x00\xFC\xFE"
        "abc",
        8},
       3,
       false,
       ""},  // the length's complement is wrong
      {{"\x01\x03\x00\xFC\xFF"
        "ab",
        7},
       3,
       false,
       ""},  // stored bytes cut off
      {{"\x00\x03\x00\xFC\xFF"
        "abc",
        8},
       3,
       false,
       ""},                                 // no last block
      {{"\x07", 1}, 0, false, ""},          // block type 3
      {{"\x03\x02\x00", 3}, 3, false, ""},  // a copy before any byte
      {{}, 0, false, ""},
  };
  for (const Case& c : kCases) {
    std::string out = "before";
    EXPECT_EQ(Inflate(c.deflated, c.size, out), c.ok) << c.size;
    EXPECT_EQ(out, c.out) << c.size;
  }
}

// Every stream cut short or with a byte changed either fails or makes
// exactly its size; the sanitizers see every access.
TEST(Inflate, DamagedStreamsStayInsideTheirBytes) {
  std::string out;
  for (std::size_t cut = 0; cut < kMenu.size(); ++cut)
    EXPECT_FALSE(Inflate(kMenu.substr(0, cut), 790, out)) << cut;
  std::string damaged(kMenu);
  for (std::size_t at = 0; at < damaged.size(); ++at) {
    for (const char bits : {'\x01', '\x10', '\xFF'}) {
      damaged[at] = static_cast<char>(kMenu[at] ^ bits);
      EXPECT_TRUE(!Inflate(damaged, 790, out) || out.size() == 790u) << at;
      damaged[at] = kMenu[at];
    }
  }
}

}  // namespace
}  // namespace trellan
