// Runs the site check over a real folder (read through std::filesystem,
// never written) and prints every finding; with a second argument it also
// writes the report there, e.g. for the HTML checker.
//   check_site_folder <site folder> [report.html]
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "sitecheck/site_check.h"
#include "sitecheck/site_report.h"

namespace {

namespace fs = std::filesystem;
using namespace trellan::sitecheck;

std::string Utf8Of(const fs::path& path) {
  const auto text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

class FolderSite : public SiteFiles {
 public:
  explicit FolderSite(fs::path root) : root_(std::move(root)) {}

  // Like the program, it never fails on what a folder holds: a link that
  // leads nowhere, a socket or an unreadable folder is left out; linked
  // folders are listed but not entered.
  std::vector<SiteEntry> ListEntries() override {
    std::vector<SiteEntry> entries;
    std::error_code error;
    fs::recursive_directory_iterator item(root_, fs::directory_options::skip_permission_denied,
                                          error);
    for (; !error && item != fs::recursive_directory_iterator(); item.increment(error)) {
      std::error_code status_error;
      const fs::file_status status = item->status(status_error);
      const bool folder = fs::is_directory(status);
      const auto size = folder ? 0 : item->file_size(status_error);
      if (status_error || !(folder || fs::is_regular_file(status))) continue;
      entries.push_back({Utf8Of(item->path().lexically_relative(root_)), folder,
                         static_cast<std::uint64_t>(size)});
    }
    return entries;
  }

  std::optional<std::string> ReadFile(std::string_view path, std::size_t max_bytes) override {
    std::ifstream in(Full(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (content.str().size() > max_bytes) return std::nullopt;
    return content.str();
  }

  std::optional<std::string> ReadRange(std::string_view path, std::uint64_t offset,
                                       std::size_t length) override {
    std::ifstream in(Full(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::string piece(length, '\0');
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(piece.data(), static_cast<std::streamsize>(length));
    piece.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return piece;
  }

 private:
  fs::path Full(std::string_view path) const {
    return root_ / fs::path(std::u8string(path.begin(), path.end()));
  }

  fs::path root_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !fs::is_directory(argv[1])) {
    std::fprintf(stderr, "usage: check_site_folder <site folder> [report.html]\n");
    return 2;
  }
  FolderSite site(argv[1]);
  const CheckResult result = CheckSite(site);
  for (const auto& finding : result.findings) {
    std::cout << SeverityName(finding.severity) << "\t"
              << (finding.page.empty() ? "-" : finding.page) << ":" << finding.line;
    for (const int line : finding.more_lines) std::cout << "," << line;
    std::cout << "\t" << KindTitle(finding.kind) << "\t" << finding.subject << "\n";
  }
  std::cout << CountsText(result) << "; " << result.pages.size() << " pages, " << result.files
            << " files, " << result.folders << " folders\n";
  for (const auto& page : result.pages)
    std::cout << "  " << page.path << ": " << page.lines << " lines, " << page.external_links
              << " external links\n";
  if (argc > 2) {
    std::ofstream out(argv[2], std::ios::binary);
    out << ReportHtml(result, {argv[1], "heute"});
    if (!out) return 1;
  }
  return 0;
}
