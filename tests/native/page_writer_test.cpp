#include "generator/page_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/native/crlf_lines.h"

#include <string>
#include <vector>

#include "generator/menu_items.h"

namespace trellan {
namespace {

using ::testing::HasSubstr;

using Lines = std::vector<std::string>;

SiteText DefaultSite() {
  SiteText site;
  site.title = "Seitentitel eingeben";
  site.author = "Vorname Name";
  site.keywords = "Schl\xC3\xBCsselw\xC3\xB6rter";
  site.items = {"Start", "Seite 2", "Seite 3", "Links & Media", "Impressum"};
  return site;
}

SiteText SiteOf(int count) {
  SiteText site = DefaultSite();
  site.items.clear();
  for (int i = 1; i <= count; ++i) site.items.push_back("P" + std::to_string(i));
  return site;
}

const std::string kMarker(kGlobeMarker);

TEST(PageFileName, FirstPageIsIndexTheOthersTwoDigits) {
  EXPECT_EQ(PageFileName(1), "index.html");
  EXPECT_EQ(PageFileName(2), "s02.html");
  EXPECT_EQ(PageFileName(9), "s09.html");
  EXPECT_EQ(PageFileName(20), "s20.html");
  EXPECT_EQ(PageFileName(99), "s99.html");
}

TEST(RenderPage, HeadOfEveryPage) {
  const Lines lines = test::CrLfLines(RenderPage(DefaultSite(), 2, "2026-03-09"));
  const Lines expected{
      "<!DOCTYPE html>",
      "<html lang=\"de-CH\">",
      "<head>",
      "  <meta charset=utf-8>",
      "  <meta name=\"viewport\" content=\"width=device-width, initial-scale=1.0, "
      "minimum-scale=1.0\">",
      "  <meta name=\"author\" content=\"Vorname Name\">",
      "  <meta name=\"keywords\" content=\"Schl\xC3\xBCsselw\xC3\xB6rter\">",
      "  <meta name=\"google\" content=\"notranslate\">",
      "  <meta name=\"theme-color\" content=\"#404040\">",
      "  <meta name=\"revised\" content=\"2026-03-09\">",
      "  <link rel=\"stylesheet\" href=\"style.css\">",
      "",
      "  <script defer src=\"zoom.js\"></script>",
      "",
      "  <!-- <link rel=\"shortcut icon\" href=\"favicon.png\"> -->",
      "",
      "  <title>Seitentitel eingeben: Seite 2</title>",
      "",
      "</head>",
      "<body>",
      "",
      "",
  };
  ASSERT_GE(lines.size(), expected.size());
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + expected.size()), expected);
}

TEST(RenderPage, NavigationMarksTheOwnEntryActive) {
  const Lines lines = test::CrLfLines(RenderPage(DefaultSite(), 4, "2026-03-09"));
  const Lines expected{
      "<nav>    <!--    Navigation Start  -->",
      "  <a href=\"index.html\" class=\"logo\">&nbsp;</a>",
      "  <input class=\"menu-btn\" type=\"checkbox\" id=\"menu-btn\">",
      "  <label class=\"menu-icon\" for=\"menu-btn\"><span class=\"navicon\"></span></label>",
      "  <span class=\"titleMobile\">Links & Media</span>",
      "  <ul class=\"menu\">",
      "    <li><a href=\"index.html\">Start</a></li>",
      "    <li><a href=\"s02.html\">Seite 2</a></li>",
      "    <li><a href=\"s03.html\">Seite 3</a></li>",
      "    <li class=\"aktiv\"><a href=\"s04.html\">Links & Media</a></li>",
      "    <li><a href=\"s05.html\">Impressum" + kMarker + "</a></li>",
      "  </ul>",
      "</nav>    <!--    Navigation Ende  -->",
      "",
      "",
      "<main>    <!--    MAIN Seiteninhalt Start  -->",
      "",
      "<h1>Links & Media</h1>",
      "<p>Hier kommt der Inhalt der Seite <span class=\"f_rot\">4</span>:</p>",
      "",
  };
  const auto nav = std::find(lines.begin(), lines.end(), expected.front());
  ASSERT_NE(nav, lines.end());
  ASSERT_GE(static_cast<std::size_t>(lines.end() - nav), expected.size());
  EXPECT_EQ(Lines(nav, nav + expected.size()), expected);
}

TEST(RenderPage, MenuIsTheSameOnEveryPageButForTheActiveLine) {
  const SiteText site = SiteOf(20);
  auto menu_of = [&](int page) {
    Lines menu;
    for (const auto& line : test::CrLfLines(RenderPage(site, page, "d")))
      if (line.rfind("    <li", 0) == 0) menu.push_back(line);
    return menu;
  };
  const Lines first = menu_of(1);
  ASSERT_EQ(first.size(), 20u);
  EXPECT_EQ(first[0], "    <li class=\"aktiv\"><a href=\"index.html\">P1</a></li>");
  EXPECT_EQ(first[19], "    <li><a href=\"s20.html\">P20" + kMarker + "</a></li>");
  for (int page = 2; page <= 20; ++page) {
    const Lines menu = menu_of(page);
    ASSERT_EQ(menu.size(), 20u);
    for (int j = 0; j < 20; ++j) {
      const bool active = menu[j].find("class=\"aktiv\"") != std::string::npos;
      EXPECT_EQ(active, j + 1 == page) << "page " << page << " entry " << j + 1;
    }
  }
}

