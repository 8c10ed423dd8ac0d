// "Website prüfen" on Windows: the site folder read from disk (names
// outside Windows-1252, sub-folders, picture headers), and the system-menu
// entry of the real dialog from the command to its notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/form_ids.h"
#include "identity.h"
#include "sitecheck/site_check.h"
#include "system/handles.h"
#include "system/site_check_files.h"
#include "system/system.h"
#include "tests/driver/dialog_fixture.h"
#include "tests/support/dialog_host.h"
#include "tests/support/message_boxes.h"
#include "tests/support/picture_headers.h"
#include "tests/support/test_site.h"

namespace trellan {
namespace {

using test::FileExists;

constexpr const char* kWineBrowser = "Software\\Wine\\WineBrowser";

std::string Site(const std::string& relative) { return test::SiteFolder() + relative; }

void WriteWide(const std::wstring& path, const std::string& bytes) {
  const FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  ASSERT_TRUE(file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                &written, nullptr));
}

class SiteCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    driver::ForgetStoredForm();
    test::RemoveSiteFolder();
    // The report opens in the browser Windows has for pages; Wine's browser
    // launcher gets none to start, so no real browser ever opens.
    saved_browsers_ = ReadRegString(HKEY_CURRENT_USER, kWineBrowser, "Browsers");
    WriteRegString(HKEY_CURRENT_USER, kWineBrowser, "Browsers", "trellan-test-no-browser");
  }
  void TearDown() override {
    dialog_.reset();
    test::RemoveSiteFolder();
    if (saved_browsers_.empty())
      RegDeleteKeyValueA(HKEY_CURRENT_USER, kWineBrowser, "Browsers");
    else
      WriteRegString(HKEY_CURRENT_USER, kWineBrowser, "Browsers", saved_browsers_);
  }

  // The system-menu entry as a click on it arrives; the command it posts
  // runs here, its boxes answered with OK.
  std::vector<test::SeenBox> ChooseSiteCheck() {
    test::MessageBoxAnswerer answerer;
    SendMessageA(dialog_->get(), WM_SYSCOMMAND, IDM_SITECHECK, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return answerer.seen();
  }

  std::unique_ptr<test::DialogHost> dialog_;
  std::string saved_browsers_;
};

TEST_F(SiteCheck, FolderIsListedInUtf8AndReadFromDisk) {
  CreateDirectoryA(test::SiteFolder().c_str(), nullptr);
  const std::wstring folder = AnsiToWide(test::SiteFolder());
  CreateDirectoryW((folder + L"Bilder \x03A9").c_str(), nullptr);
  WriteWide(folder + L"Bilder \x03A9\\gr\x00FCn.png", test::PngHeader(2400, 10));
  WriteWide(folder + L"index.html", "<img src=\"Bilder%20%CE%A9/GR%C3%9CN.png\">");

  DiskSiteFiles files(test::SiteFolder());
  std::vector<std::string> listed;
  for (const auto& entry : files.ListEntries())
    listed.push_back(entry.path + (entry.is_folder ? "/" : " " + std::to_string(entry.size)));
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed,
            (std::vector<std::string>{"Bilder \xCE\xA9/", "Bilder \xCE\xA9/gr\xC3\xBCn.png 29",
                                      "index.html 41"}));
  EXPECT_EQ(files.ReadRange("Bilder \xCE\xA9/gr\xC3\xBCn.png", 1, 3), "PNG");
  EXPECT_EQ(files.ReadRange("Bilder \xCE\xA9/gr\xC3\xBCn.png", 29, 3), "");
  EXPECT_EQ(files.ReadFile("index.html", 41), "<img src=\"Bilder%20%CE%A9/GR%C3%9CN.png\">");
  EXPECT_EQ(files.ReadFile("index.html", 40), std::nullopt);  // larger than asked for
  EXPECT_EQ(files.ReadFile("nicht-da.html", 100), std::nullopt);

  // The name as written differs in case: Windows finds the picture, the
  // web server would not.
  const sitecheck::CheckResult result = sitecheck::CheckSite(files);
  std::vector<sitecheck::FindingKind> kinds;
  for (const auto& finding : result.findings) kinds.push_back(finding.kind);
  using Kind = sitecheck::FindingKind;
  EXPECT_EQ(kinds, (std::vector<Kind>{Kind::UnsafeName, Kind::UnsafeName, Kind::MissingAlt,
                                      Kind::CaseMismatch, Kind::LargePicture}));
}

