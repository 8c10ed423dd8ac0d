// Times whole generation runs under Wine (N = 5 and N = 20 pages), as OK
// runs them once the dialog has decided: the look at the site folder, the
// conversion, the plan and carrying it out, up to the moment the closing
// notice is created; and, as the floor, the same bytes written by a minimal
// CreateFile/WriteFile loop in the same process.
//   generate_bench [runs]
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

// Each run finds no index.html, so it asks nothing and writes everything.
double TimedRun(const FormSettings& form) {
  DeleteFileA((test::SiteFolder() + "index.html").c_str());
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

void Collect(const std::string& folder, std::vector<File>& files) {
  for (const std::string& name : test::ListFolder(folder)) {
    const std::string path = folder + "\\" + name;
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
      Collect(path, files);
    else
      files.push_back({path, test::ReadFileBytes(path)});
  }
}

double TimedFloor(const std::vector<File>& files) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (const File& file : files) {
    const HANDLE handle = CreateFileA(file.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(handle, file.bytes.data(), static_cast<DWORD>(file.bytes.size()), &written, nullptr);
    CloseHandle(handle);
  }
  QueryPerformanceCounter(&end);
  return Milliseconds(start, end);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  const HHOOK hook = SetWindowsHookExA(WH_CBT, CloseNotice, nullptr, GetCurrentThreadId());
  std::printf("%-8s %6s %8s %12s %12s\n", "pages", "files", "bytes", "run (ms)", "floor (ms)");
  for (int pages : {5, 20}) {
    test::RemoveSiteFolder();
    const FormSettings form = FormOf(pages);
    TimedRun(form);  // warm-up; also leaves the site for the floor
    std::vector<File> files;
    std::string folder = test::SiteFolder();
    folder.pop_back();
    Collect(folder, files);
    std::size_t bytes = 0;
    for (const File& file : files) bytes += file.bytes.size();

    std::vector<double> run_times, floor_times;
    for (int i = 0; i < runs; ++i) {
      run_times.push_back(TimedRun(form));
      floor_times.push_back(TimedFloor(files));
    }
    std::printf("%-8d %6zu %8zu %12.2f %12.2f\n", pages, files.size(), bytes, Median(run_times),
                Median(floor_times));
  }
  test::RemoveSiteFolder();
  UnhookWindowsHookEx(hook);
  return 0;
}
