// The site check over sites in memory: how references resolve, one site
// with one of every finding, hostile sites, and the report.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "generator/site_plan.h"
#include "settings/form_settings.h"
#include "sitecheck/html_tokenizer.h"
#include "sitecheck/site_check.h"
#include "sitecheck/site_report.h"
#include "sitecheck/site_url.h"
#include "sitecheck/text_codec.h"
#include "tests/support/memory_site.h"
#include "tests/support/picture_headers.h"
#include "utils/utf8.h"

namespace trellan::sitecheck {
namespace {

using Kind = FindingKind;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(ResolveReference, ResolvesAsBrowsersDoAndKeepsToTheSiteFolder) {
  constexpr auto kLocal = ReferenceKind::Local;
  constexpr auto kExternal = ReferenceKind::External;
  constexpr auto kOutside = ReferenceKind::OutsideSite;
  constexpr auto kIgnored = ReferenceKind::Ignored;
  const struct {
    const char* page;
    const char* value;
    ReferenceKind kind;
    const char* path;
    bool folder;
    const char* fragment;  // nullptr: none
  } kCases[] = {
      {"index.html", "media/Bild.JPG", kLocal, "media/Bild.JPG", false, nullptr},
      {"a/b/s.html", "../c.html?x=1#Teil", kLocal, "a/c.html", false, "Teil"},
      {"a/s.html", "/media/sch%C3%B6n%20gro%C3%9F.jpg", kLocal,
       "media/sch\xC3\xB6n gro\xC3\x9F.jpg", false, nullptr},
      {"a/s.html", "..\\x.html", kLocal, "x.html", false, nullptr},
      {"a%20b/s.html", "t.html", kLocal, "a%20b/t.html", false, nullptr},
      {"s.html", " \n me\tdia/./a.jpg\r\n", kLocal, "media/a.jpg", false, nullptr},
      {"s.html", "a%2Fb.html", kLocal, "a%2Fb.html", false, nullptr},
      {"s.html", "sub/", kLocal, "sub", true, nullptr},
      {"sub/s.html", "..", kLocal, "", true, nullptr},
      {"s.html", "#", kLocal, "s.html", false, ""},
      {"s.html", "a\\b.html?c\\d#e\\f", kLocal, "a/b.html", false, "e\\f"},
      {"s.html", "?q=1", kLocal, "s.html", false, nullptr},
      {"s.html", "../x.html", kOutside, "", false, nullptr},
      {"s.html", "%2e%2e/x.html", kOutside, "", false, nullptr},
      {"s.html", "C:\\Users\\Lena\\bild.jpg", kOutside, "", false, nullptr},
      {"s.html", "d:/bild.jpg", kOutside, "", false, nullptr},
      {"s.html", "file:///C:/bild.jpg", kOutside, "", false, nullptr},
      {"s.html", "\\\\server\\share\\bild.jpg", kOutside, "", false, nullptr},
      {"s.html", "HTTPS://example.org/", kExternal, "", false, nullptr},
      {"s.html", "mailto:a@example.org", kExternal, "", false, nullptr},
      {"s.html", "tel:+41", kExternal, "", false, nullptr},
      {"s.html", "//cdn.example.org/x.js", kExternal, "", false, nullptr},
      {"s.html", "javascript:window.print();", kIgnored, "", false, nullptr},
      {"s.html", "data:image/png;base64,AAAA", kIgnored, "", false, nullptr},
      {"s.html", "ftp://example.org/", kIgnored, "", false, nullptr},
      {"s.html", " \t", kIgnored, "", false, nullptr},
  };
  for (const auto& c : kCases) {
    const Reference reference = ResolveReference(c.page, c.value);
    EXPECT_EQ(reference.kind, c.kind) << c.value;
    EXPECT_EQ(reference.path, c.path) << c.value;
    EXPECT_EQ(reference.names_folder, c.folder) << c.value;
    EXPECT_EQ(reference.has_fragment, c.fragment != nullptr) << c.value;
    if (c.fragment != nullptr) {
      EXPECT_EQ(reference.fragment, c.fragment) << c.value;
    }
  }
}

TEST(SrcsetUrls, SplitsCandidatesAtCommasOutsideDescriptors) {
  using Urls = std::vector<std::string_view>;
  EXPECT_EQ(SrcsetUrls("a.jpg 1x, b.jpg 2x"), (Urls{"a.jpg", "b.jpg"}));
  EXPECT_EQ(SrcsetUrls(" ,a.jpg,b.jpg 640w"), (Urls{"a.jpg,b.jpg"}));
  EXPECT_EQ(SrcsetUrls("a.jpg,, b.jpg"), (Urls{"a.jpg", "b.jpg"}));
  EXPECT_EQ(SrcsetUrls("a.jpg (x, y) 1x, c.jpg"), (Urls{"a.jpg", "c.jpg"}));
  EXPECT_EQ(SrcsetUrls(" , "), Urls{});
}

// One of every finding, each on its own line of index.html unless it
// belongs to the site or another page.
test::MemorySite FixtureSite() {
  test::MemorySite site;
  site.Add(
      "index.html",
      "\xEF\xBB\xBF<!DOCTYPE html>\r\n"
      "<title>Seitentitel eingeben</title>\r\n"              // 2
      "<meta name=\"Author\" content=\"Vorname Name\">\r\n"  // 3
      "<meta name=keywords content=\"Schl&uuml;sselw&ouml;rter f\xC3\xBCr Suchmaschinen "
      "eingeben\">\r\n"
      "<a href=\"seite.html\">ok</a> <a href=\"Seite.html\">Fall</a>\r\n"  // 5
      "<img srcset=\"media/klein.png 1x, media/fehlt.jpg 2x\" src=media/klein.png alt=k>\n"
      "<a href=\"seite.html#da\">ok</a> <a href=\"seite.html#weg\">x</a>\r"  // 7
      "<a href=\"../draussen.html\">x</a>\n"                                 // 8
      "<img src=\"media/klein.png\">\n"                                      // 9
      "<img src=\"media/gross.jpg\" alt=\"Berg\">\n"                         // 10
      "<p id=\"a\">x</p><p id=\"a\">y</p>\n"                                 // 11
      "<a href=\"dummy.pdf\">PDF</a>\n"                                      // 12
      "<p>Mail an\nvorname.name@example.com</p>\n"                           // 13, 14
      "<p>Passwort: GeHe1m24</p>\n"                                          // 15
      "<a href=\"Meine%20Bilder/foto.jpg\">Foto</a> <a href=\"#top\">hoch</a> <a href=\"#\">x</a>\n"
      "<a href=\"https://example.org/\">x</a> <a href=\"javascript:void(0)\">x</a>\n"
      "<video poster=media/klein.png><source src=\"media/film.mp4\"></video>\n"
      "<script>var s = '<a href=\"fehlt-im-skript.html\">';</script>\n");
  site.Add("seite.html",
           "<h1 id=da>Seite</h1><a href=index.html title=\"vorname.name@example.com\">Start</a>"
           "<a href=GeHe1m24.html>geheim</a><a href=_Pruefbericht.html>Bericht</a>");
  site.Add("GeHe1m24.html", "");
  site.Add("verwaist.html", "<p>niemand verlinkt mich</p>");
  site.Add("media/klein.png", test::PngHeader(40, 30));
  site.Add("media/gross.jpg", test::JpegHeader(4000, 3000));
  site.Add("media/film.mp4", "....");
  site.Add("Meine Bilder/foto.jpg", test::JpegHeader(800, 600));
  site.Add(std::string(kReportFileName), "<a href=fehlt.html>alter Bericht</a>");
  return site;
}

struct Expected {
  Kind kind;
  const char* page;
  int line;
  std::string subject;
};

TEST(CheckSite, ReportsEachPlantedFindingOnceAtItsPageAndLine) {
  test::MemorySite site = FixtureSite();
  const CheckResult result = CheckSite(site);
  const Expected kExpected[] = {
      {Kind::SamplePassword, "", 0, "GeHe1m24.html"},
      {Kind::UnsafeName, "", 0, "Meine Bilder"},
      {Kind::PlaceholderTitle, "index.html", 2, "Seitentitel eingeben"},
      {Kind::PlaceholderAuthor, "index.html", 3, "Vorname Name"},
      {Kind::PlaceholderKeywords, "index.html", 4,
       "Schl\xC3\xBCsselw\xC3\xB6rter f\xC3\xBCr Suchmaschinen eingeben"},
      {Kind::CaseMismatch, "index.html", 5, "Seite.html"},
      {Kind::MissingTarget, "index.html", 6, "media/fehlt.jpg"},
      {Kind::MissingFragment, "index.html", 7, "seite.html#weg"},
      {Kind::OutsideSite, "index.html", 8, "../draussen.html"},
      {Kind::MissingAlt, "index.html", 9, "media/klein.png"},
      {Kind::LargePicture, "index.html", 10, "media/gross.jpg (1 KB, 4000 \xC3\x97 3000 px)"},
      {Kind::DuplicateId, "index.html", 11, "a"},
      {Kind::SampleLink, "index.html", 12, "dummy.pdf"},
      {Kind::SampleEmail, "index.html", 14, "vorname.name@example.com"},
      {Kind::SamplePassword, "index.html", 15, "GeHe1m24"},
      {Kind::SampleEmail, "seite.html", 1, "vorname.name@example.com"},
      {Kind::SamplePassword, "seite.html", 1, "GeHe1m24"},
      {Kind::UnreachablePage, "verwaist.html", 0, "verwaist.html"},
  };
  for (const auto& e : kExpected) {
    const auto matches =
        std::count_if(result.findings.begin(), result.findings.end(), [&](const Finding& f) {
          return f.kind == e.kind && f.page == e.page && f.line == e.line && f.subject == e.subject;
        });
    EXPECT_EQ(matches, 1) << KindTitle(e.kind) << " " << e.page << ":" << e.line;
  }
  for (const auto& f : result.findings) {
    EXPECT_EQ(f.severity, SeverityOf(f.kind));
    EXPECT_FALSE(f.fix.empty());
    EXPECT_THAT(f.fix, Not(HasSubstr("{"))) << KindTitle(f.kind);  // every value filled in
  }
  EXPECT_EQ(result.findings.size(), std::size(kExpected));
  EXPECT_EQ(result.errors, 4u);
  EXPECT_EQ(result.warnings, 5u);
  EXPECT_EQ(result.hints, 9u);
  ASSERT_EQ(result.pages.size(), 4u);  // the old report is no page of the site
  EXPECT_EQ(result.pages[0].path, "index.html");
  EXPECT_EQ(result.pages[0].external_links, 1u);
  EXPECT_EQ(result.pages[0].lines, 20);

  const auto fix_of = [&](Kind kind) {
    return std::find_if(result.findings.begin(), result.findings.end(),
                        [&](const Finding& f) { return f.kind == kind; })
        ->fix;
  };
  EXPECT_THAT(fix_of(Kind::CaseMismatch), HasSubstr("„seite.html“"));
  EXPECT_THAT(fix_of(Kind::LargePicture), HasSubstr("„media/gross_w.jpg“"));
  EXPECT_THAT(fix_of(Kind::UnsafeName), HasSubstr("„Meine-Bilder“"));
}

// <base href> and attributes that name files only on other elements
// (data, poster, action) are not followed.
TEST(CheckSite, FollowsReferenceAttributesOnly) {
  test::MemorySite site;
  site.Add("index.html",
           "<base href=a.html><object data=b.svg></object><div data=c.html poster=d.png>\n"
           "<video poster=e.png></video><link href=f.css><img srcset=\"g.jpg 2x\" alt=x>\n"
           "<form action=h.php><button formaction=i.php></button></form><div action=j.php>\n");
  std::vector<std::string> missing;
  for (const Finding& f : CheckSite(site).findings) missing.push_back(f.subject);
  EXPECT_EQ(missing,
            (std::vector<std::string>{"b.svg", "e.png", "f.css", "g.jpg", "h.php", "i.php"}));
}

// The smallest pages that show how real editors' and real sites' markup
// is judged: each case lists every finding it must give, and no other.
TEST(CheckSite, JudgesWhatRealPagesHoldByItsRealTarget) {
  const std::string many_attributes = [] {
    std::string tag = "<p";
    for (std::size_t i = 0; i <= HtmlTokenizer::kMaxAttributes; ++i)
      tag += " a" + std::to_string(i);
    return tag + " href=fehlt.html>";
  }();
  const std::string kUmlautFile =
      "b\xC3\xBC"
      "cher.html";
  const Expected kUmlautName = {Kind::UnsafeName, "", 0, kUmlautFile};
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<Expected> expected;
  } kCases[] = {
      {"a backslash is a slash in the path only",
       {{"index.html", "<a name=\"a\\b\"></a><a href=\"#a\\b\">x</a><img src=media\\x.png alt=x>"},
        {"media/x.png", ""}},
       {}},
      {"a base inside the folder",
       {{"index.html",
         "<a href=\"x.html\">x</a><a href=#oben>o</a>\n<base href=\"sub/\"><a href=fehlt.html>"},
        {"sub/x.html", ""},
        {"sub/index.html", "<h1 id=oben>x</h1>"}},
       {{Kind::MissingTarget, "index.html", 2, "fehlt.html"}}},
      {"a base on the web",
       {{"index.html",
         "<base href=\"https://example.org/\">\n<a href=fehlt.html>x</a><a href=#x>"}},
       {{Kind::PartNotChecked, "index.html", 1, "https://example.org/"}}},
      {"Windows-1252 declared by charset",
       {{"index.html",
         "<meta charset=\"windows-1252\"><a href=\"b\xFC"
         "cher.html\">x</a>"},
        {kUmlautFile, ""}},
       {kUmlautName}},
      {"ISO-8859-1 declared by http-equiv",
       {{"index.html",
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">\n"
         "<a href=\"b\xFC"
         "cher.html\">x</a>"},
        {kUmlautFile, ""}},
       {kUmlautName}},
      {"not UTF-8 and undeclared",
       {{"index.html",
         "<a href=\"b\xFC"
         "cher.html\">x</a>"},
        {kUmlautFile, ""}},
       {kUmlautName, {Kind::UndeclaredEncoding, "index.html", 0, ""}}},
      {"an encoding the check does not decode",
       {{"index.html",
         "<meta charset=iso-8859-2>\n<a href=\"b\xFC"
         "cher.html\">x</a><a href=ok.html>"},
        {"ok.html", ""}},
       {{Kind::PartNotChecked, "index.html", 2, ""}}},
      {"stylesheets, their imports, <style> and style attributes",
       {{"index.html",
         "<link rel=stylesheet href=style.css>\n<style>\np{background:url(fehlt.gif)}</style>\n"
         "<p style=\"background:url('x.png')\">"},
        {"style.css",
         "body{background:url(media/Bild.JPG)} /* url(k.png) */\n@import \"css/mehr.css\";"},
        {"css/mehr.css", "a{background:url(../media/bild.jpg)}\nb{background:url(bild.png)}"},
        {"media/bild.jpg", ""}},
       {{Kind::MissingTarget, "index.html", 3, "fehlt.gif"},
        {Kind::MissingTarget, "index.html", 4, "x.png"},
        {Kind::CaseMismatch, "style.css", 1, "media/Bild.JPG"},
        {Kind::MissingTarget, "css/mehr.css", 2, "bild.png"}}},
      {"SVG's use and image",
       {{"index.html", "<svg><use xlink:href=\"#icon\"/><image href=\"fehlt.png\"/></svg>"}},
       {{Kind::MissingFragment, "index.html", 1, "#icon"},
        {Kind::MissingTarget, "index.html", 1, "fehlt.png"}}},
      {"named references for ASCII",
       {{"index.html", "<a href=\"a&lowbar;b&period;html&num;x\">x</a>"}, {"a_b.html", "<p id=x>"}},
       {}},
      {"more attributes than a tag keeps",
       {{"index.html", many_attributes}},
       {{Kind::PartNotChecked, "index.html", 1, "<p>"}}},
  };
  for (const auto& c : kCases) {
    test::MemorySite site;
    for (const auto& [path, content] : c.files) site.Add(path, content);
    const CheckResult result = CheckSite(site);
    std::vector<std::string> found, expected;
    for (const Finding& f : result.findings)
      found.push_back(std::string(KindTitle(f.kind)) + " " + f.page + ":" + std::to_string(f.line) +
                      " " + f.subject);
    for (const Expected& e : c.expected)
      expected.push_back(std::string(KindTitle(e.kind)) + " " + e.page + ":" +
                         std::to_string(e.line) + " " + e.subject);
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected) << c.what;
  }
}

