#include "sitecheck/check_text.h"

#include <algorithm>

#include "sitecheck/check_rules.h"
#include "utils/ascii.h"
#include "utils/utf8.h"

namespace trellan::sitecheck {

std::string_view BaseName(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view FolderOf(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string ExtensionOf(std::string_view path) {
  const std::string_view name = BaseName(path);
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : AsciiLower(name.substr(dot + 1));
}

bool IsPagePath(std::string_view path) {
  const std::string extension = ExtensionOf(path);
  return extension == "html" || extension == "htm";
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsPicturePath(std::string_view path) { return IsOneOf(ExtensionOf(path), kPictureExtensions); }

std::string Truncated(std::string_view text) {
  if (text.size() <= kMaxSubjectBytes) return std::string(text);
  return std::string(CutUtf8(text, kMaxSubjectBytes)) + "…";
}

std::string OneLine(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (IsHtmlSpace(c)) {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// Integer arithmetic: formatting a double would bring a whole printf
// implementation into the program.
std::string SizeText(std::uint64_t bytes) {
  constexpr std::uint64_t kKilobyte = 1024;
  constexpr std::uint64_t kMegabyte = kKilobyte * kKilobyte;
  if (bytes < kMegabyte) return std::to_string((bytes + kKilobyte - 1) / kKilobyte) + " KB";
  const std::uint64_t tenths =
      bytes / kMegabyte * 10 + ((bytes % kMegabyte) * 10 + kMegabyte / 2) / kMegabyte;
  return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " MB";
}

}  // namespace trellan::sitecheck
