#pragma once
// The dialog's form: its controls and switching them while a run works.
#include <windows.h>

namespace trellan {

// Enables or disables the form's fields, check boxes and buttons; "&Ende",
// the labels and the icon always stay usable.
void SetFormEnabled(HWND dialog, bool enable);

}  // namespace trellan