TEST(CheckSite, MergesRepeatsAndNamesMovedFiles) {
  test::MemorySite site;
  site.Add("index.html",
           "<img src=bilder/x.jpg alt=a><img src=./bilder/x.jpg alt=b>\n"
           "<a href=dummy.pdf>a</a><a href=Dummy.DOCX>b</a>\n<img src=bilder/x.jpg alt=c>\n"
           "<a href=index-en.html>en</a><a href=index-fr.html>fr</a>\n");
  site.Add("index-FR.html", "<a href=index.html>de</a>");
  site.Add("media/x.jpg", "x");
  const CheckResult result = CheckSite(site);
  ASSERT_EQ(result.findings.size(), 3u);
  const Finding& missing = result.findings[0];
  EXPECT_EQ(missing.kind, Kind::MissingTarget);
  EXPECT_EQ(missing.line, 1);
  EXPECT_EQ(missing.more_lines, std::vector<int>{3});
  EXPECT_EQ(missing.occurrences, 2u);
  EXPECT_EQ(missing.subject, "bilder/x.jpg, ./bilder/x.jpg");
  EXPECT_THAT(missing.fix, HasSubstr("„media/x.jpg“"));
  // Sample links share one hint; a sample language page that exists in
  // another case is a case error, not a sample.
  EXPECT_EQ(result.findings[1].kind, Kind::SampleLink);
  EXPECT_EQ(result.findings[1].subject, "dummy.pdf, Dummy.DOCX, index-en.html");
  EXPECT_EQ(result.findings[1].more_lines, std::vector<int>{4});
  EXPECT_EQ(result.findings[2].kind, Kind::CaseMismatch);
  EXPECT_EQ(result.findings[2].subject, "index-fr.html");
}

