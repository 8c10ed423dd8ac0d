// Times the site check over a site of 100 pages (each with the full menu,
// ten pictures, text and external links, about the size of the generated
// sample pages) and 1,000 JPEG pictures behind EXIF segments, and making
// its report; then over two hostile pages, one of 20 MB and one with tags
// nested 100,000 deep. Prints the medians.
//   sitecheck_bench [runs]
// Natively the site is in memory (build without the sanitizers,
// -DTRELLAN_SANITIZE=OFF, for figures that mean something). The Windows
// build, run under Wine by `scripts/bench.sh --sitecheck`, writes the sites
// into a folder and checks them there as the program does, reading the
// folder, the pages and the picture headers from disk, and writes the
// report.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sitecheck/site_check.h"
#include "sitecheck/site_report.h"
#include "tests/support/memory_site.h"
#include "tests/support/picture_headers.h"
#ifdef _WIN32
#include <windows.h>

#include "system/site_check_files.h"
#include "system/text_file_writer.h"
#include "tests/support/test_site.h"
#endif

namespace {

using namespace trellan;

constexpr int kPages = 100;
constexpr int kPicturesPerPage = 10;

std::string PageName(int page) {
  return page == 0 ? "index.html" : "s" + std::to_string(page) + ".html";
}

std::string PictureName(int picture) { return "media/bild" + std::to_string(picture) + ".jpg"; }

std::string Page(int page) {
  std::string html =
      "\xEF\xBB\xBF<!DOCTYPE html>\r\n<html lang=\"de\">\r\n<head>\r\n<meta charset=utf-8>\r\n"
      "<meta name=\"author\" content=\"Lena Muster\">\r\n<link rel=\"stylesheet\" "
      "href=\"style.css\">\r\n"
      "<script defer src=\"zoom.js\"></script>\r\n<title>Unsere Klasse: Seite " +
      std::to_string(page) + "</title>\r\n</head>\r\n<body>\r\n<nav>\r\n<ul class=\"menu\">\r\n";
  for (int i = 0; i < kPages; ++i)
    html += "  <li><a href=\"" + PageName(i) + "\">Seite " + std::to_string(i) + "</a></li>\r\n";
  html +=
      "</ul>\r\n</nav>\r\n<main>\r\n<h1 id=\"oben\">Seite " + std::to_string(page) + "</h1>\r\n";
  for (int i = 0; i < kPicturesPerPage; ++i) {
    const int picture = page * kPicturesPerPage + i;
    html += "<figure id=\"f" + std::to_string(i) + "\">\r\n  <img class=\"bild zoom\" src=\"" +
            PictureName(picture) + "\" alt=\"Bild " + std::to_string(picture) +
            "\">\r\n  <figcaption>Bildlegende &amp; mehr &hellip;</figcaption>\r\n</figure>\r\n"
            "<p>Hier kommt der Inhalt der Seite mit einem <a href=\"https://example.org/" +
            std::to_string(i) +
            "\">Link</a> und einem <a href=\"#oben\">Sprung nach oben</a>.</p>\r\n"
            "<!-- Kommentar mit <a href=\"nirgends.html\"> -->\r\n";
  }
  html += "<a href=\"" + PageName((page + 1) % kPages) +
          "#f3\">weiter</a>\r\n</main>\r\n</body>\r\n</html>\r\n";
  return html;
}

double MedianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The sites measured: name → files.
struct BenchSite {
  const char* name;
  std::vector<std::pair<std::string, std::string>> files;
};

BenchSite LargeSite() {
  BenchSite site{"100 pages, 1000 pictures", {}};
  for (int page = 0; page < kPages; ++page) site.files.emplace_back(PageName(page), Page(page));
  for (int picture = 0; picture < kPages * kPicturesPerPage; ++picture) {
    // Every tenth is a camera photo too wide for the web.
    const std::uint32_t width = picture % 10 == 0 ? 4032 : 1600;
    site.files.emplace_back(PictureName(picture), test::JpegHeader(width, 1200, 8000));
  }
  site.files.emplace_back("style.css", "body{}");
  site.files.emplace_back("zoom.js", "");
  return site;
}

BenchSite HugePage() {
  std::string html;
  const std::string chunk =
      "<p id=x><a href=\"s.html#nirgends\">a</a><!-- <a href=gar-nicht.html> --></p>\r\n";
  while (html.size() < (20u << 20)) html += chunk;
  return {"a 20 MB page", {{"index.html", html}, {"s.html", "<a href=index.html>x</a>"}}};
}

BenchSite DeepPage() {
  std::string html;
  for (int i = 0; i < 100000; ++i) html += "<div>";
  html += "<a href=\"fehlt.html\">x</a>";
  for (int i = 0; i < 100000; ++i) html += "</div>";
  return {"100,000 nested tags", {{"index.html", html}}};
}

struct Figures {
  std::size_t bytes = 0;
  double check_ms = 0;
  double report_ms = 0;
  std::string counts;
};

// The check and its report, `runs` times, over files the caller provides.
template <typename MakeFiles, typename WriteReport>
Figures Measure(int runs, MakeFiles make_files, WriteReport write_report) {
  std::vector<double> check_ms;
  std::vector<double> report_ms;
  sitecheck::CheckResult result;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    decltype(auto) files = make_files();
    result = sitecheck::CheckSite(files);
    const auto checked = std::chrono::steady_clock::now();
    write_report(sitecheck::ReportHtml(result, {"Musterseite", "heute"}));
    const auto reported = std::chrono::steady_clock::now();
    check_ms.push_back(std::chrono::duration<double, std::milli>(checked - start).count());
    report_ms.push_back(std::chrono::duration<double, std::milli>(reported - checked).count());
  }
  return {0, MedianOf(check_ms), MedianOf(report_ms), sitecheck::CountsText(result)};
}

