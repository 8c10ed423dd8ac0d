// "Menü in Website übernehmen..." and "Formular aus Website lesen" through
// the real dialog, on a site the learner has worked on: pages inserted,
// renamed, reordered and removed with every byte of the learner's work
// kept, the backup, a failure part-way that puts everything back, and the
// form read back from the site.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/form_ids.h"
#include "generator/page_writer.h"
#include "generator/site_plan.h"
#include "generator/text_output.h"
#include "identity.h"
#include "siteupdate/update_texts.h"
#include "system/handles.h"
#include "system/system.h"
#include "tests/driver/dialog_fixture.h"
#include "tests/support/dialog_host.h"
#include "tests/support/message_boxes.h"
#include "tests/support/outside_parts.h"
#include "tests/support/test_site.h"
#include "utils/utf8.h"

namespace trellan {
namespace {

using test::FileExists;
using test::OutsideParts;
using test::ReadFileBytes;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::string kBom(kUtf8Bom);
const char* const kSitePages[] = {"index.html", "s02.html", "s03.html", "s04.html", "s05.html"};
constexpr const char* kMenuWithHobbys =
    "Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nHobbys\r\nImpressum";

std::string Site(const std::string& relative) { return test::SiteFolder() + relative; }

void Replace(std::string& text, std::string_view from, std::string_view to) {
  const auto at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

// Every file of the site folder and its sub-folders (the backups aside)
// with its bytes.
using Files = std::map<std::string, std::string>;

void Collect(const std::string& folder, const std::string& relative, Files& files) {
  for (const std::string& name : test::ListFolder(folder + relative)) {
    const std::string path = relative + name;
    if (path == "_Sicherung") continue;
    if (GetFileAttributesA((folder + path).c_str()) & FILE_ATTRIBUTE_DIRECTORY)
      Collect(folder, path + "\\", files);
    else
      files[path] = ReadFileBytes(folder + path);
  }
}

Files SiteFiles() {
  Files files;
  Collect(test::SiteFolder(), "", files);
  return files;
}

// The learner's pages as the link to the disclaimer page leads in them
// after it moved from s05.html to s06.html.
std::string FollowedToS06(std::string page) {
  for (auto at = page.find("s05.html"); at != std::string::npos; at = page.find("s05.html", at))
    page.replace(at, 8, "s06.html");
  return page;
}

class SiteUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    driver::ForgetStoredForm();
    test::RemoveSiteFolder();
    dialog_ = std::make_unique<test::DialogHost>();
    test::MessageBoxAnswerer answerer;
    dialog_->Click(IDOK);
  }
  void TearDown() override {
    dialog_.reset();
    test::RemoveSiteFolder();
  }

  // The default site after weeks of work: text and a link to the
  // disclaimer page in every page, a style in every head, a page with a
  // broken navigation, own pages that link the disclaimer page.
  void WorkOnTheSite() {
    for (const char* name : kSitePages) {
      std::string page = ReadFileBytes(Site(name));
      Replace(page, "</h1>\r\n",
              std::string("</h1>\r\n<p>Meine Seite ") + name[2] +
                  ", siehe <a href=\"s05.html#oben\">Impressum</a>.</p>\r\n");
      Replace(page, "</head>", "  <style>h1 { color: teal }</style>\r\n</head>");
      if (std::string(name) == "s03.html") Replace(page, "</nav>", "</div>");
      test::WriteFileBytes(Site(name), page);
    }
    test::WriteFileBytes(Site("hobby.html"), "<a href=\"s05.html\">Impressum</a>\r\n");
    CreateDirectoryA(Site("fotos").c_str(), nullptr);
    test::WriteFileBytes(Site("fotos\\galerie.html"), "<a href=\"../S05.html?x#oben\">I</a>");
  }

