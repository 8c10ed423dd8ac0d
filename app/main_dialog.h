#pragma once
// The MainDialog: the program's one window, run modally until it ends.
#include <windows.h>

namespace trellan {

// Runs the dialog until "&Ende", Escape or the close box ends it.
void RunMainDialog();

// The same dialog without a modal loop of its own, for a host that runs the
// messages itself (the dialog's tests, in their own process). Its "&Ende"
// only hides it; the host destroys it.
HWND CreateMainDialog();

}  // namespace trellan
