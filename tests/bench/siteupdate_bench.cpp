// Times "Menü in Website übernehmen" over a site of 20 pages of about 100 KB
// each, as OK wrote them and a learner filled them (text, pictures, links
// to the other pages): the menu's second and third entries swap places,
// so that every page's navigation changes, two pages are renamed and the
// links to them rewritten in every page. Timed from reading the folder
// until the last file is written: the pages read through the wide API,
// the plan, the backup of all 20 and the 20 pages written whole. Between
// runs the site is put back and the backup removed, untimed. Prints the
// medians of the wall-clock times and, since a busy machine stretches
// those, of the process's processor time (user and kernel).
//   siteupdate_bench [runs]
// Run under Wine by `scripts/bench.sh --siteupdate`.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "generator/site_plan.h"
#include "generator/text_output.h"
#include "siteupdate/site_update.h"
#include "system/site_update_files.h"
#include "system/text_file_writer.h"
#include "tests/support/test_site.h"
#include "utils/utf8.h"

namespace {

using namespace trellan;

constexpr int kPages = 20;
constexpr std::size_t kPageBytes = 100 * 1024;

std::string Menu(bool swapped) {
  std::string menu = swapped ? "Start\r\nSeite 3\r\nSeite 2" : "Start\r\nSeite 2\r\nSeite 3";
  for (int page = 4; page <= kPages; ++page) menu += "\r\nSeite " + std::to_string(page);
  return menu;
}

GenerationRequest Form(bool swapped) {
  GenerationRequest request;
  request.title = "Unsere Klasse";
  request.author = "Lena Muster";
  request.keywords = "Schule, Klasse";
  request.menu_text = Menu(swapped);
  return request;
}

// The pages as OK writes them, each grown to about 100 KB by the learner's
// own paragraphs after the heading.
std::vector<siteupdate::SitePage> LearnersSite() {
  std::vector<siteupdate::SitePage> pages;
  for (const SiteStep& step : PlanPages(Form(false), "2026-01-01", {})) {
    std::string page = std::string(kUtf8Bom) + step.bytes;
    std::string own;
    for (int i = 0; page.size() + own.size() < kPageBytes; ++i)
      own += "<p>Mein Text " + std::to_string(i) + " mit <img src=\"media/bild" +
             std::to_string(i) + ".jpg\" alt=\"Bild\"> und einem Link auf <a href=\"" +
             PageFileName(i % kPages + 1) + "#oben\">die Seite " + std::to_string(i % kPages + 1) +
             "</a>.</p>\r\n";
    page.insert(page.find("</h1>\r\n") + 7, own);
    pages.push_back({step.target, std::move(page)});
  }
  return pages;
}

double Milliseconds(std::chrono::steady_clock::time_point from,
                    std::chrono::steady_clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// The processor time the process has used so far, user and kernel.
double ProcessorMilliseconds() {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ticks = [](FILETIME time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;  // 100 ns ticks
}

double MedianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "trellan-siteupdate-bench\\";
  test::RemoveTree(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::vector<siteupdate::SitePage> site = LearnersSite();
  std::size_t bytes = 0;
  for (const siteupdate::SitePage& page : site) bytes += page.bytes->size();

  std::vector<double> read_ms, plan_ms, write_ms, total_ms, processor_ms;
  std::size_t written = 0;
  for (int run = 0; run < runs; ++run) {
    for (const siteupdate::SitePage& page : site)
      WriteWholeFile(folder + page.path, {}, *page.bytes);
    test::RemoveTree(folder + "_Sicherung");
    const double processor_start = ProcessorMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    const std::vector<siteupdate::SitePage> pages = ReadSitePages(folder);
    const auto read = std::chrono::steady_clock::now();
    const siteupdate::UpdatePlan plan = siteupdate::PlanUpdate(pages, Form(true), "2026-12-08");
    const auto planned = std::chrono::steady_clock::now();
    const siteupdate::UpdateOutcome outcome = CarryOutUpdate(folder, plan);
    const auto done = std::chrono::steady_clock::now();
    processor_ms.push_back(ProcessorMilliseconds() - processor_start);
    if (outcome.result != siteupdate::UpdateOutcome::Result::Done) {
      std::printf("error: the update failed at %s\n", outcome.failed.c_str());
      return 1;
    }
    written = plan.writes.size();
    read_ms.push_back(Milliseconds(start, read));
    plan_ms.push_back(Milliseconds(read, planned));
    write_ms.push_back(Milliseconds(planned, done));
    total_ms.push_back(Milliseconds(start, done));
  }
  test::RemoveTree(folder);
  std::printf("on disk, under Wine or Windows; medians of %d runs\n", runs);
  std::printf("%5s %9s %7s %10s %10s %17s %11s %9s\n", "pages", "bytes", "written", "read (ms)",
              "plan (ms)", "backup+write (ms)", "total (ms)", "cpu (ms)");
  std::printf("%5d %9zu %7zu %10.2f %10.2f %17.2f %11.2f %9.2f\n", kPages, bytes, written,
              MedianOf(read_ms), MedianOf(plan_ms), MedianOf(write_ms), MedianOf(total_ms),
              MedianOf(processor_ms));
  return 0;
}
