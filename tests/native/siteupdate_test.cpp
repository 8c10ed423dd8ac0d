// Applying the form's menu to an existing site: reading the generated parts
// back, matching entries to pages, rewriting links, the plan's bytes and the
// question.
#include "siteupdate/site_update.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generator/menu_items.h"
#include "generator/page_writer.h"
#include "generator/site_plan.h"
#include "generator/text_output.h"
#include "sitecheck/site_check.h"
#include "siteupdate/update_texts.h"
#include "tests/support/memory_site.h"
#include "tests/support/outside_parts.h"
#include "utils/utf8.h"

namespace trellan::siteupdate {
namespace {

using test::OutsideParts;
using ::testing::HasSubstr;

constexpr std::string_view kOldDay = "2025-01-01";
constexpr std::string_view kToday = "2026-12-08";
const std::string kGlobe(kGlobeMarker);

GenerationRequest Form(std::string menu, std::string title = "Seitentitel eingeben") {
  GenerationRequest request;
  request.title = std::move(title);
  request.author = "Vorname Name";
  request.keywords = "Schl\xC3\xBCsselw\xC3\xB6rter";
  request.menu_text = std::move(menu);
  return request;
}

// The site that OK writes for `menu`, as its files are on disk.
std::vector<SitePage> SiteOf(const std::string& menu) {
  std::vector<SitePage> pages;
  for (const SiteStep& step : PlanPages(Form(menu), kOldDay, {}))
    pages.push_back({step.target, std::string(kUtf8Bom) + step.bytes});
  return pages;
}

// UTF-8 to Windows-1252 for the Latin-1 letters and signs the tests use,
// as the dialog's conversion does it.
std::string Latin1(std::string_view utf8) {
  std::string text;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size())
      text += static_cast<char>(((byte & 0x03) << 6) | (utf8[++i] & 0x3F));
    else
      text += utf8[i];
  }
  return text;
}

const PlanFile* WriteOf(const UpdatePlan& plan, std::string_view path) {
  for (const PlanFile& write : plan.writes)
    if (write.path == path) return &write;
  return nullptr;
}

TEST(PageParts, FindsTheGeneratedPartsOfAPage) {
  const SiteText site{"T &amp; <b>x</b>", "A", "K", {"Start", "Seite 2", "Impressum"}};
  const std::string page = std::string(kUtf8Bom) + RenderPage(site, 3, kToday);
  const PageParts parts = ReadPageParts(page);
  ASSERT_EQ(parts.navigation, Navigation::Found);
  std::string nav;
  AppendNavigation(nav, site, 3);
  EXPECT_EQ(TextAt(page, parts.nav), nav.substr(0, nav.size() - 2));
  EXPECT_EQ(TextAt(page, *parts.own_label), "Impressum" + kGlobe);
  ASSERT_EQ(parts.menu.size(), 3u);
  EXPECT_EQ(TextAt(page, parts.menu[1].href), "s02.html");
  EXPECT_EQ(TextAt(page, parts.menu[2].label), "Impressum" + kGlobe);
  EXPECT_EQ(TextAt(page, *parts.title), "T &amp; <b>x</b>: Impressum");
  EXPECT_EQ(TextAt(page, parts.author->raw), "A");
  EXPECT_EQ(TextAt(page, parts.keywords->raw), "K");
  EXPECT_EQ(TextAt(page, parts.revised->raw), kToday);
  EXPECT_TRUE(parts.author->double_quoted);
  EXPECT_EQ(TextAt(page, *parts.heading), "Impressum" + kGlobe);
}