TEST(CheckSite, SurvivesHostileSites) {
  const auto deep = [] {
    std::string html;
    for (int i = 0; i < 100000; ++i) html += "<div>";
    html += "<a href=\"fehlt.html\">x</a>";
    for (int i = 0; i < 100000; ++i) html += "</div>";
    return html;
  };
  const auto huge = [] {
    std::string html;
    const std::string chunk =
        "<p id=x><a href=\"s.html#nirgends\">a</a><!-- <a href=gar-nicht.html> --></p>\r\n";
    while (html.size() < (20u << 20)) html += chunk;
    return html;
  };
  const auto many_missing = [] {
    std::string html;
    for (std::size_t i = 0; i < kMaxListedFindings + 50; ++i)
      html += "<a href=f" + std::to_string(i) + ".html>x</a>\n";
    return html;
  };
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<Expected> expected;
    std::size_t omitted;
  } kCases[] = {
      {"nested 100000 deep",
       {{"index.html", deep()}},
       {{Kind::MissingTarget, "index.html", 1, "fehlt.html"}},
       0},
      {"20 MB page",
       {{"index.html", huge()}, {"s.html", "<a href=index.html>x</a>"}},
       {{Kind::DuplicateId, "index.html", 2, "x"},
        {Kind::MissingFragment, "index.html", 1, "s.html#nirgends"},
        {Kind::PartNotChecked, "index.html", static_cast<int>(kMaxFragmentChecksPerPage) + 1, ""}},
       0},
      {"binary and UTF-16 pages",
       {{"index.html", "<a href=bild.html>x</a><a href=u.html#x>u</a>"},
        {"bild.html", test::PngHeader(1, 1)},
        {"u.html", std::string("\xFF\xFE<\0p\0>\0", 8)}},
       {{Kind::PageNotChecked, "bild.html", 0, "keine UTF-8-Textdatei"},
        {Kind::PageNotChecked, "u.html", 0, "keine UTF-8-Textdatei"}},
       0},
      {"too large to read",
       {{"index.html", "<a href=gross.htm>x</a>"},
        {"gross.htm", std::string(kMaxPageBytes + 1, ' ')}},
       {{Kind::PageNotChecked, "gross.htm", 0, "32,0 MB"}},
       0},
      {"pages in loops",
       {{"index.html", "<a href=a.html>a</a>"},
        {"a.html", "<a href=b.html>b</a>"},
        {"b.html", "<a href=a.html>a</a><a href=index.html>i</a>"},
        {"c.html", "<a href=d.html>d</a>"},
        {"d.html", "<a href=c.html>c</a>"}},
       {{Kind::UnreachablePage, "c.html", 0, "c.html"},
        {Kind::UnreachablePage, "d.html", 0, "d.html"}},
       0},
      {"no start page",
       {{"Start.html", "<a href=x.html>x</a>"}, {"x.html", ""}},
       {{Kind::MissingStartPage, "", 0, "index.html"}},
       0},
      {"start page in the wrong case",
       {{"Index.HTML", ""}},
       {{Kind::CaseMismatch, "", 0, "Index.HTML"}},
       0},
      {"a reference longer than a subject",
       {{"index.html", "<a href=" + std::string(kMaxSubjectBytes + 100, 'x') + ">x</a>"}},
       {{Kind::MissingTarget, "index.html", 1,
         std::string(kMaxSubjectBytes, 'x') + "\xE2\x80\xA6"}},
       0},
      {"more findings than listed", {{"index.html", many_missing()}}, {}, 50},
  };
  for (const auto& c : kCases) {
    test::MemorySite site;
    for (const auto& [path, content] : c.files) site.Add(path, content);
    const CheckResult result = CheckSite(site);
    if (c.omitted == 0) {
      EXPECT_EQ(result.findings.size(), c.expected.size()) << c.what;
    } else {
      EXPECT_EQ(result.findings.size(), kMaxListedFindings) << c.what;
      EXPECT_EQ(result.errors, kMaxListedFindings + c.omitted) << c.what;
    }
    EXPECT_EQ(result.pages.front().omitted_findings, c.omitted) << c.what;
    for (const auto& e : c.expected) {
      const auto matches =
          std::count_if(result.findings.begin(), result.findings.end(), [&](const Finding& f) {
            return f.kind == e.kind && f.page == e.page && f.line == e.line &&
                   f.subject == e.subject;
          });
      EXPECT_EQ(matches, 1) << c.what << ": " << KindTitle(e.kind);
    }
  }
}

