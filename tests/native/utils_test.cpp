#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "utils/ascii.h"
#include "utils/percent.h"
#include "utils/utf8.h"

namespace trellan {
namespace {

TEST(Ascii, OnlyAToZHaveACase) {
  // Every byte: UTF-8 lead and continuation bytes must never change.
  for (int value = 0; value < 256; ++value) {
    const char c = static_cast<char>(value);
    const bool upper = value >= 'A' && value <= 'Z';
    const bool lower = value >= 'a' && value <= 'z';
    EXPECT_EQ(AsciiLower(c), upper ? static_cast<char>(value + 32) : c) << value;
    EXPECT_EQ(AsciiUpper(c), lower ? static_cast<char>(value - 32) : c) << value;
    EXPECT_EQ(IsAsciiAlpha(c), upper || lower) << value;
  }
  EXPECT_EQ(AsciiLower("Gr\xC3\x9C\xC3\x9F.HTML"), "gr\xC3\x9C\xC3\x9F.html");
}

TEST(Ascii, ComparesAndFindsIgnoringCase) {
  EXPECT_TRUE(AsciiEqualIgnoringCase("Index.HTML", "index.html"));
  EXPECT_FALSE(AsciiEqualIgnoringCase("\xC3\x84", "\xC3\xA4"));  // Ä and ä are not ASCII
  EXPECT_FALSE(AsciiEqualIgnoringCase("index.htm", "index.html"));
  EXPECT_TRUE(AsciiStartsWithIgnoringCase("DOCTYPE html", "doctype"));
  EXPECT_FALSE(AsciiStartsWithIgnoringCase("DOC", "doctype"));
  EXPECT_EQ(AsciiFindIgnoringCase("a.JPG.jpg", ".jpg"), 1u);
  EXPECT_EQ(AsciiFindIgnoringCase("a.jp", ".jpg"), std::string_view::npos);
  EXPECT_EQ(AsciiFindIgnoringCase("abc", ""), 0u);
}

TEST(Ascii, ClassesHexAndWordLists) {
  EXPECT_EQ(AsciiHexValue('7'), 7);
  EXPECT_EQ(AsciiHexValue('b'), 11);
  EXPECT_EQ(AsciiHexValue('F'), 15);
  EXPECT_EQ(AsciiHexValue('g'), -1);
  for (const char c : std::string_view(" \t\n\f\r")) EXPECT_TRUE(IsHtmlSpace(c));
  EXPECT_FALSE(IsHtmlSpace('\v'));
  constexpr std::string_view kWords[] = {"jpg", "png"};
  EXPECT_TRUE(IsOneOf("png", kWords));
  EXPECT_FALSE(IsOneOf("PNG", kWords));
}

TEST(Percent, EncodesAllButLettersDigitsAndTheKeptOnes) {
  EXPECT_EQ(PercentEncode("sch\xC3\xB6ne Bild.jpg", "."), "sch%C3%B6ne%20Bild.jpg");
  EXPECT_EQ(PercentEncode("a/b~c:d", "/~"), "a/b~c%3Ad");
  EXPECT_EQ(PercentEncode(std::string_view("\0%", 2), ""), "%00%25");
}

TEST(Percent, DecodesTwoHexDigitsOnly) {
  EXPECT_EQ(PercentDecode("a%20b%c3%B6%2%zz%"), "a b\xC3\xB6%2%zz%");
  EXPECT_EQ(PercentDecode(PercentEncode("\xFF\x01 ok", "")), "\xFF\x01 ok");
}

TEST(Utf8, AppendsEveryLengthAndReplacesNonScalars) {
  const struct {
    char32_t code_point;
    std::string_view utf8;
  } kCases[] = {{U'A', "A"},
                {0xE4, "\xC3\xA4"},
                {0x20AC, "\xE2\x82\xAC"},
                {0x1F310, "\xF0\x9F\x8C\x90"},
                {0xD800, "\xEF\xBF\xBD"},
                {0x110000, "\xEF\xBF\xBD"}};
  for (const auto& c : kCases) {
    std::string out;
    AppendUtf8(out, c.code_point);
    EXPECT_EQ(out, c.utf8) << static_cast<unsigned>(c.code_point);
  }
}

TEST(Utf8, AcceptsOnlyShortestScalarSequences) {
  const struct {
    std::string_view text;
    bool valid;
  } kCases[] = {{"", true},
                {"a\xC3\xA4\xE2\x82\xAC\xF4\x8F\xBF\xBF", true},
                {"\xC0\xAF", false},          // overlong '/'
                {"\xE0\x80\xAF", false},      // overlong, three bytes
                {"\xED\xA0\x80", false},      // a surrogate
                {"\xF4\x90\x80\x80", false},  // above U+10FFFF
                {"\xC3", false},              // cut off
                {"\xC3!", false},             // no continuation
                {"\x80", false},
                {"\xFF", false}};
  for (const auto& c : kCases) EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.text;
  const Utf8Char euro = ReadUtf8("x\xE2\x82\xAC", 1);
  EXPECT_EQ(euro.code_point, 0x20ACu);
  EXPECT_EQ(euro.length, 3u);
  EXPECT_EQ(ReadUtf8("\xE2\x82", 0).length, 1u);  // an invalid byte is taken alone
}

TEST(Utf8, CutsBetweenCharactersOnly) {
  EXPECT_EQ(CutUtf8("abc", 5), "abc");
  EXPECT_EQ(CutUtf8("a\xF0\x9F\x8C\x90", 4), "a");  // a four-byte globe
  EXPECT_EQ(CutUtf8("a\xF0\x9F\x8C\x90", 5), "a\xF0\x9F\x8C\x90");
  EXPECT_EQ(CutUtf8("\xC3\xBC\xC3\xBC", 3), "\xC3\xBC");
}

}  // namespace
}  // namespace trellan
