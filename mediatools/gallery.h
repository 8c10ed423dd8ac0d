#pragma once
// The gallery snippet builder: one figure block per picture of the site's
// media folder, written to _Bilder.txt and opened in Notepad.
#include <windows.h>

namespace trellan {

void BuildGallerySnippet(HWND owner);

}  // namespace trellan