TEST_F(SiteCheck, MenuEntryWritesTheReportAndShowsTheCounts) {
  dialog_ = std::make_unique<test::DialogHost>();
  {
    test::MessageBoxAnswerer answerer;
    dialog_->Click(IDOK);  // the untouched default site
  }
  const auto boxes = ChooseSiteCheck();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, kProgramCaption);
  EXPECT_EQ(boxes[0].text,
            "Website gepr\xFC"
            "ft: 0 Fehler, 0 Warnungen, 20 Hinweise.\r\n\r\n"
            "Der Bericht \xAB_Pruefbericht.html\xBB im Website-Ordner zeigt, was wo zu tun ist.");
  EXPECT_EQ(boxes[0].icon, LoadIconA(nullptr, IDI_INFORMATION));
  const std::string report = test::ReadFileBytes(Site("_Pruefbericht.html"));
  EXPECT_NE(report.find("<strong>0 Fehler, 0 Warnungen, 20 Hinweise</strong>"), std::string::npos);
  // It names the folder, never the path: the upload script sends it along.
  EXPECT_NE(report.find("<code>CSS-Musterseite</code>"), std::string::npos);
  EXPECT_EQ(report.find("Desktop"), std::string::npos);

  // A report held open by another program cannot be written: a warning
  // names it.
  const FileHandle held(CreateFileA(Site("_Pruefbericht.html").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  const auto failed = ChooseSiteCheck();
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].text,
            "Der Pr\xFC"
            "fbericht konnte nicht geschrieben werden:\r\n\r\n" +
                Site("_Pruefbericht.html") +
                "\r\n\r\nVielleicht ist er schreibgesch\xFCtzt oder in einem "
                "anderen Programm ge\xF6"
                "ffnet.");
  EXPECT_EQ(failed[0].icon, LoadIconA(nullptr, IDI_WARNING));
}

TEST_F(SiteCheck, WithoutSiteANoticeSaysSoAndNothingIsWritten) {
  dialog_ = std::make_unique<test::DialogHost>();
  const std::string tail =
      "\r\n\r\nErstelle die Website zuerst mit \"OK...\", dann kann sie gepr\xFC"
      "ft werden.";
  const auto no_folder = ChooseSiteCheck();
  ASSERT_EQ(no_folder.size(), 1u);
  EXPECT_EQ(no_folder[0].text, "Der Ordner\r\n\xAB" + test::SiteFolder() + "\xBB\r\nfehlt." + tail);
  EXPECT_EQ(no_folder[0].caption, kProgramCaption);
  EXPECT_FALSE(FileExists(test::SiteFolder()));

  CreateDirectoryA(test::SiteFolder().c_str(), nullptr);
  CreateDirectoryA(Site("index.html").c_str(), nullptr);  // a folder is no start page
  const auto no_index = ChooseSiteCheck();
  ASSERT_EQ(no_index.size(), 1u);
  EXPECT_EQ(no_index[0].text, "Im Ordner\r\n\xAB" + test::SiteFolder() +
                                  "\xBB\r\nfehlt die Startseite index.html." + tail);
  EXPECT_EQ(no_index[0].icon, LoadIconA(nullptr, IDI_INFORMATION));
  EXPECT_FALSE(FileExists(Site("_Pruefbericht.html")));
}

}  // namespace
}  // namespace trellan