TEST(PageParts, ReadsTheNavigationTolerantlyAndRefusesWhatIsBroken) {
  const struct {
    std::string page;
    Navigation navigation;
    std::string nav;  // the range, when found
    std::string label;
  } kCases[] = {
      // Reindented by an editor, attributes reordered, the end marker on a
      // line of its own.
      {"<title>t</title>\n  <NAV id=n>\n    <!-- Navigation Start -->\n    <span id=\"x\" "
       "class=\"a  titleMobile\">Seite <span>2</span></span>\n    <ul class=\"menu\"><li><a "
       "class=k href=index.html>A</a></li></ul>\n  </nav>\n  <!--Navigation   Ende-->\n<h1>x</h1>",
       Navigation::Found,
       "<NAV id=n>\n    <!-- Navigation Start -->\n    <span id=\"x\" class=\"a  titleMobile\">"
       "Seite <span>2</span></span>\n    <ul class=\"menu\"><li><a class=k href=index.html>A</a>"
       "</li></ul>\n  </nav>\n  <!--Navigation   Ende-->",
       "Seite <span>2</span>"},
      // Without its end marker, and another comment after it.
      {"<nav><span class=titleMobile>S</span></nav> <!-- mein Kommentar -->", Navigation::Found,
       "<nav><span class=titleMobile>S</span></nav>", "S"},
      {"<p>Keine Navigation</p>", Navigation::Missing, "", ""},
      {"<nav></nav><nav></nav>", Navigation::Several, "", ""},
      {"<nav><nav></nav></nav>", Navigation::Several, "", ""},
      {"<nav><ul><li><a href=x>x</a></ul>", Navigation::Unclosed, "", ""},
      {std::string("<\0n\0a\0v\0>\0", 10), Navigation::NotText, "", ""},
  };
  for (const auto& c : kCases) {
    const PageParts parts = ReadPageParts(c.page);
    EXPECT_EQ(parts.navigation, c.navigation) << c.page;
    if (c.navigation != Navigation::Found) continue;
    EXPECT_EQ(TextAt(c.page, parts.nav), c.nav);
    EXPECT_EQ(TextAt(c.page, parts.own_label.value_or(ByteRange{})), c.label);
  }
}

