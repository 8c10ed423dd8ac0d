// Times the site check over an in-memory site of 100 pages (each with the
// full menu, ten pictures, text and external links, about the size of the
// generated sample pages) and 1,000 JPEG pictures behind EXIF segments, and
// the writing of its report. Prints the medians.
//   sitecheck_bench [runs]
// Build it without the sanitizers (-DTRELLAN_SANITIZE=OFF) for figures
// that mean something.
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

namespace {

using namespace trellan;

constexpr int kPages = 100;
constexpr int kPicturesPerPage = 10;

std::string PageName(int page) { return page == 0 ? "index.html" : "s" + std::to_string(page) + ".html"; }

std::string PictureName(int picture) { return "media/bild" + std::to_string(picture) + ".jpg"; }

std::string Page(int page) {
  std::string html =
      "\xEF\xBB\xBF<!DOCTYPE html>\r\n<html lang=\"de\">\r\n<head>\r\n<meta charset=utf-8>\r\n"
      "<meta name=\"author\" content=\"Lena Muster\">\r\n<link rel=\"stylesheet\" href=\"style.css\">\r\n"
      "<script defer src=\"zoom.js\"></script>\r\n<title>Unsere Klasse: Seite " +
      std::to_string(page) + "</title>\r\n</head>\r\n<body>\r\n<nav>\r\n<ul class=\"menu\">\r\n";
  for (int i = 0; i < kPages; ++i)
    html += "  <li><a href=\"" + PageName(i) + "\">Seite " + std::to_string(i) + "</a></li>\r\n";
  html += "</ul>\r\n</nav>\r\n<main>\r\n<h1 id=\"oben\">Seite " + std::to_string(page) + "</h1>\r\n";
  for (int i = 0; i < kPicturesPerPage; ++i) {
    const int picture = page * kPicturesPerPage + i;
    html += "<figure id=\"f" + std::to_string(i) + "\">\r\n  <img class=\"bild zoom\" src=\"" +
            PictureName(picture) + "\" alt=\"Bild " + std::to_string(picture) +
            "\">\r\n  <figcaption>Bildlegende &amp; mehr &hellip;</figcaption>\r\n</figure>\r\n"
            "<p>Hier kommt der Inhalt der Seite mit einem <a href=\"https://example.org/" +
            std::to_string(i) + "\">Link</a> und einem <a href=\"#oben\">Sprung nach oben</a>.</p>\r\n"
            "<!-- Kommentar mit <a href=\"nirgends.html\"> -->\r\n";
  }
  html += "<a href=\"" + PageName((page + 1) % kPages) + "#f3\">weiter</a>\r\n</main>\r\n</body>\r\n</html>\r\n";
  return html;
}

double MedianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  test::MemorySite site;
  std::size_t html_bytes = 0;
  for (int page = 0; page < kPages; ++page) {
    const std::string html = Page(page);
    html_bytes += html.size();
    site.Add(PageName(page), html);
  }
  for (int picture = 0; picture < kPages * kPicturesPerPage; ++picture) {
    // Every tenth is a camera photo too wide for the web.
    const std::uint32_t width = picture % 10 == 0 ? 4032 : 1600;
    site.Add(PictureName(picture), test::JpegHeader(width, 1200, 8000));
  }
  site.Add("style.css", "body{}");
  site.Add("zoom.js", "");

  std::vector<double> check_ms;
  std::vector<double> report_ms;
  trellan::sitecheck::CheckResult result;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    result = trellan::sitecheck::CheckSite(site);
    const auto checked = std::chrono::steady_clock::now();
    const std::string report = trellan::sitecheck::ReportHtml(result, {"Musterseite", "heute"});
    const auto reported = std::chrono::steady_clock::now();
    check_ms.push_back(std::chrono::duration<double, std::milli>(checked - start).count());
    report_ms.push_back(std::chrono::duration<double, std::milli>(reported - checked).count());
  }
  std::printf("pages  pictures  html bytes  findings  check (ms)  report (ms)  runs\n");
  std::printf("%5d  %8d  %10zu  %8zu  %10.2f  %11.2f  %4d\n", kPages, kPages * kPicturesPerPage,
              html_bytes, result.findings.size(), MedianOf(check_ms), MedianOf(report_ms), runs);
  std::printf("(%s)\n", trellan::sitecheck::CountsText(result).c_str());
  return 0;
}
