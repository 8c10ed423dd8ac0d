#pragma once
// The MainDialog: the program's one window, run modally until it ends.
#include <windows.h>

namespace trellan {

// Runs the dialog until "&Ende", Escape or the close box ends it.
void RunMainDialog();

}  // namespace trellan
