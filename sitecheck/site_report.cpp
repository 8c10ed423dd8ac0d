#include "sitecheck/site_report.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "sitecheck/check_rules.h"
#include "sitecheck/text_codec.h"
#include "utils/percent.h"

namespace trellan::sitecheck {

namespace {

constexpr std::string_view kStyle =
    "body{font-family:system-ui,\"Segoe UI\",Arial,sans-serif;line-height:1.4;color:#222;"
    "max-width:64em;margin:1.5em auto;padding:0 1em}"
    "h1{font-size:1.6em}"
    "h2{font-size:1.2em;margin-top:1.8em;border-bottom:1px solid #999}"
    "table{border-collapse:collapse;width:100%;table-layout:fixed}"
    "th:nth-child(1),th:nth-child(2){width:5.5em}"
    "th:nth-child(3){width:38%}"
    "th,td{border:1px solid #bbb;padding:.3em .5em;text-align:left;vertical-align:top}"
    "th{background:#eee}"
    "tr{break-inside:avoid}"
    "code{font-family:Consolas,monospace;overflow-wrap:anywhere}"
    ".fehler{color:#a00000;font-weight:bold}"
    ".warnung{color:#8a5a00;font-weight:bold}"
    ".hinweis{color:#00529b}"
    "@media print{body{margin:0;max-width:none}a{color:inherit}}";

// Site text as HTML text or attribute content.
std::string Escaped(std::string_view text) {
  const std::string clean = ToCleanUtf8(text);
  std::string out;
  out.reserve(clean.size());
  for (std::size_t i = 0; i < clean.size();) {
    const std::size_t special = std::min(clean.find_first_of("&<>\"'", i), clean.size());
    out.append(clean, i, special - i);
    if (special == clean.size()) break;
    switch (clean[special]) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += "&#39;"; break;
    }
    i = special + 1;
  }
  return out;
}

// A page's path as a link from the report, which lies in the site folder.
std::string PageHref(std::string_view path) { return PercentEncode(path, "-_.~/"); }

std::string Count(std::size_t number, std::string_view one, std::string_view many) {
  return std::to_string(number) + " " + std::string(number == 1 ? one : many);
}

std::string LineCell(const Finding& finding) {
  if (finding.line == 0) return "–";
  std::string cell = std::to_string(finding.line);
  if (finding.more_lines.empty()) return cell;
  cell += "<br>auch ";
  for (std::size_t i = 0; i < finding.more_lines.size(); ++i) {
    if (i > 0) cell += ", ";
    cell += std::to_string(finding.more_lines[i]);
  }
  if (finding.occurrences > 1 + finding.more_lines.size())
    cell += " … (" + std::to_string(finding.occurrences) + "-mal)";
  return cell;
}

void AppendFindingRow(std::string& out, const Finding& finding) {
  const std::string_view css = RowOf(finding.severity).css_class;
  out += "<tr><td>" + LineCell(finding) + "</td>";
  out += "<td class=\"" + std::string(css) + "\">" + std::string(SeverityName(finding.severity)) +
         "</td>";
  out += "<td><strong>" + std::string(KindTitle(finding.kind)) + "</strong>";
  if (!finding.subject.empty()) out += "<br><code>" + Escaped(finding.subject) + "</code>";
  out += "</td><td>" + Escaped(finding.fix) + "</td></tr>\n";
}

void AppendTable(std::string& out, const std::vector<const Finding*>& findings) {
  out +=
      "<table>\n<thead><tr><th>Zeile</th><th>Art</th><th>Befund</th><th>So behebst du es</th>"
      "</tr></thead>\n<tbody>\n";
  for (const Finding* finding : findings) AppendFindingRow(out, *finding);
  out += "</tbody>\n</table>\n";
}

void AppendOmitted(std::string& out, std::size_t omitted) {
  if (omitted == 0) return;
  out += "<p>" + Count(omitted, "weiterer Befund", "weitere Befunde") +
         " hier nicht aufgeführt: Behebe zuerst die obigen und prüfe dann noch einmal.</p>\n";
}

// A page's or stylesheet's findings under its name; false when it has
// none.
bool AppendFileFindings(std::string& out, const PageResult& file,
                        const std::vector<const Finding*>& findings) {
  if (findings.empty() && file.omitted_findings == 0) return false;
  out += "<h2><a href=\"" + PageHref(file.path) + "\">" + Escaped(file.path) + "</a></h2>\n";
  if (file.external_links > 0)
    out += "<p>" + Count(file.external_links, "externer Link", "externe Links") +
           " (nicht geprüft).</p>\n";
  AppendTable(out, findings);
  AppendOmitted(out, file.omitted_findings);
  return true;
}

// The findings of each page (the site's own under "").
std::unordered_map<std::string_view, std::vector<const Finding*>> FindingsByPage(
    const CheckResult& result) {
  std::unordered_map<std::string_view, std::vector<const Finding*>> by_page;
  for (const auto& finding : result.findings) by_page[finding.page].push_back(&finding);
  return by_page;
}

}  // namespace