  // The system-menu entry as a click on it arrives; the command it posts
  // runs here, its boxes answered in turn.
  std::vector<test::SeenBox> Choose(int command, std::deque<int> answers = {}) {
    test::MessageBoxAnswerer answerer(std::move(answers));
    SendMessageA(dialog_->get(), WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return answerer.seen();
  }

  // The menu applied, the question answered with Yes: the notice's text.
  std::string Apply(const std::string& menu) {
    dialog_->SetText(IDC_MENU, menu);
    const auto boxes = Choose(IDM_SITEUPDATE, {IDYES});
    EXPECT_EQ(boxes.size(), 2u);
    return boxes.empty() ? std::string() : boxes.back().text;
  }

  std::unique_ptr<test::DialogHost> dialog_;
};

TEST_F(SiteUpdate, PagesFollowTheirMenuTextAndTheLearnersWorkStays) {
  WorkOnTheSite();
  const Files before = SiteFiles();
  dialog_->SetText(IDC_TITLE, "Meine Seite");
  dialog_->SetText(IDC_MENU, kMenuWithHobbys);

  // "Hobbys" before the last page: the question, then the notice.
  const auto boxes = Choose(IDM_SITEUPDATE, {IDYES});
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption,
            "Men\xFC \xFC"
            "bernehmen");
  EXPECT_EQ(boxes[0].icon, LoadIconA(nullptr, IDI_QUESTION));
  EXPECT_EQ(boxes[0].buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(boxes[0].default_button, IDNO);
  EXPECT_EQ(
      boxes[0].text,
      "Im Ordner\r\n\xAB" + test::SiteFolder() +
          "\xBB\r\n"
          "\xE4ndert sich mit dem Men\xFC des Formulars:\r\n\r\n"
          "Angepasst: 5 Seiten\r\n    index.html, s02.html, s03.html, s04.html, s06.html\r\n"
          "Neu: 1 Seite\r\n    s05.html \xABHobbys\xBB\r\n"
          "Umbenannt: 1 Seite\r\n    s05.html -> s06.html \xABImpressum\xBB\r\n"
          "Men\xFC und Kopf bleiben, wie sie sind: 1 Seite\r\n    s03.html: <nav> ohne </nav>\r\n"
          "Links auf umbenannte Seiten werden angepasst, auch in 2 eigenen Seiten:\r\n"
          "    hobby.html, fotos/galerie.html\r\n\r\n"
          "Was sich \xE4ndert, wird vorher nach \xAB_Sicherung\xBB kopiert.\r\n\r\n"
          "Men\xFC wirklich in die Website \xFC"
          "bernehmen?");
  EXPECT_EQ(boxes[1].caption, kProgramCaption);
  EXPECT_THAT(boxes[1].text, StartsWith("Das Men\xFC ist in die Website \xFC"
                                        "bernommen."));
  EXPECT_TRUE(dialog_->FormIs(true));

  // The new page is the one OK writes; every other page keeps the
  // learner's bytes outside its generated parts, the links following the
  // disclaimer page to s06.html.
  const Files after = SiteFiles();
  GenerationRequest form;
  form.title = "Meine Seite";
  form.author = AnsiToUtf8(dialog_->Text(IDC_AUTHOR));
  form.keywords = AnsiToUtf8(dialog_->Text(IDC_KEYWORDS));
  form.menu_text = kMenuWithHobbys;
  EXPECT_EQ(after.at("s05.html"), kBom + RenderPage(SiteTextOf(form), 5, TodayText()));
  for (const auto& [from, to] : std::map<std::string, std::string>{{"index.html", "index.html"},
                                                                   {"s02.html", "s02.html"},
                                                                   {"s04.html", "s04.html"},
                                                                   {"s05.html", "s06.html"}})
    EXPECT_EQ(OutsideParts(after.at(to)), OutsideParts(FollowedToS06(before.at(from)))) << to;
  EXPECT_EQ(after.at("s03.html"), FollowedToS06(before.at("s03.html")));
  EXPECT_EQ(after.at("hobby.html"), FollowedToS06(before.at("hobby.html")));
  EXPECT_EQ(after.at("fotos\\galerie.html"), "<a href=\"../s06.html?x#oben\">I</a>");
  EXPECT_THAT(after.at("index.html"), HasSubstr("<title>Meine Seite</title>"));
  EXPECT_THAT(after.at("s06.html"), HasSubstr("<title>Meine Seite: Impressum</title>"));

  // Everything it changed is in the backup as it was.
  const std::vector<std::string> backups = test::ListFolder(Site("_Sicherung"));
  ASSERT_EQ(backups.size(), 1u);
  const std::string backup = Site("_Sicherung\\" + backups[0] + "\\");
  EXPECT_THAT(boxes[1].text, HasSubstr(backups[0]));
  for (const char* name : {"index.html", "s02.html", "s03.html", "s04.html", "s05.html",
                           "hobby.html", "fotos\\galerie.html"})
    EXPECT_EQ(ReadFileBytes(backup + name), before.at(name)) << name;

  // Renamed: the page keeps its content under its new label.
  Apply("Start\r\nGalerie\r\nSeite 3\r\nLinks & Media\r\nHobbys\r\nImpressum");
  const std::string galerie = ReadFileBytes(Site("s02.html"));
  EXPECT_THAT(galerie, HasSubstr("<h1>Galerie</h1>"));
  EXPECT_THAT(galerie, HasSubstr("<title>Meine Seite: Galerie</title>"));
  EXPECT_EQ(OutsideParts(galerie), OutsideParts(after.at("s02.html")));

  // Reordered: the two pages swap their files, the one with the broken
  // navigation too, whose links follow the pages.
  const Files unswapped = SiteFiles();
  Apply("Start\r\nGalerie\r\nLinks & Media\r\nSeite 3\r\nHobbys\r\nImpressum");
  std::string broken = unswapped.at("s03.html");
  Replace(broken, "href=\"s03.html\"", "href=\"sXX.html\"");
  Replace(broken, "href=\"s04.html\"", "href=\"s03.html\"");
  Replace(broken, "href=\"sXX.html\"", "href=\"s04.html\"");
  EXPECT_EQ(ReadFileBytes(Site("s04.html")), broken);
  EXPECT_EQ(OutsideParts(ReadFileBytes(Site("s03.html"))), OutsideParts(unswapped.at("s04.html")));

  // Removed: the page leaves the site, the disclaimer page moves back.
  const Files with_hobbys = SiteFiles();
  const std::string notice = Apply("Start\r\nGalerie\r\nLinks & Media\r\nSeite 3\r\nImpressum");
  EXPECT_FALSE(FileExists(Site("s06.html")));
  EXPECT_EQ(ReadFileBytes(Site("hobby.html")), before.at("hobby.html"));
  EXPECT_EQ(OutsideParts(ReadFileBytes(Site("s05.html"))), OutsideParts([&] {
              std::string page = with_hobbys.at("s06.html");
              for (auto at = page.find("s06.html#"); at != std::string::npos;
                   at = page.find("s06.html#", at))
                page.replace(at, 8, "s05.html");
              return page;
            }()));
  const std::string last_backup =
      Site("_Sicherung\\" + test::ListFolder(Site("_Sicherung")).back());
  EXPECT_EQ(ReadFileBytes(last_backup + "\\s05.html"), with_hobbys.at("s05.html"));

  // Read back: the form as the site says it, characters Windows-1252 lacks
  // as references; nothing is shown, changed or stored.
  std::string index = ReadFileBytes(Site("index.html"));
  Replace(index, "<title>Meine Seite</title>", "<title>Meine &amp; \xCE\xA9 Seite</title>");
  test::WriteFileBytes(Site("index.html"), index);
  const Files read_before = SiteFiles();
  dialog_->SetText(IDC_TITLE, "x");
  dialog_->SetText(IDC_MENU, "y");
  EXPECT_TRUE(Choose(IDM_READFORM).empty());
  EXPECT_EQ(dialog_->Text(IDC_TITLE), "Meine &amp; &#x3a9; Seite");
  EXPECT_EQ(dialog_->Text(IDC_AUTHOR), "Vorname Name");
  EXPECT_EQ(dialog_->Text(IDC_MENU), "Start\r\nGalerie\r\nLinks & Media\r\nSeite 3\r\nImpressum");
  EXPECT_EQ(SiteFiles(), read_before);
  EXPECT_FALSE(driver::ReadStored("PageTitle"));
}

TEST_F(SiteUpdate, AFailurePartWayPutsEveryFileBack) {
  WorkOnTheSite();
  const Files before = SiteFiles();
  const std::string held_open = Site("s04.html");
  const std::string read_only = Site("s05.html");
  constexpr const char* kWithoutSeite3 = "Start\r\nSeite 2\r\nLinks & Media\r\nImpressum";
  struct Case {
    const char* what;
    const char* menu;
    std::function<void()> block, unblock;
    const char* says;
  };
  FileHandle held;
  const Case kCases[] = {
      {"no room for the backup", kMenuWithHobbys,
       [&] { test::WriteFileBytes(Site("_Sicherung"), "a file in its place"); },
       [&] { DeleteFileA(Site("_Sicherung").c_str()); }, "Es wurde nichts ge\xE4ndert."},
      {"a page held open", kMenuWithHobbys,
       [&] {
         held = FileHandle(CreateFileA(held_open.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
       },
       [&] { held.reset(); }, "    s04.html\r\nVielleicht sind sie schreibgesch\xFCtzt"},
      // Written over by the new page, or removed after the others are written.
      {"a read-only page", kMenuWithHobbys,
       [&] { SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_READONLY); },
       [&] { SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_NORMAL); },
       "    s05.html\r\nVielleicht sind sie schreibgesch\xFCtzt"},
      {"a read-only page that moves", kWithoutSeite3,
       [&] { SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_READONLY); },
       [&] { SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_NORMAL); },
       "    s05.html\r\nVielleicht sind sie schreibgesch\xFCtzt"},
  };
  for (const Case& c : kCases) {
    dialog_->SetText(IDC_MENU, c.menu);
    c.block();
    const auto boxes = Choose(IDM_SITEUPDATE, {IDYES});
    c.unblock();
    ASSERT_EQ(boxes.size(), 2u) << c.what;
    EXPECT_EQ(boxes[1].icon, LoadIconA(nullptr, IDI_WARNING)) << c.what;
    EXPECT_THAT(boxes[1].text, HasSubstr(c.says)) << c.what;
    EXPECT_EQ(SiteFiles(), before) << c.what;
  }
}

TEST_F(SiteUpdate, WithoutASiteBothCommandsSaySo) {
  test::RemoveSiteFolder();
  for (const auto& [command, tail] :
       std::map<int, std::string>{{IDM_SITEUPDATE,
                                   "kann ihr Men\xFC \xFC"
                                   "bernommen werden."},
                                  {IDM_READFORM, "kann das Formular aus ihr gelesen werden."}}) {
    const auto boxes = Choose(command);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Der Ordner\r\n\xAB" + test::SiteFolder() +
                                 "\xBB\r\nfehlt.\r\n\r\nErstelle die Website zuerst mit \"OK...\", "
                                 "dann " +
                                 tail);
  }
}

}  // namespace
}  // namespace trellan
