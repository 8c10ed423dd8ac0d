#include "mediatools/gallery.h"

#include "mediatools/gallery_text.h"

namespace trellan {

std::string GallerySnippet(const std::vector<std::string>& picture_names) {
  std::string snippet;
  for (const std::string& name : picture_names)
    if (!IsDerivedPictureName(name)) snippet += FigureBlock(name);
  return snippet;
}

}  // namespace trellan
