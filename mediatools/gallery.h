#pragma once
// The gallery snippet: what the list file _Bilder.txt holds for the
// pictures found in the site's media folder.
#include <string>
#include <vector>

namespace trellan {

// The figure blocks of the pictures, in the order of `picture_names`
// (UTF-8, as the directory search found them); thumbnails and web copies
// are left out. Empty when there is no picture.
std::string GallerySnippet(const std::vector<std::string>& picture_names);

}  // namespace trellan