// Windows-1252 as the dialog holds the form; its defaults need only
// Latin-1.
std::string Latin1ToUtf8(const std::string& ansi) {
  std::string utf8;
  for (const char c : ansi) AppendUtf8(utf8, static_cast<unsigned char>(c));
  return utf8;
}

// The site an untouched default form writes: the run's own plan, its files
// as the program writes them.
test::MemorySite DefaultSite() {
  const FormSettings form = DefaultFormSettings();
  GenerationRequest request;
  request.title = Latin1ToUtf8(form.title);
  request.author = Latin1ToUtf8(form.author);
  request.keywords = Latin1ToUtf8(form.keywords);
  request.menu_text = Latin1ToUtf8(form.menu_text);
  const SitePlan plan = PlanSite(request, "2026-12-08", {}, "C:\\Desktop\\CSS-Musterseite\\");
  test::MemorySite site;
  for (const SiteStep& step : plan.steps) {
    if (step.kind != StepKind::WriteFile) continue;
    std::string path = step.target;
    std::replace(path.begin(), path.end(), '\\', '/');
    site.Add(path, (step.bom ? std::string(kUtf8Bom) : std::string()).append(step.Content()));
  }
  return site;
}

// Only the sample's placeholders: no errors, no warnings. The list is in
// the report's order.
TEST(CheckSite, DefaultSiteShowsOnlyTheSamplePlaceholders) {
  test::MemorySite site = DefaultSite();
  const CheckResult result = CheckSite(site);
  std::vector<std::string> found;
  for (const Finding& f : result.findings) {
    std::string line =
        std::string(KindTitle(f.kind)) + " | " + f.page + ":" + std::to_string(f.line);
    for (const int more : f.more_lines) line += "," + std::to_string(more);
    found.push_back(line + " | " + f.subject);
  }
  const std::vector<std::string> kExpected = {
      "Platzhalter beim Autor | index.html:6 | Vorname Name",
      "Platzhalter bei den Suchbegriffen | index.html:7 | "
      "Schl\xC3\xBCsselw\xC3\xB6rter f\xC3\xBCr Suchmaschinen eingeben",
      "Platzhalter im Seitentitel | index.html:17 | Seitentitel eingeben",
      "Beispiel-Links der Musterseite | index.html:45,47,49,53,54,55,56 | "
      "dummy.pdf, dummy.mp3, dummy.mp4, dummy.zip, dummy.odt, dummy.docx, dummy.xlsx",
      "Platzhalter beim Autor | s02.html:6 | Vorname Name",
      "Platzhalter bei den Suchbegriffen | s02.html:7 | "
      "Schl\xC3\xBCsselw\xC3\xB6rter f\xC3\xBCr Suchmaschinen eingeben",
      "Platzhalter im Seitentitel | s02.html:17 | Seitentitel eingeben: Seite 2",
      "Platzhalter beim Autor | s03.html:6 | Vorname Name",
      "Platzhalter bei den Suchbegriffen | s03.html:7 | "
      "Schl\xC3\xBCsselw\xC3\xB6rter f\xC3\xBCr Suchmaschinen eingeben",
      "Platzhalter im Seitentitel | s03.html:17 | Seitentitel eingeben: Seite 3",
      "Beispiel-Links der Musterseite | s03.html:155,157,159,163,164,165,166 | "
      "dummy.pdf, dummy.mp3, dummy.mp4, dummy.zip, dummy.odt, dummy.docx, dummy.xlsx",
      "Platzhalter beim Autor | s04.html:6 | Vorname Name",
      "Platzhalter bei den Suchbegriffen | s04.html:7 | "
      "Schl\xC3\xBCsselw\xC3\xB6rter f\xC3\xBCr Suchmaschinen eingeben",
      "Platzhalter im Seitentitel | s04.html:17 | Seitentitel eingeben: Links & Media",
      "Beispiel-Passwort | s04.html:94 | GeHe1m24",
      "Platzhalter beim Autor | s05.html:6 | Vorname Name",
      "Platzhalter bei den Suchbegriffen | s05.html:7 | "
      "Schl\xC3\xBCsselw\xC3\xB6rter f\xC3\xBCr Suchmaschinen eingeben",
      "Platzhalter im Seitentitel | s05.html:17 | Seitentitel eingeben: Impressum",
      "Beispiel-E-Mail-Adresse | s05.html:43 | vorname.name@example.com",
      "Beispiel-Links der Musterseite | s05.html:55,56,57 | "
      "index-en.html, index-fr.html, index-es.html",
  };
  EXPECT_EQ(found, kExpected);
  EXPECT_EQ(CountsText(result), "0 Fehler, 0 Warnungen, 20 Hinweise");
}