std::string_view SeverityName(Severity severity) { return RowOf(severity).name; }

std::string_view KindTitle(FindingKind kind) { return RowOf(kind).title; }

std::string CountsText(const CheckResult& result) {
  const std::size_t counts[] = {result.errors, result.warnings, result.hints};
  std::string text;
  for (const SeverityRow& row : Severities()) {
    if (!text.empty()) text += ", ";
    text += Count(counts[static_cast<std::size_t>(row.severity)], row.name, row.plural);
  }
  return text;
}

std::string CheckedNoticeText(const CheckResult& result) {
  return "Website gepr\xFC"
         "ft: " +
         CountsText(result) + ".\r\n\r\nDer Bericht \xAB" + std::string(kReportFileName) +
         "\xBB im Website-Ordner zeigt, was wo zu tun ist.";
}

std::string NoSiteNoticeText(std::string_view folder, bool folder_exists) {
  std::string text = folder_exists ? "Im Ordner\r\n\xAB" : "Der Ordner\r\n\xAB";
  text += folder;
  text += folder_exists ? "\xBB\r\nfehlt die Startseite index.html." : "\xBB\r\nfehlt.";
  text +=
      "\r\n\r\nErstelle die Website zuerst mit \"OK...\", dann kann sie gepr\xFC"
      "ft werden.";
  return text;
}

std::string ReportFailedNoticeText(std::string_view report_path) {
  std::string text =
      "Der Pr\xFC"
      "fbericht konnte nicht geschrieben werden:\r\n\r\n";
  text += report_path;
  text +=
      "\r\n\r\nVielleicht ist er schreibgesch\xFCtzt oder in einem anderen Programm ge\xF6"
      "ffnet.";
  return text;
}

std::string ReportHtml(const CheckResult& result, const ReportInfo& info) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>Prüfbericht der Website</title>\n<style>";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n<main>\n<h1>Prüfbericht der Website</h1>\n";
  out += "<p>Ordner: <code>" + Escaped(info.site_folder) +
         "</code><br>\nGeprüft: " + Escaped(info.checked_at) + "</p>\n";
  std::size_t external_links = 0;
  for (const auto& page : result.pages) external_links += page.external_links;
  out += "<p><strong>" + Escaped(CountsText(result)) + "</strong> in " +
         Count(result.pages.size(), "Seite", "Seiten") + " und " +
         Count(result.files, "Datei", "Dateien") + "; " +
         Count(external_links, "externer Link", "externe Links") +
         " gezählt, nicht aufgerufen.</p>\n";
  out += "<p>";
  for (const SeverityRow& row : Severities()) {
    out += "<span class=\"" + std::string(row.css_class) + "\">" + std::string(row.name) +
           "</span>: " + std::string(row.meaning) + " ";
  }
  out += "Die Zeilen sind die der Seite im Editor. Die Prüfung hat nichts verändert.</p>\n";

  auto by_page = FindingsByPage(result);
  const auto& site_findings = by_page[""];
  if (!site_findings.empty() || result.omitted_site_findings > 0) {
    out += "<h2>Ganze Website</h2>\n";
    AppendTable(out, site_findings);
    AppendOmitted(out, result.omitted_site_findings);
  }
  std::vector<const PageResult*> clean_pages;
  for (const auto& page : result.pages) {
    if (!AppendFileFindings(out, page, by_page[page.path])) clean_pages.push_back(&page);
  }
  // Stylesheets appear only with findings: the pages list is about pages.
  for (const auto& sheet : result.stylesheets) AppendFileFindings(out, sheet, by_page[sheet.path]);
  if (!clean_pages.empty()) {
    out += "<h2>Seiten ohne Befund</h2>\n<ul>\n";
    for (const PageResult* page : clean_pages) {
      out += "<li><a href=\"" + PageHref(page->path) + "\">" + Escaped(page->path) + "</a>";
      if (page->external_links > 0)
        out += " (" + Count(page->external_links, "externer Link", "externe Links") + ")";
      out += "</li>\n";
    }
    out += "</ul>\n";
  }
  out += "</main>\n</body>\n</html>\n";
  return out;
}

}  // namespace trellan::sitecheck
