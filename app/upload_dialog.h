#pragma once
// The upload dialog: server, port, user name, password, folder on the
// server, TLS and whether the password is kept; "Hochladen" or
// "Abbrechen".
#include <windows.h>

#include "upload/upload_settings.h"

namespace trellan {

// Shows `form`; true with the learner's values in it after "Hochladen"
// (checked: host, port and user name make sense), false after "Abbrechen".
bool AskUploadForm(HWND owner, upload::UploadForm& form);

}  // namespace trellan
