#pragma once
// The system-menu command "Website hochladen": asks for the server in the
// upload dialog, sends the site's new and changed files on a worker thread
// while a progress window shows how far it is (holding Shift when the
// command is chosen sends every file), asks about an unknown certificate
// or a server without TLS, and ends with a notice of what was uploaded,
// unchanged and failed.
#include <windows.h>

namespace trellan {

// Returns when the notice has closed.
void UploadSiteFolder(HWND dialog);

}  // namespace trellan
