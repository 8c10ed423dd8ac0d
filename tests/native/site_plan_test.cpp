// The run as data: which steps a run takes, in which order, with which bytes.
#include "generator/site_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generator/menu_items.h"
#include "generator/page_writer.h"
#include "generator/run_texts.h"
#include "generator/site_content.h"

namespace trellan {
namespace {

constexpr std::string_view kToday = "2026-12-08";
constexpr const char* kFolder = "C:\\users\\u 1\\Desktop\\CSS-Musterseite\\";

GenerationRequest Request(bool css_only = false, bool open_explorer = false) {
  GenerationRequest request;
  request.title =
      "Gr\xC3\xBC\xC3\x9F"
      "e";
  request.author = "Vorname Name";
  request.keywords = "Schl\xC3\xBCsselw\xC3\xB6rter";
  request.menu_text = "Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum";
  request.css_only = css_only;
  request.open_explorer = open_explorer;
  return request;
}

// A step without its bytes.
struct Shape {
  StepKind kind;
  std::string target;
  bool bom = false;
  bool operator==(const Shape&) const = default;
};

void PrintTo(const Shape& shape, std::ostream* out) {
  *out << static_cast<int>(shape.kind) << " \"" << shape.target << "\""
       << (shape.bom ? " bom" : "");
}

std::vector<Shape> ShapesOf(const SitePlan& plan) {
  std::vector<Shape> shapes;
  for (const SiteStep& step : plan.steps) shapes.push_back({step.kind, step.target, step.bom});
  return shapes;
}

const std::vector<Shape> kEveryRunsTail = {
    {StepKind::WriteFile, "style.css"},
    {StepKind::WriteFile, "zoom.js", true},
    {StepKind::WriteFile, "_FTP-Upload.cmd"},
    {StepKind::WriteFile, "_Start.cmd"},
    {StepKind::WriteFile, "_BackUp2OneDrive.cmd"},
    {StepKind::WriteFile, ".htaccess"},
    {StepKind::RemoveThumbnailCache, "Thumbs.db"},
    {StepKind::CreateFolder, "_ftp"},
    {StepKind::WriteFile, "_ftp\\ftp-pipe.txt"},
};

TEST(PlanSite, FullRunWritesPagesRemovesStaleOnesThenMediaAndEveryRunsFiles) {
  const SitePlan plan = PlanSite(Request(), kToday, {true, {"s07.html", "s03.html"}}, kFolder);
  EXPECT_EQ(plan.folder, kFolder);
  std::vector<Shape> expected = {
      {StepKind::CreateFolder, ""},
      {StepKind::WriteFile, "index.html", true},
      {StepKind::WriteFile, "s02.html", true},
      {StepKind::WriteFile, "s03.html", true},
      {StepKind::WriteFile, "s04.html", true},
      {StepKind::WriteFile, "s05.html", true},
      {StepKind::RemoveFile, "s07.html"},
      {StepKind::CreateFolder, "media"},
      {StepKind::WriteFile, "media\\candle.mp4"},
      {StepKind::WriteFile, "media\\matterhorn.jpg"},
      {StepKind::WriteFile, "media\\karte.png"},
      {StepKind::WriteFile, "media\\avatar.svg"},
      {StepKind::WriteFile, "media\\_create-Thumbnails.cmd"},
  };
  expected.insert(expected.end(), kEveryRunsTail.begin(), kEveryRunsTail.end());
  ASSERT_EQ(ShapesOf(plan), expected);

  // The pages are the texts as the request has them, already UTF-8.
  const SiteText site{
      "Gr\xC3\xBC\xC3\x9F"
      "e",
      "Vorname Name",
      "Schl\xC3\xBCsselw\xC3\xB6rter",
      {"Start", "Seite 2", "Seite 3", "Links & Media", "Impressum"}};
  for (int page = 1; page <= 5; ++page)
    EXPECT_EQ(plan.steps[static_cast<std::size_t>(page)].bytes, RenderPage(site, page, kToday))
        << page;
  for (std::size_t i = 0; i < SampleMedia().size(); ++i)
    EXPECT_EQ(plan.steps[8 + i].Content(), SampleMedia()[i].bytes) << i;
  const std::vector<std::string> fixed = {
      ThumbnailScriptText(), StylesheetText(),   ZoomScriptText(), FtpUploadScriptText(),
      StartScriptText(),     BackupScriptText(), HtaccessText()};
  for (std::size_t i = 0; i < fixed.size(); ++i)
    EXPECT_EQ(plan.steps[12 + i].Content(), fixed[i]) << i;
  EXPECT_EQ(plan.steps.back().Content(), FtpCommandText());
}

TEST(PlanSite, CssOnlyRunLeavesPagesMediaAndStalePagesAlone) {
  const SitePlan plan = PlanSite(Request(true), kToday, {true, {"s07.html"}}, kFolder);
  std::vector<Shape> expected = {{StepKind::CreateFolder, ""}};
  expected.insert(expected.end(), kEveryRunsTail.begin(), kEveryRunsTail.end());
  EXPECT_EQ(ShapesOf(plan), expected);
}

TEST(PlanSite, ExplorerStartsRightAfterTheZoomScriptOnlyWhenTheDialogSaysSo) {
  for (const bool css_only : {false, true}) {
    const SitePlan plan = PlanSite(Request(css_only, true), kToday, {}, kFolder);
    const SitePlan without = PlanSite(Request(css_only, false), kToday, {}, kFolder);
    ASSERT_EQ(plan.steps.size(), without.steps.size() + 1);
    std::size_t at = 0;
    while (at < plan.steps.size() && plan.steps[at].kind != StepKind::StartExplorer) ++at;
    ASSERT_LT(at, plan.steps.size());
    EXPECT_EQ(plan.steps[at - 1].target, "zoom.js");
    EXPECT_EQ(plan.steps[at].target,
              "Explorer /e,/root,/select,\"C:\\users\\u 1\\Desktop\\CSS-Musterseite\\\"");
  }
}

TEST(PlanSite, TwentyFiveMenuLinesGiveTwentyPages) {
  GenerationRequest request = Request();
  request.menu_text.clear();
  for (int i = 1; i <= 25; ++i) request.menu_text += "Seite " + std::to_string(i) + "\r\n";
  const SitePlan plan = PlanSite(request, kToday, {false, {"s21.html", "s20.html"}}, kFolder);
  EXPECT_EQ(plan.steps[20].target, "s20.html");
  EXPECT_NE(plan.steps[20].bytes.find("<h1>Seite 20" + std::string(kGlobeMarker) + "</h1>"),
            std::string::npos);
  EXPECT_EQ((Shape{plan.steps[21].kind, plan.steps[21].target}),
            (Shape{StepKind::RemoveFile, "s21.html"}));
  EXPECT_EQ(plan.steps[22].target, "media");
}

TEST(StalePages, OnlyPagesThereBeyondTheRunUpToS99AsTheFileSystemComparesNames) {
  using Names = std::vector<std::string>;
  const struct {
    Names found;
    int pages;
    Names stale;
  } cases[] = {
      {{"s99.html", "s42.html", "s100.html", "s06.html", "s05.html", "s01.html", "index.html"},
       5,
       {"s06.html", "s42.html", "s99.html"}},
      {{"S07.HTML", "s07.htm", "s07.html.bak", "sx7.html", "s7.html", "s-7.html"}, 1, {"S07.HTML"}},
      {{"s02.html", "s00.html"}, 1, {"s02.html"}},
      {{"s20.html", "s21.html"}, 20, {"s21.html"}},
      {{}, 1, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pages);
    EXPECT_EQ(StalePages(c.found, c.pages), c.stale);
  }
}

}  // namespace
}  // namespace trellan
