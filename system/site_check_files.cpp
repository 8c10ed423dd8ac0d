#include "system/site_check_files.h"

#include <windows.h>

#include "system/handles.h"
#include "system/system.h"

namespace trellan {

namespace {

// Listings stop at this depth: deeper folders come only from a loop the
// reparse-point rule missed or from a tree no site has.
constexpr std::size_t kMaxFolderDepth = 64;

// "\\?\" lifts the 260-character limit for paths below a drive's folder;
// learners nest folders deeply.
std::wstring WithLongPathPrefix(std::wstring path) {
  const bool drive_path = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
  return drive_path ? L"\\\\?\\" + path : path;
}

bool IsDotName(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

std::uint64_t SizeOf(const WIN32_FIND_DATAW& found) {
  return (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

FileHandle OpenForReading(const std::wstring& path) {
  return FileHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Reads up to `length` bytes from the handle's current position; fewer at
// the end of the file.
std::optional<std::string> ReadUpTo(HANDLE file, std::size_t length) {
  std::string bytes(length, '\0');
  std::size_t done = 0;
  while (done < length) {
    const std::size_t left = length - done;
    const DWORD chunk = left > 0x100000 ? 0x100000 : static_cast<DWORD>(left);
    DWORD read = 0;
    if (!::ReadFile(file, bytes.data() + done, chunk, &read, nullptr)) return std::nullopt;
    if (read == 0) break;
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace

DiskSiteFiles::DiskSiteFiles(std::string_view folder) : folder_(AnsiToWide(folder)) {
  if (folder_.empty() || folder_.back() != L'\\') folder_.push_back(L'\\');
  folder_ = WithLongPathPrefix(folder_);
}

std::vector<sitecheck::SiteEntry> DiskSiteFiles::ListEntries() {
  std::vector<sitecheck::SiteEntry> entries;
  listed_.clear();
  open_path_.clear();
  open_file_.reset();
  struct Pending {
    std::wstring wide;  // relative, '\'-separated, empty or ending with '\'
    std::string utf8;   // relative, '/'-separated, empty or ending with '/'
    std::size_t depth;
  };
  // A work list instead of recursion: the depth of a tree never decides the
  // depth of the stack.
  std::vector<Pending> folders{{L"", "", 0}};
  while (!folders.empty()) {
    const Pending folder = std::move(folders.back());
    folders.pop_back();
    WIN32_FIND_DATAW found{};
    const FindHandle search(FindFirstFileW((folder_ + folder.wide + L"*").c_str(), &found));
    if (!search) continue;
    do {
      if (IsDotName(found.cFileName)) continue;
      const std::wstring wide = folder.wide + found.cFileName;
      const std::string utf8 = folder.utf8 + WideToUtf8(found.cFileName);
      const bool is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      const bool linked = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      if (is_folder) {
        entries.push_back({utf8, true, 0});
        if (!linked && folder.depth + 1 < kMaxFolderDepth)
          folders.push_back({wide + L"\\", utf8 + "/", folder.depth + 1});
      } else if (!linked) {
        entries.push_back({utf8, false, SizeOf(found)});
        listed_.try_emplace(utf8, wide);
      }
    } while (FindNextFileW(search.get(), &found));
  }
  return entries;
}

std::wstring DiskSiteFiles::WidePathOf(std::string_view path) const {
  const auto it = listed_.find(std::string(path));
  return it == listed_.end() ? std::wstring() : folder_ + it->second;
}

std::optional<std::string> DiskSiteFiles::ReadFile(std::string_view path, std::size_t max_bytes) {
  const std::wstring wide = WidePathOf(path);
  if (wide.empty()) return std::nullopt;
  const FileHandle file = OpenForReading(wide);
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<std::uint64_t>(size.QuadPart) > max_bytes)
    return std::nullopt;
  return ReadUpTo(file.get(), static_cast<std::size_t>(size.QuadPart));
}

std::optional<std::string> DiskSiteFiles::ReadRange(std::string_view path, std::uint64_t offset,
                                                    std::size_t length) {
  if (!open_file_ || open_path_ != path) {
    const std::wstring wide = WidePathOf(path);
    if (wide.empty()) return std::nullopt;
    open_file_ = OpenForReading(wide);
    open_path_ = path;
  }
  if (!open_file_) return std::nullopt;
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(open_file_.get(), to, nullptr, FILE_BEGIN)) return std::nullopt;
  return ReadUpTo(open_file_.get(), length);
}

}  // namespace trellan
