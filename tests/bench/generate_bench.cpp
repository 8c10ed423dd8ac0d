// Times whole generation runs under Wine (N = 5 and N = 20 pages), as OK
// runs them once the dialog has decided: the look at the site folder, the
// conversion, the plan and carrying it out, up to the moment the closing
// notice is created. Two cases: a fresh run (no site folder: every file is
// new) and an overwrite run (the whole site is there and "Ja" was
// answered). Beside each, in the same process, the floor: the least code
// that gives the same files with the same guarantee. Fresh: the folders
// made and every file created with CREATE_NEW and written. Overwrite: every
// file written to a temporary file beside it, flushed and moved over it.
// Both floors end as the run does, with a message box, timed up to its
// creation: the box costs Wine about 0.4 ms, which is not the writes' cost.
// Prints one row per case and N with the medians:
//   case pages files bytes run-ms floor-ms
//   generate_bench [runs]   (at least 21)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/site_run.h"
#include "settings/form_settings.h"
#include "system/site_files.h"
#include "tests/support/test_site.h"

namespace {

using namespace trellan;

constexpr int kMinimumRuns = 21;

LARGE_INTEGER g_notice_created;

LRESULT CALLBACK CloseNotice(int code, WPARAM wparam, LPARAM lparam) {
  const HWND window = reinterpret_cast<HWND>(wparam);
  char name[16] = {};
  if (code == HCBT_CREATEWND || code == HCBT_ACTIVATE) GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32770") {
    if (code == HCBT_CREATEWND && g_notice_created.QuadPart == 0)
      QueryPerformanceCounter(&g_notice_created);
    if (code == HCBT_ACTIVATE) PostMessageA(window, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

FormSettings FormOf(int pages) {
  FormSettings form = DefaultFormSettings();
  if (pages != 5) {
    form.menu_text.clear();
    for (int i = 1; i <= pages; ++i) form.menu_text += "Seite " + std::to_string(i) + "\r\n";
  }
  return form;
}

// With no site folder it asks nothing and writes everything; with a site
// there it writes everything as after a "Ja".
double TimedRun(const FormSettings& form) {
  g_notice_created.QuadPart = 0;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  const std::string folder = SiteFolderPath();
  WriteSiteAndNotify(form, ScanSiteFolder(folder), folder, false, false);
  return Milliseconds(start, g_notice_created);
}

struct File {
  std::string path;
  std::string bytes;
};

// What a run made: its folders (each before what it holds) and files.
struct Site {
  std::vector<std::string> folders;
  std::vector<File> files;
  std::size_t bytes = 0;
};

void Collect(const std::string& folder, Site& site) {
  site.folders.push_back(folder);
  for (const std::string& name : test::ListFolder(folder)) {
    const std::string path = folder + "\\" + name;
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      Collect(path, site);
    } else {
      site.files.push_back({path, test::ReadFileBytes(path)});
      site.bytes += site.files.back().bytes.size();
    }
  }
}

void WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// The notice every run ends with, timed up to its creation as the run's is.
double ShowNoticeSince(LARGE_INTEGER start) {
  g_notice_created.QuadPart = 0;
  MessageBoxA(nullptr, "Fertig.", "Floor", MB_OK | MB_ICONINFORMATION);
  return Milliseconds(start, g_notice_created);
}

double TimedFreshFloor(const Site& site) {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  for (const std::string& folder : site.folders) CreateDirectoryA(folder.c_str(), nullptr);
  for (const File& file : site.files) {
    const HANDLE handle = CreateFileA(file.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    WriteAll(handle, file.bytes);
    CloseHandle(handle);
  }
  return ShowNoticeSince(start);
}

double TimedOverwriteFloor(const Site& site) {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  for (const File& file : site.files) {
    const std::string temporary = file.path + ".tmp";
    const HANDLE handle = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    WriteAll(handle, file.bytes);
    FlushFileBuffers(handle);
    CloseHandle(handle);
    MoveFileExA(temporary.c_str(), file.path.c_str(),
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  return ShowNoticeSince(start);
}

void PrintRow(const char* name, int pages, const Site& site, const std::vector<double>& run,
              const std::vector<double>& floor) {
  std::printf("%s %d %zu %zu %.2f %.2f\n", name, pages, site.files.size(), site.bytes, Median(run),
              Median(floor));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = std::max(kMinimumRuns, argc > 1 ? std::atoi(argv[1]) : 0);
  const HHOOK hook = SetWindowsHookExA(WH_CBT, CloseNotice, nullptr, GetCurrentThreadId());
  std::printf("case pages files bytes run-ms floor-ms\n");
  for (int pages : {5, 20}) {
    const FormSettings form = FormOf(pages);
    test::RemoveSiteFolder();
    TimedRun(form);  // warm-up; also leaves the site for the floors
    Site site;
    std::string folder = test::SiteFolder();
    folder.pop_back();
    Collect(folder, site);

    std::vector<double> run, floor;
    for (int i = 0; i < runs; ++i) {
      test::RemoveSiteFolder();
      run.push_back(TimedRun(form));
      test::RemoveSiteFolder();
      floor.push_back(TimedFreshFloor(site));
    }
    PrintRow("fresh", pages, site, run, floor);

    run.clear();
    floor.clear();
    for (int i = 0; i < runs; ++i) {
      run.push_back(TimedRun(form));
      floor.push_back(TimedOverwriteFloor(site));
    }
    PrintRow("overwrite", pages, site, run, floor);
  }
  test::RemoveSiteFolder();
  UnhookWindowsHookEx(hook);
  return 0;
}
