#pragma once
// Paths and texts as the site check's stages and its report need them.
#include <cstdint>
#include <string>
#include <string_view>

namespace trellan::sitecheck {

// The last name of a '/'-separated path, and the folder before it (with
// its '/', empty in the site folder).
std::string_view BaseName(std::string_view path);
std::string_view FolderOf(std::string_view path);
// After the last '.' of the name, ASCII lower-case; empty without one.
std::string ExtensionOf(std::string_view path);

bool IsPagePath(std::string_view path);
bool IsAscii(std::string_view text);
bool IsPicturePath(std::string_view path);

// At most kMaxSubjectBytes, cut before a UTF-8 sequence, then "…".
std::string Truncated(std::string_view text);

// Runs of spaces and line breaks as one space, for texts shown in a line.
std::string OneLine(std::string_view text);

// "6,2 MB", or "47 KB" below a megabyte (rounded up, so never "0 KB").
std::string SizeText(std::uint64_t bytes);

}  // namespace trellan::sitecheck
