// libFuzzer target for the site check: the input is a small site. It is
// split into files at each "@@" that starts a line: the name follows up to
// the line's end, the content after it; what comes before the first "@@" is
// index.html. Besides the sanitizers, the promises of the tokenizer, the
// picture parser, the check and the report are checked; a broken one
// aborts.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sitecheck/html_tokenizer.h"
#include "sitecheck/picture_size.h"
#include "sitecheck/site_check.h"
#include "sitecheck/site_report.h"
#include "sitecheck/text_codec.h"
#include "tests/support/memory_site.h"

namespace {

using namespace trellan::sitecheck;

void Require(bool condition) {
  if (!condition) std::abort();
}

std::map<std::string, std::string> SplitIntoFiles(std::string_view input) {
  std::map<std::string, std::string> files;
  std::string name = "index.html";
  while (true) {
    std::size_t next = input.substr(0, 2) == "@@" ? 0 : input.find("\n@@");
    if (next != 0) {
      files.emplace(name, std::string(input.substr(0, next)));
      if (next == std::string_view::npos) break;
      ++next;
    }
    input.remove_prefix(next + 2);
    const std::size_t name_end = std::min(input.find('\n'), input.size());
    name = std::string(input.substr(0, name_end));
    input.remove_prefix(std::min(name_end + 1, input.size()));
    if (name.empty()) name = "leer";
  }
  return files;
}

void CheckTokenizer(std::string_view content) {
  const int lines = CountLines(content);
  HtmlTokenizer tokenizer(content);
  HtmlToken token;
  int last_line = 1;
  while (tokenizer.Next(token)) {
    Require(token.line >= last_line && token.line <= lines);
    Require(token.attributes.size() <= HtmlTokenizer::kMaxAttributes);
    Require(token.text.data() == nullptr ||
            (token.text.data() >= content.data() &&
             token.text.data() + token.text.size() <= content.data() + content.size()));
    last_line = token.line;
  }
}

void CheckPictureSize(trellan::test::MemorySite& site, const std::string& name) {
  const auto size = ReadPictureSize([&](std::uint64_t offset, std::size_t length) {
    return site.ReadRange(name, offset, length);
  });
  Require(!size || (size->width > 0 && size->height > 0));
}

void CheckResultAgainstSite(const CheckResult& result,
                            const std::map<std::string, std::string>& files) {
  std::map<std::string, const PageResult*> pages;
  std::size_t omitted = result.omitted_site_findings;
  std::vector<const PageResult*> checked_files;
  for (const auto& page : result.pages) checked_files.push_back(&page);
  for (const auto& sheet : result.stylesheets) checked_files.push_back(&sheet);
  for (const PageResult* file : checked_files) {
    const PageResult& page = *file;
    Require(files.contains(page.path));
    Require(!page.checked || page.lines == CountLines(files.at(page.path)));
    pages.emplace(page.path, &page);
    omitted += page.omitted_findings;
  }
  for (const auto& finding : result.findings) {
    Require(finding.severity == SeverityOf(finding.kind));
    Require(!finding.fix.empty());
    Require(finding.subject.size() <= kMaxSubjectBytes + 8);
    Require(finding.more_lines.size() <= kMaxListedLines);
    Require(finding.occurrences >= 1 + finding.more_lines.size());
    int last = finding.line;
    for (const int line : finding.more_lines) {
      Require(line > last);
      last = line;
    }
    if (finding.page.empty()) {
      Require(finding.line == 0);
      continue;
    }
    Require(pages.contains(finding.page));  // refers to an existing page
    const PageResult& page = *pages.at(finding.page);
    Require(finding.line >= 0 && last <= page.lines);
    Require(page.checked || finding.line == 0);
  }
  Require(result.errors + result.warnings + result.hints == result.findings.size() + omitted);
}

void CheckReport(const CheckResult& result) {
  const std::string report = ReportHtml(result, {"Ordner", "heute"});
  Require(ToCleanUtf8(report) == report);
  // Every '<' opens one of the report's own tags: nothing from the site
  // got through unescaped.
  static const std::set<std::string, std::less<>> kTags = {
      "html",   "head", "meta",  "title", "style", "body", "main", "h1", "h2", "p",  "br", "code",
      "strong", "span", "table", "thead", "tbody", "tr",   "th",   "td", "a",  "ul", "li"};
  for (auto at = report.find('<'); at != std::string::npos; at = report.find('<', at + 1)) {
    if (report.compare(at, 10, "<!DOCTYPE ") == 0) continue;
    std::size_t start = at + 1;
    if (start < report.size() && report[start] == '/') ++start;
    std::size_t end = start;
    while (end < report.size() && std::isalnum(static_cast<unsigned char>(report[end]))) ++end;
    Require(kTags.contains(std::string_view(report).substr(start, end - start)));
    Require(end < report.size() && (report[end] == '>' || report[end] == ' '));
  }
  Require(!CountsText(result).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto files = SplitIntoFiles(input);
  trellan::test::MemorySite site;
  for (const auto& [name, content] : files) site.Add(name, content);
  for (const auto& [name, content] : files) {
    CheckTokenizer(content);
    CheckPictureSize(site, name);
  }
  const CheckResult result = CheckSite(site);
  CheckResultAgainstSite(result, files);
  CheckReport(result);
  return 0;
}
