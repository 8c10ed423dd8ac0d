#pragma once
// The system-menu command "Website prüfen": checks the site folder as it is
// on disk now, writes the report into it, opens the report and ends with a
// notice of the counts. It asks nothing.
#include <windows.h>

namespace trellan {

// Returns when the notice has closed.
void CheckSiteFolder(HWND dialog);

}  // namespace trellan