#ifdef _WIN32
// On disk: the site in a folder of its own, checked through the program's
// own file access, the report written as the program writes it.
Figures MeasureSite(const BenchSite& site, int runs) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "trellan-sitecheck-bench\\";
  test::RemoveTree(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "media").c_str(), nullptr);
  std::size_t bytes = 0;
  for (const auto& [path, content] : site.files) {
    std::string windows_path = path;
    std::replace(windows_path.begin(), windows_path.end(), '/', '\\');
    WriteWholeFile(folder + windows_path, {}, content);
    bytes += content.size();
  }
  Figures figures = Measure(
      runs, [&] { return DiskSiteFiles(folder); },
      [&](const std::string& report) {
        WriteWholeFile(folder + std::string(sitecheck::kReportFileName), {}, report);
      });
  test::RemoveTree(folder);
  figures.bytes = bytes;
  return figures;
}
#else
Figures MeasureSite(const BenchSite& site, int runs) {
  test::MemorySite memory;
  std::size_t bytes = 0;
  for (const auto& [path, content] : site.files) {
    memory.Add(path, content);
    bytes += content.size();
  }
  Figures figures = Measure(
      runs, [&]() -> test::MemorySite& { return memory; }, [](const std::string&) {});
  figures.bytes = bytes;
  return figures;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
#ifdef _WIN32
  std::printf("on disk, under Wine or Windows; medians of %d runs\n", runs);
#else
  std::printf("in memory; medians of %d runs\n", runs);
#endif
  std::printf("%-26s %10s %11s %12s  %s\n", "site", "bytes", "check (ms)", "report (ms)", "found");
  for (const BenchSite& site : {LargeSite(), HugePage(), DeepPage()}) {
    const Figures figures = MeasureSite(site, runs);
    std::printf("%-26s %10zu %11.2f %12.2f  %s\n", site.name, figures.bytes, figures.check_ms,
                figures.report_ms, figures.counts.c_str());
  }
  return 0;
}
