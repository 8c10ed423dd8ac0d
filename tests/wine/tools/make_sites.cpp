// Generates the sample sites that the browser and HTML-checker tests look
// at: one site for each menu length, copied out of the prefix's desktop into
// <destination>\n<N>. The closing notices are answered with OK. The
// default site (n5) is made by Trellan.exe itself, through its dialog
// (TRELLAN_EXE and TRELLAN_PROBE_DLL name the program and the driver's
// probe), and checked by its "Website prüfen..." into
// <destination>\report\_Pruefbericht.html.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "app/site_run.h"
#include "identity.h"
#include "settings/form_settings.h"
#include "system/site_files.h"
#include "system/system.h"
#include "tests/driver/driver.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_site.h"

namespace {

using namespace trellan;

// A Unix path of the build tree as Wine's Z: drive sees it.
std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

void CopyTree(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  for (const std::string& name : test::ListFolder(from)) {
    const std::string source = from + "\\" + name;
    const std::string target = to + "\\" + name;
    if (GetFileAttributesA(source.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
      CopyTree(source, target);
    else
      CopyFileA(source.c_str(), target.c_str(), FALSE);
  }
}

std::string MenuOf(int count) {
  std::string menu;
  for (int i = 1; i <= count; ++i) {
    if (i > 1) menu += "\r\n";
    menu += i == 1 ? "Start" : "Seite " + std::to_string(i);
  }
  return menu;
}

bool Failed(const char* what) {
  std::fprintf(stderr, "make_sites: %s\n", what);
  return false;
}

constexpr int kSiteCheckCommand = 115;  // "Website prüfen..." in the system menu

// "Website prüfen..." on the site just written: the notice's text, printed,
// and the report, moved out of the site (the browser tests take the site's
// pages as the program wrote them) to <destination>\report. Wine's browser
// launcher gets no browser to start for the report.
bool CheckThroughTheProgram(driver::TrellanProcess& program, const std::string& destination) {
  constexpr const char* kWineBrowser = "Software\\Wine\\WineBrowser";
  WriteRegString(HKEY_CURRENT_USER, kWineBrowser, "Browsers", "trellan-test-no-browser");
  if (!program.PostSysCommand(kSiteCheckCommand)) return Failed("the site check was not chosen");
  const std::optional<driver::Box> notice = program.WaitForBox(kProgramCaption);
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kWineBrowser, "Browsers");
  if (!notice || !program.Answer(*notice, IDOK)) return Failed("the site check showed no notice");
  std::printf("site check notice: %s\n", notice->text.c_str());
  const std::string report = destination + "\\report";
  CreateDirectoryA(report.c_str(), nullptr);
  if (!MoveFileA((test::SiteFolder() + "_Pruefbericht.html").c_str(),
                 (report + "\\_Pruefbericht.html").c_str()))
    return Failed("the site check wrote no report");
  return true;
}

// The default form as a first start shows it, OK, the site check, then
// "&Ende".
bool GenerateThroughTheProgram(const std::string& destination) {
  RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
  std::optional<driver::TrellanProcess> program =
      driver::TrellanProcess::Start(driver::PathFromEnvironment("TRELLAN_EXE"));
  if (!program) return Failed("Trellan's dialog did not open");
  if (!driver::GenerateThroughDialog(*program)) return Failed("the run through OK did not end");
  if (!CheckThroughTheProgram(*program, destination)) return false;
  if (!program->Click(IDCANCEL) || program->WaitForExit() != std::optional<DWORD>(0))
    return Failed("\"&Ende\" did not end Trellan with exit code 0");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sites <destination folder>\n");
    return 2;
  }
  const std::string destination = WindowsPath(argv[1]);
  test::RemoveTree(destination);
  CreateDirectoryA(destination.c_str(), nullptr);
  std::string site = test::SiteFolder();
  site.pop_back();
  for (int count : {1, 2, 3, 5, 20}) {
    test::RemoveSiteFolder();
    if (count == 5) {
      if (!GenerateThroughTheProgram(destination)) {
        std::fprintf(stderr, "make_sites: Trellan.exe did not generate the default site\n");
        return 1;
      }
    } else {
      // The run as OK carries it out once the dialog has decided.
      FormSettings form = DefaultFormSettings();
      form.menu_text = MenuOf(count);
      test::MessageBoxAnswerer answerer;
      const std::string folder = SiteFolderPath();
      WriteSiteAndNotify(form, ScanSiteFolder(folder), folder, false, false);
    }
    CopyTree(site, destination + "\\n" + std::to_string(count));
  }
  test::RemoveSiteFolder();
  std::printf("sites written to %s\n", destination.c_str());
  return 0;
}