TEST(CountsText, UsesSingularForOne) {
  const struct {
    std::size_t errors, warnings, hints;
    const char* text;
  } kCases[] = {
      {0, 0, 0, "0 Fehler, 0 Warnungen, 0 Hinweise"},
      {1, 1, 1, "1 Fehler, 1 Warnung, 1 Hinweis"},
      {2, 5, 3, "2 Fehler, 5 Warnungen, 3 Hinweise"},
  };
  for (const auto& c : kCases) {
    CheckResult result;
    result.errors = c.errors;
    result.warnings = c.warnings;
    result.hints = c.hints;
    EXPECT_EQ(CountsText(result), c.text);
  }
}

// Only the report's own markup: every tag and attribute it may write.
void ExpectOnlyReportMarkup(const std::string& html) {
  static const std::set<std::string> kTags = {
      "html",   "head", "meta",  "title", "style", "body", "main", "h1", "h2", "p",  "br", "code",
      "strong", "span", "table", "thead", "tbody", "tr",   "th",   "td", "a",  "ul", "li"};
  static const std::set<std::string> kAttributes = {"lang",    "charset", "name",
                                                    "content", "class",   "href"};
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  while (tokenizer.Next(token)) {
    if (token.kind != TokenKind::StartTag) continue;
    EXPECT_TRUE(kTags.contains(token.name)) << token.name;
    for (const auto& attribute : token.attributes) {
      EXPECT_TRUE(kAttributes.contains(attribute.name)) << attribute.name;
      if (attribute.name == "href") {
        EXPECT_THAT(attribute.value, Not(HasSubstr(":")));
      }
    }
  }
}