TEST(LinkRewriting, ChangesOnlyTheFileNameOfLinksToRenamedPages) {
  const std::vector<Rename> renames{
      {"s05.html", "s06.html"}, {"index.html", "s02.html"}, {"s03.html", ""}};
  const struct {
    const char* page_path;
    const char* before;
    const char* after;
  } kCases[] = {
      {"index.html", "<a href=\"s05.html\">", "<a href=\"s06.html\">"},
      {"hobby.html", "<a href='S05.HTML?x=1#oben'>", "<a href='s06.html?x=1#oben'>"},
      {"hobby.html", "<a href=./s%30%35.html>", "<a href=./s06.html>"},
      {"hobby.html", "<a href=\" s05.html \">", "<a href=\" s06.html \">"},
      {"hobby.html", "<img SRC=\"/index.html\" title=\"s05.html\">",
       "<img SRC=\"/s02.html\" title=\"s05.html\">"},
      {"blog/a.htm", "<a href=\"../s05.html#x\"><a href=\"s05.html\">",
       "<a href=\"../s06.html#x\"><a href=\"s05.html\">"},
      {"blog/a.htm", "<a href=\"..\\s05.html\">", "<a href=\"..\\s06.html\">"},
      // Other sites, the page itself, text, removed pages: as they are.
      {"index.html", "<a href=\"https://x.ch/s05.html\">s05.html<a href=#s05.html>",
       "<a href=\"https://x.ch/s05.html\">s05.html<a href=#s05.html>"},
      {"index.html", "<a href=s03.html><a data-href=s05.html><!-- <a href=s05.html> -->",
       "<a href=s03.html><a data-href=s05.html><!-- <a href=s05.html> -->"},
      {"index.html", "<script>a='<a href=s05.html>'</script>",
       "<script>a='<a href=s05.html>'</script>"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(RewriteLinks(c.before, c.page_path, renames), c.after) << c.before;
}

// Which old page each place of the new menu holds, and which pages leave.
std::string Placement(const UpdatePlan& plan, std::size_t count) {
  std::string out;
  for (std::size_t position = 1; position <= count; ++position) {
    const std::string name = PageFileName(static_cast<int>(position));
    std::string from = name;
    for (const std::string& line : plan.summary.moved)
      if (line.find(" -> " + name) != std::string::npos) from = line.substr(0, line.find(' '));
    for (const std::string& line : plan.summary.created)
      if (line.starts_with(name)) from = "neu";
    out += from + ' ';
  }
  for (const std::string& line : plan.summary.removed)
    out += '-' + line.substr(0, line.find(' ')) + ' ';
  return out;
}

TEST(UpdatePlan, EntriesKeepTheirPagesByTextThenByPosition) {
  const struct {
    const char* old_menu;
    const char* new_menu;
    const char* placement;
  } kCases[] = {
      {"A\r\nB\r\nC\r\nD\r\nE", "A\r\nB\r\nC\r\nD\r\nX\r\nE",
       "index.html s02.html s03.html s04.html neu s05.html "},
      {"A\r\nB\r\nC", "A\r\nX\r\nC", "index.html s02.html s03.html "},  // renamed
      {"A\r\nB\r\nC", "A\r\nC\r\nB", "index.html s03.html s02.html "},  // swapped
      {"A\r\nB\r\nC", "B\r\nA\r\nC", "s02.html index.html s03.html "},
      {"A\r\nB\r\nC", "A\r\nC", "index.html s03.html -s02.html "},  // removed
      {"A\r\nB\r\nC", "X\r\nY", "index.html s02.html -s03.html "},  // all renamed
      {"A\r\nB\r\nC\r\nD", "A\r\nC\r\nX", "index.html s03.html s04.html -s02.html "},
      {"A\r\nB\r\nC", "C\r\nB\r\nX", "s03.html s02.html neu -index.html "},
      {"A\r\nB\r\nB", "B\r\nX\r\nA\r\nB", "s02.html neu index.html s03.html "},
      {"A", "Z\r\nA", "neu index.html "},
      {"A \r\nB", "B\r\nA ", "s02.html index.html "},  // blanks typed at a line's end
  };
  for (const auto& c : kCases) {
    const UpdatePlan plan = PlanUpdate(SiteOf(c.old_menu), Form(c.new_menu), kToday);
    EXPECT_EQ(Placement(plan, SplitMenuItems(c.new_menu).size()), c.placement)
        << c.old_menu << " -> " << c.new_menu;
    // Every new place is written, every file written over or removed is
    // backed up first.
    for (const PlanFile& write : plan.writes)
      EXPECT_LT(write.original, static_cast<int>(plan.originals.size()));
  }
}

// Beyond what the Wine test sees: the moved page gets the page writer's
// parts for its new place, the new page is OK's, and every other byte of
// the moved page stays.
TEST(UpdatePlan, AMovedPageGetsThePageWritersPartsForItsPlace) {
  std::vector<SitePage> pages = SiteOf("Start\r\nSeite 2\r\nImpressum");
  pages.push_back({"fotos/b.html", std::nullopt});
  const GenerationRequest form = Form("Start\r\nSeite 2\r\nHobbys\r\nImpressum", "Meine Seite");
  const UpdatePlan plan = PlanUpdate(pages, form, kToday);

  const SiteText site = SiteTextOf(form);
  EXPECT_EQ(WriteOf(plan, "s03.html")->bytes, std::string(kUtf8Bom) + RenderPage(site, 3, kToday));
  const std::string& moved = WriteOf(plan, "s04.html")->bytes;
  const PageParts parts = ReadPageParts(moved);
  std::string nav;
  AppendNavigation(nav, site, 4);
  EXPECT_EQ(TextAt(moved, parts.nav), nav.substr(0, nav.size() - 2));
  EXPECT_EQ(TextAt(moved, *parts.title), "Meine Seite: Impressum");
  EXPECT_EQ(TextAt(moved, *parts.heading), "Impressum" + kGlobe);
  EXPECT_EQ(TextAt(moved, parts.revised->raw), kToday);
  EXPECT_EQ(OutsideParts(moved), OutsideParts(*pages[2].bytes));
  EXPECT_THAT(UpdateQuestionText(plan.summary, "C:\\Site\\", Latin1),
              HasSubstr("Nicht lesbar, Links darin bleiben, wie sie sind:\r\n    fotos/b.html"));
}

// An HTML editor (tidy -indent) decodes the globe and puts a blank before
// it; the page still follows its menu text.
TEST(UpdatePlan, AGlobeAnEditorRewroteStillMatches) {
  std::vector<SitePage> pages = SiteOf("A\r\nB");
  for (SitePage& page : pages)
    for (auto at = page.bytes->find("B" + kGlobe); at != std::string::npos;
         at = page.bytes->find("B" + kGlobe))
      page.bytes->replace(at, 1 + kGlobe.size(),
                          "B\n <span class=\"lang\">\xF0\x9F\x8C\x90</span> ");
  const UpdatePlan plan = PlanUpdate(pages, Form("A\r\nX\r\nB"), kToday);
  EXPECT_EQ(Placement(plan, 3), "index.html neu s02.html ");
}

TEST(UpdatePlan, RemovedPagesLeaveTheSiteAndTheirLinksAreCounted) {
  std::vector<SitePage> pages = SiteOf("A\r\nB\r\nC\r\nD");
  pages.push_back({"eigen.html", "<a href=s02.html>B</a><a href=s03.html>C</a>"});
  const UpdatePlan plan = PlanUpdate(pages, Form("A\r\nC\r\nX"), kToday);
  EXPECT_EQ(plan.summary.removed, (std::vector<std::string>{"s02.html \xC2\xAB"
                                                            "B\xC2\xBB"}));
  EXPECT_EQ(plan.summary.moved, (std::vector<std::string>{"s03.html -> s02.html \xC2\xAB"
                                                          "C\xC2\xBB",
                                                          "s04.html -> s03.html \xC2\xAB"
                                                          "D\xC2\xBB -> \xC2\xABX\xC2\xBB"}));
  // s02.html is written over by C's page; s04.html's name is left.
  std::vector<std::string> removed;
  for (const PlanFile& original : plan.originals)
    if (original.removed) removed.push_back(original.path);
  EXPECT_EQ(removed, (std::vector<std::string>{"s04.html"}));
  EXPECT_EQ(plan.summary.links_to_removed, 1);
  EXPECT_EQ(plan.summary.with_links_to_removed, (std::vector<std::string>{"eigen.html"}));
  EXPECT_EQ(WriteOf(plan, "eigen.html")->bytes, "<a href=s02.html>B</a><a href=s02.html>C</a>");
}

TEST(UpdatePlan, ChangesNothingWhenTheSiteMatchesAndRefusesUnreadablePages) {
  EXPECT_TRUE(PlanUpdate(SiteOf("A\r\nB"), Form("A\r\nB"), kToday).ChangesNothing());
  std::vector<SitePage> pages = SiteOf("A\r\nB");
  pages[1].bytes.reset();
  const UpdatePlan blocked = PlanUpdate(pages, Form("B\r\nA"), kToday);
  EXPECT_EQ(blocked.blocked_by, (std::vector<std::string>{"s02.html"}));
  EXPECT_TRUE(blocked.ChangesNothing());
}

TEST(SiteForm, ReadsTheFormBackExactlyAsItWasTyped) {
  for (const char* text : {"Tom &amp; Jerry", "<b>fett</b> &lt;",
                           "\xC3\x9C"
                           "ber \xE2\x82\xAC",
                           ""}) {
    GenerationRequest form = Form(std::string(text) + "\r\nImpressum", text);
    form.author = text;
    form.keywords = text;
    std::vector<SitePage> site{
        {"index.html", std::string(kUtf8Bom) + RenderPage(SiteTextOf(form), 1, kToday)}};
    const SiteForm read = ReadSiteForm(*site[0].bytes);
    EXPECT_EQ(read.title, text);
    EXPECT_EQ(read.author, text);
    EXPECT_EQ(read.keywords, text);
    EXPECT_EQ(read.menu_text, form.menu_text);
    EXPECT_EQ(FormPartsMissingText(read), "");
  }
  const SiteForm bare = ReadSiteForm("<title>T</title><meta name=author content=x>");
  EXPECT_EQ(FormPartsMissingText(bare),
            "In index.html fehlt: Keywords, Men\xFC"
            "punkte (<nav>).\r\n\r\n"
            "Diese Felder bleiben, wie sie sind.");
}

TEST(SiteCheck, LeavesTheBackupsOut) {
  test::MemorySite site;
  site.Add("index.html", "<a href=s02.html>2</a>");
  site.Add("s02.html", "<a href=index.html>1</a>");
  site.Add("_SICHERUNG/2026-12-08_10-00-00/s02.html", "<a href=fehlt.html>x</a>");
  const sitecheck::CheckResult result = sitecheck::CheckSite(site);
  EXPECT_TRUE(result.findings.empty());
  EXPECT_EQ(result.files, 2u);
}

TEST(UpdateTexts, TheNoticeSaysWhatFailedAndWhyAndWhatWasPutBack) {
  UpdateOutcome outcome{UpdateOutcome::Result::ChangeFailed,
                        "_Sicherung\\2026-12-08_10-00-00\\",
                        "s03.html",
                        {WriteCause::DiskFull, 112}};
  EXPECT_THAT(OutcomeNoticeText(outcome, Latin1),
              HasSubstr("\r\n    s03.html\r\nAuf dem Datentr\xE4ger ist kein Platz mehr."));
  EXPECT_THAT(OutcomeNoticeText(outcome, Latin1), HasSubstr("wieder, wie sie vorher waren"));
  outcome.not_restored = {"s02.html"};
  EXPECT_THAT(OutcomeNoticeText(outcome, Latin1), HasSubstr("ckgeholt werden:\r\n    s02.html"));
}

}  // namespace
}  // namespace trellan::siteupdate
