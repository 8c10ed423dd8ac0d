#include "sitecheck/site_url.h"

#include <algorithm>

#include "utils/ascii.h"
#include "utils/percent.h"

namespace trellan::sitecheck {

namespace {

bool IsStrippedAtEnds(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// The value as a browser's URL parser sees it before splitting it. A '\'
// is a '/' only in the path: the query and the fragment keep it.
std::string Cleaned(std::string_view value) {
  while (!value.empty() && IsStrippedAtEnds(value.front())) value.remove_prefix(1);
  while (!value.empty() && IsStrippedAtEnds(value.back())) value.remove_suffix(1);
  std::string out;
  out.reserve(value.size());
  bool in_path = true;
  for (const char c : value) {
    if (c == '\t' || c == '\n' || c == '\r') continue;
    if (c == '?' || c == '#') in_path = false;
    out.push_back(c == '\\' && in_path ? '/' : c);
  }
  return out;
}

// The scheme before ':' (letters, then letters, digits, '+', '-', '.'), or
// empty.
std::string_view SchemeOf(std::string_view url) {
  if (url.empty() || !IsAsciiAlpha(url[0])) return {};
  for (std::size_t i = 1; i < url.size(); ++i) {
    const char c = url[i];
    if (c == ':') return url.substr(0, i);
    if (!IsAsciiAlnum(c) && c != '+' && c != '-' && c != '.') return {};
  }
  return {};
}

ReferenceKind KindOfScheme(std::string_view scheme) {
  if (scheme.size() == 1) return ReferenceKind::OutsideSite;  // a drive letter
  const std::string lower = AsciiLower(scheme);
  if (lower == "http" || lower == "https" || lower == "mailto" || lower == "tel")
    return ReferenceKind::External;
  if (lower == "file") return ReferenceKind::OutsideSite;
  return ReferenceKind::Ignored;
}

// Adds the segments of `path` to `segments`, resolving "." and "..";
// false when ".." climbs above the site folder.
bool AppendSegments(std::vector<std::string>& segments, std::string_view path, bool& names_folder) {
  names_folder = false;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    std::string segment = PercentDecode(path.substr(start, end - start));
    const bool last = end == path.size();
    if (segment == "..") {
      if (segments.empty()) return false;
      segments.pop_back();
      names_folder = last;
    } else if (segment == "." || segment.empty()) {
      names_folder = last;
    } else {
      std::string kept;
      for (const char c : segment) {
        if (c == '/')
          kept += "%2F";
        else
          kept.push_back(c);
      }
      segments.push_back(std::move(kept));
      names_folder = false;
    }
    start = end + 1;
  }
  return true;
}

}  // namespace

Reference ResolveReference(std::string_view page_path, std::string_view value) {
  Reference reference;
  std::string_view trimmed = value;
  while (!trimmed.empty() && IsStrippedAtEnds(trimmed.front())) trimmed.remove_prefix(1);
  const bool network_path = trimmed.substr(0, 2) == "\\\\";
  const std::string url = Cleaned(value);
  if (url.empty()) return reference;
  if (network_path) {
    reference.kind = ReferenceKind::OutsideSite;
    return reference;
  }
  if (const auto scheme = SchemeOf(url); !scheme.empty()) {
    reference.kind = KindOfScheme(scheme);
    return reference;
  }
  if (url.substr(0, 2) == "//") {
    reference.kind = ReferenceKind::External;
    return reference;
  }

  std::string_view rest = url;
  if (const auto hash = rest.find('#'); hash != std::string_view::npos) {
    reference.has_fragment = true;
    reference.fragment = std::string(rest.substr(hash + 1));
    rest = rest.substr(0, hash);
  }
  if (const auto query = rest.find('?'); query != std::string_view::npos)
    rest = rest.substr(0, query);

  reference.kind = ReferenceKind::Local;
  if (rest.empty()) {
    reference.same_page = true;
    reference.path = std::string(page_path);
    return reference;
  }
  std::vector<std::string> segments;
  bool names_folder = false;
  if (rest.front() != '/') {
    // The page's folder as it is on disk: its names are not escaped.
    const auto slash = page_path.rfind('/');
    std::size_t start = 0;
    while (slash != std::string_view::npos && start < slash) {
      const std::size_t end = std::min(page_path.find('/', start), slash);
      if (end > start) segments.emplace_back(page_path.substr(start, end - start));
      start = end + 1;
    }
  } else {
    rest.remove_prefix(1);
  }
  if (!AppendSegments(segments, rest, names_folder)) {
    reference.kind = ReferenceKind::OutsideSite;
    return reference;
  }
  reference.names_folder = names_folder;
  for (const auto& segment : segments) {
    if (!reference.path.empty()) reference.path.push_back('/');
    reference.path += segment;
  }
  return reference;
}

std::vector<std::string_view> SrcsetUrls(std::string_view srcset) {
  std::vector<std::string_view> urls;
  std::size_t i = 0;
  while (i < srcset.size()) {
    while (i < srcset.size() && (IsHtmlSpace(srcset[i]) || srcset[i] == ',')) ++i;
    if (i >= srcset.size()) break;
    const std::size_t start = i;
    while (i < srcset.size() && !IsHtmlSpace(srcset[i])) ++i;
    std::string_view url = srcset.substr(start, i - start);
    // A URL that ends in commas ends its candidate; otherwise descriptors
    // follow up to a comma outside parentheses.
    if (url.back() == ',') {
      while (!url.empty() && url.back() == ',') url.remove_suffix(1);
    } else {
      bool in_parentheses = false;
      for (; i < srcset.size(); ++i) {
        const char c = srcset[i];
        if (c == '(')
          in_parentheses = true;
        else if (c == ')')
          in_parentheses = false;
        else if (c == ',' && !in_parentheses)
          break;
      }
    }
    if (!url.empty()) urls.push_back(url);
  }
  return urls;
}

}  // namespace trellan::sitecheck