TEST(ReportHtml, EscapesEverythingFromTheSite) {
  test::MemorySite site = FixtureSite();
  site.Add("x<b onclick=\"y\">&'\xFF\x01.html",
           "<a href=\"</td><script>alert(1)</script>\">x</a><img src='\"><i>'>");
  const std::string report = ReportHtml(CheckSite(site), {"C:\\Users\\<Lena>\\Desktop", "heute"});
  ExpectOnlyReportMarkup(report);
  EXPECT_EQ(ToCleanUtf8(report), report);
  EXPECT_THAT(report, HasSubstr("<html lang=\"de\">"));
  EXPECT_THAT(report, HasSubstr("&lt;/td&gt;&lt;script&gt;alert(1)&lt;/script&gt;"));
  EXPECT_THAT(report, HasSubstr("x%3Cb%20onclick%3D%22y%22%3E%26%27%FF%01.html"));
}

// Stylesheets appear only with findings; every line of a finding counts,
// the listed ones and the rest.
TEST(ReportHtml, ShowsStylesheetsWithFindingsAndCountsEveryLine) {
  test::MemorySite site;
  std::string index = "<link rel=stylesheet href=style.css><link rel=stylesheet href=ok.css>";
  for (int i = 0; i < 25; ++i) index += "\n<a href=fehlt.html>x</a>";
  site.Add("index.html", index);
  site.Add("style.css", "body{background:url(fehlt.png)}");
  site.Add("ok.css", "p{}");
  const std::string report = ReportHtml(CheckSite(site), {"Ordner", "heute"});
  EXPECT_THAT(report, HasSubstr("<body>\n<main>\n<h1>"));
  EXPECT_THAT(report, HasSubstr("</main>\n</body>"));
  EXPECT_THAT(report, HasSubstr("<h2><a href=\"style.css\">style.css</a></h2>"));
  EXPECT_THAT(report, Not(HasSubstr("ok.css")));
  EXPECT_THAT(report, HasSubstr(", 22 … (25-mal)</td>"));
}

}  // namespace
}  // namespace trellan::sitecheck
