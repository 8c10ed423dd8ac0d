#include "mediatools/gallery.h"

#include <shellapi.h>

#include <string>

#include "mediatools/gallery_text.h"
#include "system/handles.h"
#include "system/site_files.h"
#include "system/system.h"
#include "system/text_file_writer.h"

namespace trellan {

namespace {

// A found name as UTF-8; wchar_t is UTF-16 on this platform.
std::string NameOf(const WIN32_FIND_DATAW& found) {
  const std::wstring_view name(found.cFileName);
  return Utf16ToUtf8(std::u16string(name.begin(), name.end()));
}

// The figure blocks of the pictures that match one pattern, in the order
// the directory search returns them. The search runs on UTF-16 so that
// names outside the ANSI code page are found too.
void WritePatternBlocks(TextFileWriter& list, const std::string& pattern_path) {
  WIN32_FIND_DATAW found{};
  const FindHandle search(FindFirstFileW(AnsiToWide(pattern_path).c_str(), &found));
  if (!search) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string name = NameOf(found);
    if (IsDerivedPictureName(name)) continue;
    list.Write(FigureBlock(name));
  } while (FindNextFileW(search.get(), &found));
}

}  // namespace

void BuildGallerySnippet(HWND owner) {
  const std::string site_folder = SiteFolderPath();
  CreateDirectoryA(site_folder.c_str(), nullptr);  // an existing folder is fine
  const std::string list_path = site_folder + kGalleryListFile;

  TextFileWriter list(list_path);
  for (const char* pattern : kGallerySearchPatterns) WritePatternBlocks(list, site_folder + pattern);
  // A list that could not be written completely is not offered to the user.
  if (!list.Close()) return;

  IconMessageBox(owner, GalleryNoticeText(list_path).c_str(), kGalleryNoticeCaption, "i",
                 MB_USERICON);
  ShellExecuteA(owner, "open", "NOTEPAD", list_path.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace trellan
