// The site check's reading of pages and pictures: the tokenizer, the text
// conversions it relies on, and the picture size parser.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "sitecheck/html_tokenizer.h"
#include "sitecheck/picture_size.h"
#include "sitecheck/text_codec.h"
#include "tests/support/memory_site.h"
#include "tests/support/picture_headers.h"

namespace trellan::sitecheck {
namespace {

// Tokens as "<a x=1>@line", "</a>@line", "T(text)", "R(raw)", "C(comment)",
// "D(doctype)", separated by blanks; lines only for tags.
std::string Tokens(std::string_view html) {
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  std::string out;
  while (tokenizer.Next(token)) {
    if (!out.empty()) out += ' ';
    const std::string text(token.text);
    switch (token.kind) {
      case TokenKind::StartTag:
        out += '<' + token.name;
        for (const auto& attribute : token.attributes)
          out += ' ' + attribute.name + '=' + attribute.value;
        out += (token.self_closing ? "/>@" : ">@") + std::to_string(token.line);
        break;
      case TokenKind::EndTag: out += "</" + token.name + ">@" + std::to_string(token.line); break;
      case TokenKind::Text: out += "T(" + text + ")"; break;
      case TokenKind::RawText: out += "R(" + text + ")"; break;
      case TokenKind::Comment: out += "C(" + text + ")"; break;
      case TokenKind::Doctype: out += "D(" + text + ")"; break;
    }
  }
  return out;
}

TEST(HtmlTokenizer, ReadsTrickyMarkupAsBrowsersDo) {
  const struct {
    std::string html;
    std::string tokens;
  } kCases[] = {
      {"<A HREF=\"x\" href='y' Title=z data-q=\"a>b\">", "<a href=x title=z data-q=a>b>@1"},
      {"<a title=\"&amp;&lt;&auml;&#228;&#xE4;&#X41;&unknown;&copy=2&amp\">",
       "<a title=&<\xC3\xA4\xC3\xA4\xC3\xA4"
       "A&unknown;&copy=2&>@1"},
      {"<a href='a&lowbar;b&period;&sol;&colon;&num;&quest;&Tab;&AMP&LT;&vert;&ast;&rcub;'>",
       "<a href=a_b./:#?\t&<|*}>@1"},
      {"<a title='&#0;&#x80;&#xD800;&#1114112;&#65&#'>",
       "<a title=\xEF\xBF\xBD\xE2\x82\xAC\xEF\xBF\xBD\xEF\xBF\xBD"
       "A&#>@1"},
      {"<img src=a.jpg alt=x/><br/><br / ><p =x>",
       "<img src=a.jpg alt=x/>@1 <br/>@1 <br>@1 <p =x=>@1"},
      {"a<!-- <b> -->c<!-->d<!--->e<!-- x --!>f<!-- open <i>",
       "T(a) C( <b> ) T(c) C() T(d) C() T(e) C( x ) T(f) C( open <i>)"},
      {"<!DOCTYPE html><?xml x?><![CDATA[<p>]]></ x>",
       "D( html) C(?xml x?) C([CDATA[<p) T(]]>) C( x)"},
      {"<script>if (a</div>b) \"</scripty>\";</SCRIPT ><p>",
       "<script>@1 R(if (a</div>b) \"</scripty>\";) </script>@1 <p>@1"},
      {"<style>p{}</style><title>A &amp; <b>B</b></title><textarea></textarea>",
       "<style>@1 R(p{}) </style>@1 <title>@1 T(A &amp; <b>B</b>) </title>@1 <textarea>@1 "
       "</textarea>@1"},
      {"<script>a</scrip", "<script>@1 R(a</scrip)"},
      {"<plaintext></plaintext><p>", "<plaintext>@1 R(</plaintext><p>)"},
      {"a < b <3 </> c", "T(a < b <3 ) T( c)"},
      {"<p>x<a href=\"y", "<p>@1 T(x)"},
      {"a\r\n<b>\r<c>\n<d\n e=1>\r\n\r\n<f>",
       "T(a\r\n) <b>@2 T(\r) <c>@3 T(\n) <d e=1>@4 T(\r\n\r\n) <f>@7"},
      {"<p>\n<!--\n\n-->\n<script>\n\n</script><i>",
       "<p>@1 T(\n) C(\n\n) T(\n) <script>@5 R(\n\n) </script>@7 <i>@7"},
      {"\xEF\xBB\xBF<p>", "<p>@1"},
      {"<a title=\xFF\xFE>\xC3<b>", "<a title=\xFF\xFE>@1 T(\xC3) <b>@1"},
  };
  for (const auto& c : kCases) EXPECT_EQ(Tokens(c.html), c.tokens) << c.html;
}

TEST(HtmlTokenizer, KeepsTheFirstAttributesUpToItsCapacity) {
  std::string html = "<p";
  for (std::size_t i = 0; i <= HtmlTokenizer::kMaxAttributes; ++i)
    html += " a" + std::to_string(i) + "=" + std::to_string(i);
  html += " a0=again>";
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  ASSERT_TRUE(tokenizer.Next(token));
  ASSERT_EQ(token.attributes.size(), HtmlTokenizer::kMaxAttributes);
  EXPECT_TRUE(token.more_attributes);
  EXPECT_EQ(*token.Attribute("a0"), "0");
  EXPECT_EQ(token.Attribute("a256"), nullptr);
  EXPECT_FALSE(tokenizer.Next(token));
}

TEST(TextCodec, FoldsNamesAndCleansTextForTheReport) {
  EXPECT_EQ(FoldCase("Media/B\xC3\x84R.JPG"), "media/b\xC3\xA4r.jpg");  // Ä
  EXPECT_EQ(FoldCase("\xC5\xB8\xC4\x80\xC5\x81\xC5\xBD"),
            "\xC3\xBF\xC4\x81\xC5\x82\xC5\xBE");                                // Ÿ Ā Ł Ž
  EXPECT_EQ(FoldCase("\xCE\xA3\xD0\x81\xD0\xAF"), "\xCF\x83\xD1\x91\xD1\x8F");  // Σ Ё Я
  EXPECT_EQ(FoldCase("\xC3\x9F\xFF"
                     "A"),
            "\xC3\x9F\xFF"
            "a");  // ß, invalid byte
  std::string replaced;
  for (int i = 0; i < 13; ++i) replaced += "\xEF\xBF\xBD";
  // C0 and C1 controls, a noncharacter, a surrogate, an overlong form and
  // a value past U+10FFFF: one U+FFFD per control and per invalid byte.
  EXPECT_EQ(
      ToCleanUtf8("ok\t\n\xC3\xA4\x01\x7F\xC2\x85\xEF\xB7\x90\xED\xA0\x80\xC0\xAF\xF4\x90\x80\x80"),
      "ok\t\n\xC3\xA4" + replaced);
  EXPECT_EQ(CountLines("a\r\nb\rc\nd\r\n"), 5);
}

std::optional<std::pair<int, int>> Size(int width, int height) { return std::pair{width, height}; }

std::optional<PictureSize> SizeOf(const std::string& bytes, test::MemorySite& site) {
  site.Add("bild", bytes);
  return ReadPictureSize([&](std::uint64_t offset, std::size_t length) {
    return site.ReadRange("bild", offset, length);
  });
}

std::string Webp(const std::string& chunk, const std::string& data) {
  const std::string body = chunk + std::string("\x40\0\0\0", 4) + data;
  return "RIFF" + std::string("\0\0\0\0", 4) + "WEBP" + body + std::string(32, '\0');
}

TEST(PictureSize, ReadsEachFormatsHeaderAndRejectsBrokenOnes) {
  using test::JpegHeader;
  const std::string kJpegStart("\xFF\xD8", 2);
  const std::string kSof = test::JpegSegment(0xC0, std::string("\x08\x00\x10\x00\x20\x03", 6));
  const struct {
    const char* what;
    std::string bytes;
    std::optional<std::pair<int, int>> size;
  } kCases[] = {
      {"png", test::PngHeader(640, 480), Size(640, 480)},
      {"png cut", test::PngHeader(640, 480).substr(0, 20), std::nullopt},
      {"gif", test::GifHeader(300, 200), Size(300, 200)},
      {"gif cut", test::GifHeader(300, 200).substr(0, 8), std::nullopt},
      {"jpeg", JpegHeader(4032, 3024), Size(4032, 3024)},
      {"jpeg progressive", JpegHeader(10, 20, 16, 0xC2), Size(10, 20)},
      {"jpeg lossless", JpegHeader(7, 9, 16, 0xC3), Size(7, 9)},
      {"jpeg DHT is no frame", JpegHeader(10, 20, 16, 0xC4), std::nullopt},
      {"jpeg DAC is no frame", JpegHeader(10, 20, 16, 0xCC), std::nullopt},
      {"jpeg fill bytes", kJpegStart + std::string(20, '\xFF') + kSof.substr(1), Size(32, 16)},
      {"jpeg restart marker", kJpegStart + "\xFF\xD0" + kSof, Size(32, 16)},
      {"jpeg cut in frame", JpegHeader(10, 20).substr(0, 26), std::nullopt},
      {"jpeg scan first", kJpegStart + test::JpegSegment(0xDA, "xx") + kSof, std::nullopt},
      {"jpeg bad length", kJpegStart + std::string("\xFF\xE0\x00\x01", 4) + kSof, std::nullopt},
      {"jpeg no marker", kJpegStart + "xx" + kSof, std::nullopt},
      {"jpeg zero height", JpegHeader(10, 0), std::nullopt},
      {"webp lossy", Webp("VP8 ", std::string("\0\0\0\x9D\x01\x2A\x80\x02\xE0\x01", 10)),
       Size(640, 480)},
      {"webp lossless", Webp("VP8L", std::string("\x2F\x7F\xC0\x77\x00", 5)), Size(128, 480)},
      {"webp extended", Webp("VP8X", std::string("\0\0\0\0\x7F\x07\0\xDF\x0B\0", 10)),
       Size(1920, 3040)},
      {"webp other chunk", Webp("ALPH", std::string(10, '\0')), std::nullopt},
      {"riff only", "RIFF", std::nullopt},
      {"text", "<svg></svg>", std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const auto& c : kCases) {
    test::MemorySite site;
    const auto size = SizeOf(c.bytes, site);
    ASSERT_EQ(size.has_value(), c.size.has_value()) << c.what;
    if (size) {
      EXPECT_EQ(static_cast<int>(size->width), c.size->first) << c.what;
      EXPECT_EQ(static_cast<int>(size->height), c.size->second) << c.what;
    }
  }
}

TEST(PictureSize, StepsOverLargeSegmentsWithoutReadingThem) {
  std::string photo("\xFF\xD8", 2);
  for (int i = 0; i < 100; ++i) photo += test::JpegSegment(0xE1, std::string(60000, 'x'));
  photo += test::JpegHeader(5000, 4000).substr(2) + std::string(1 << 20, '\0');
  test::MemorySite site;
  const auto size = SizeOf(photo, site);
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(size->width, 5000u);
  EXPECT_EQ(size->height, 4000u);
  EXPECT_LT(site.range_bytes, 2000u);

  // Endless fill bytes give up after a bounded number of reads.
  test::MemorySite fill_site;
  EXPECT_FALSE(SizeOf("\xFF\xD8" + std::string(4 << 20, '\xFF'), fill_site).has_value());
  EXPECT_LE(fill_site.range_reads, static_cast<std::size_t>(kMaxJpegSteps) + 1);
}

}  // namespace
}  // namespace trellan::sitecheck
