// What raw registry data mean, whatever was stored.
#include "settings/stored_value.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace trellan {
namespace {

using namespace std::string_view_literals;

TEST(StoredValue, TextEndsAtTheFirstZeroOrTheDataAndFitsItsCapacity) {
  struct Case {
    std::string_view data;
    std::size_t capacity;
    const char* text;
  } constexpr kCases[] = {
      {"abc\0def\0"sv, 1025, "abc"},
      {"abc"sv, 1025, "abc"},  // no zero stored
      {"abcdef"sv, 4, "abc"},
      {"ab\0"sv, 3, "ab"},
      {"\0abc"sv, 1025, ""},
      {""sv, 1025, ""},
      {"abc"sv, 0, ""},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(StoredTextOf(c.data, c.capacity), c.text) << c.data << " in " << c.capacity;
}

TEST(StoredValue, NumberFillsFourLowBytesFirstLongerDataGiveZero) {
  struct Case {
    std::string_view data;
    std::uint32_t number;
  } constexpr kCases[] = {
      {""sv, 0},
      {"\x01"sv, 1},
      {"\x01\0\0\0"sv, 1},
      {"\x34\x12"sv, 0x1234},
      {"\xFF\xFF\xFF\xFF"sv, 0xFFFFFFFF},
      {"\x01\0\0\0\0"sv, 0},
      {"1\0"sv, 0x31},  // "1" stored as text is no 1
  };
  for (const Case& c : kCases) EXPECT_EQ(StoredNumberOf(c.data), c.number) << c.data.size();
}

}  // namespace
}  // namespace trellan
