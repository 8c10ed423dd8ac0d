#pragma once
// The dialog's form: its controls, reading them, and switching them while a
// run works.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "settings/form_settings.h"

namespace trellan {

// Buffer sizes, each including the terminating zero: a line field hands over
// at most 512 characters, the menu field at most 8191.
inline constexpr std::size_t kLineFieldCapacity = 513;
inline constexpr std::size_t kMenuFieldCapacity = 8192;

// The form is laid out in pixels for a client area of this size.
inline constexpr int kClientWidth = 400;
inline constexpr int kClientHeight = 460;

// Gives the dialog exactly that client area, centred on its screen. The
// template's size in dialog units only approximates it: the units follow
// the system font, whose width differs between systems (on some the form
// would be cut off at the right, on others padded).
void FitClientArea(HWND dialog, int width = kClientWidth, int height = kClientHeight);

// One child control of a dialog laid out in client pixels.
enum class Font { None, Label, Field };
struct FormControl {
  const char* window_class;
  const char* text;
  DWORD style;
  DWORD ex_style;
  int x, y, width, height;
  int id;
  Font font;
};
// Creates the controls in their order, which is the tab order.
void CreateControls(HWND dialog, const std::vector<FormControl>& controls);

// Styles the program's dialogs share.
inline constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
inline constexpr DWORD kPushButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER;
inline constexpr DWORD kLineFieldStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
inline constexpr DWORD kCheckBoxStyle =
    WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX;

// Creates the eighteen child controls in tab order and gives them their
// fonts. Positions are client pixels; they do not scale with the screen.
void CreateFormControls(HWND dialog);

// Enables or disables the form's fields, check boxes and buttons; "&Ende",
// the labels and the icon always stay usable.
void SetFormEnabled(HWND dialog, bool enable);

// The text of control `id`, cut to `capacity` - 1 characters.
std::string FieldText(HWND dialog, int id, std::size_t capacity);
bool IsBoxChecked(HWND dialog, int id);
void CheckBox(HWND dialog, int id, bool checked);

// The form as its controls hand it over: each field cut to its capacity, a
// box set exactly when it is checked.
FormSettings ReadFormFields(HWND dialog);
// Puts `form` into the controls: the four fields in the order title, author,
// keywords, menu, then the CSS-only and the Explorer box.
void ShowFormSettings(HWND dialog, const FormSettings& form);

}  // namespace trellan
