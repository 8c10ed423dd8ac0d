#pragma once
// The gallery on disk: the pictures of the site's media folder, and the
// list file that their figure blocks are written to.
#include <string>
#include <string_view>
#include <vector>

namespace trellan {

// The names (UTF-8) of the files that match the gallery's search patterns
// in "<site_folder>media\": all names of one pattern before those of the
// next, each pattern's in the order the directory search returns them.
// Folders are left out. The search runs on UTF-16, so that names outside
// the ANSI code page are found too. `site_folder` is ANSI, with its
// trailing backslash.
std::vector<std::string> FindGalleryPictures(const std::string& site_folder);

struct GalleryList {
  std::string path;      // the list file's full path, ANSI
  bool written = false;  // otherwise it keeps its previous bytes, or stays missing
};

// Creates the site folder when it is missing and replaces its list file
// whole with `snippet`; says where the list is and whether it was written.
GalleryList WriteGalleryList(const std::string& site_folder, std::string_view snippet);

}  // namespace trellan
