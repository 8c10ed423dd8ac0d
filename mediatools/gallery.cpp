#include "mediatools/gallery.h"

namespace trellan {

// Not built yet: the gallery builder comes with the media tools.
void BuildGallerySnippet(HWND) {}

}  // namespace trellan