TEST(RenderPage, FirstPageTitleAndIntro) {
  const std::string page = RenderPage(DefaultSite(), 1, "d");
  EXPECT_THAT(page, HasSubstr("\r\n  <title>Seitentitel eingeben</title>\r\n\r\n</head>\r\n"));
  // On page 1 the intro is followed directly by the next block.
  EXPECT_THAT(page,
              HasSubstr("\r\n<h1>Start</h1>\r\n<p>Hier kommt der Inhalt der Seite "
                        "<span class=\"f_rot\">1</span> (<strong>index.html</strong>):</p>\r\n"));
}

TEST(RenderPage, LastPageTitleCarriesNoMarkupButTheOtherPlacesDo) {
  const std::string page = RenderPage(DefaultSite(), 5, "d");
  EXPECT_THAT(page, HasSubstr("  <title>Seitentitel eingeben: Impressum</title>\r\n"));
  EXPECT_THAT(page, HasSubstr("  <span class=\"titleMobile\">Impressum" + kMarker + "</span>\r\n"));
  EXPECT_THAT(page, HasSubstr("<h1>Impressum" + kMarker + "</h1>\r\n"));
  EXPECT_THAT(page,
              HasSubstr("<li class=\"aktiv\"><a href=\"s05.html\">Impressum" + kMarker + "</a>"));
}

TEST(RenderPage, EndOfEveryPage) {
  for (int page : {1, 4, 5}) {
    const std::string text = RenderPage(DefaultSite(), page, "d");
    const std::string end =
        "\r\n\r\n</main>    <!--    MAIN Seiteninhalt Ende  -->\r\n\r\n</body>\r\n</html>\r\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end) << "page " << page;
  }
  const std::string last = RenderPage(DefaultSite(), 5, "d");
  EXPECT_THAT(last, HasSubstr("<br><hr>\r\n\r\n\r\n\r\n</main>"));
}

TEST(RenderPage, FormValuesAreWrittenUnescaped) {
  SiteText site = DefaultSite();
  site.title = "";
  site.author = "";
  site.keywords = "a \"b\" & <c>";
  site.items = {"<b>Fisch</b> & Vogel", "{{title}}"};
  const std::string first = RenderPage(site, 1, "d");
  EXPECT_THAT(first, HasSubstr("  <meta name=\"author\" content=\"\">\r\n"));
  EXPECT_THAT(first, HasSubstr("content=\"a \"b\" & <c>\">"));
  EXPECT_THAT(first, HasSubstr("  <title></title>\r\n"));
  EXPECT_THAT(first, HasSubstr("<span class=\"titleMobile\"><b>Fisch</b> & Vogel</span>"));
  EXPECT_THAT(first, HasSubstr("<h1><b>Fisch</b> & Vogel</h1>"));
  // A form value that looks like a placeholder stays literal.
  const std::string second = RenderPage(site, 2, "d");
  EXPECT_THAT(second, HasSubstr("  <title>: {{title}}</title>"));
}

using Blocks = std::vector<Block>;

TEST(PageBlocks, FollowThePageRule) {
  using enum Block;
  EXPECT_EQ(PageBlocks(1, 1), (Blocks{Disclaimer, LanguageList}));
  EXPECT_EQ(PageBlocks(1, 2), (Blocks{PageIntro, WelcomeText, MediaDemos, PageFooter}));
  EXPECT_EQ(PageBlocks(2, 2), (Blocks{Disclaimer, LanguageList}));
  EXPECT_EQ(PageBlocks(1, 3), (Blocks{PageIntro, WelcomeText, DocumentLinks, PageFooter}));
  EXPECT_EQ(PageBlocks(2, 3), (Blocks{PageIntro, ImageDemos, MediaDemos, PageFooter}));
  EXPECT_EQ(PageBlocks(1, 5), (Blocks{PageIntro, WelcomeText, DocumentLinks, PageFooter}));
  EXPECT_EQ(PageBlocks(2, 5), (Blocks{PageIntro, ImageDemos, PageFooter}));
  EXPECT_EQ(PageBlocks(3, 5), (Blocks{PageIntro, SearchEngineLinks, ColumnText, MarkupDemos,
                                      LayoutTable, DocumentLinks, PageFooter}));
  EXPECT_EQ(PageBlocks(4, 5),
            (Blocks{PageIntro, SearchEngineLinks, MediaDemos, LayoutTable, PageFooter}));
  EXPECT_EQ(PageBlocks(5, 5), (Blocks{Disclaimer, LanguageList}));
  for (int page = 3; page <= 18; ++page) EXPECT_EQ(PageBlocks(page, 20), PageBlocks(3, 5));
  EXPECT_EQ(PageBlocks(19, 20), PageBlocks(4, 5));
  EXPECT_EQ(PageBlocks(20, 20), PageBlocks(5, 5));
}

TEST(PageBlocks, FiveOrMorePagesShowEveryBlock) {
  for (int count : {5, 6, 20}) {
    std::vector<bool> seen(static_cast<std::size_t>(Block::LanguageList) + 1);
    for (int page = 1; page <= count; ++page)
      for (Block block : PageBlocks(page, count)) seen[static_cast<std::size_t>(block)] = true;
    for (std::size_t b = 0; b < seen.size(); ++b) EXPECT_TRUE(seen[b]) << count << " block " << b;
  }
}

}  // namespace
}  // namespace trellan
