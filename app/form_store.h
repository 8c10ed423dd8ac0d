#pragma once
// The form values stored between runs, under HKEY_CURRENT_USER\<kSettingsKey>.
// Nothing is stored automatically: only "&Sichern" saves the form.
#include <windows.h>

namespace trellan {

// The built-in defaults into the form ("&Neu"); the registry is not touched.
void ResetForm(HWND dialog);
// The stored values into the form ("&Laden", and when the dialog opens). A
// missing value, or one whose first character is a space or a control
// character, loads as its default.
void LoadForm(HWND dialog);
// The form into the registry ("&Sichern").
void SaveForm(HWND dialog);

}  // namespace trellan
