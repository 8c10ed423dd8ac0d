#include "system/gallery_files.h"

#include <windows.h>

#include "mediatools/gallery_text.h"
#include "system/handles.h"
#include "system/system.h"
#include "system/text_file_writer.h"

namespace trellan {

namespace {

void AppendFilesMatching(const std::string& pattern_path, std::vector<std::string>& names) {
  WIN32_FIND_DATAW found{};
  const FindHandle search(FindFirstFileW(AnsiToWide(pattern_path).c_str(), &found));
  if (!search) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names.push_back(WideToUtf8(found.cFileName));
  } while (FindNextFileW(search.get(), &found));
}

}  // namespace

std::vector<std::string> FindGalleryPictures(const std::string& site_folder) {
  std::vector<std::string> names;
  for (const char* pattern : kGallerySearchPatterns)
    AppendFilesMatching(site_folder + pattern, names);
  return names;
}

GalleryList WriteGalleryList(const std::string& site_folder, std::string_view snippet) {
  CreateDirectoryA(site_folder.c_str(), nullptr);  // an existing folder is fine
  GalleryList list;
  list.path = site_folder + kGalleryListFile;
  list.written = static_cast<bool>(WriteWholeFile(list.path, {}, snippet));
  return list;
}

}  // namespace trellan
