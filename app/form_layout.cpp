#include "app/form_layout.h"

#include <vector>

#include "app/form_ids.h"
#include "app/form_texts.h"

namespace trellan {

namespace {

constexpr DWORD kLabel = kLabelStyle;
constexpr DWORD kPushButton = kPushButtonStyle;
constexpr DWORD kLineField = kLineFieldStyle;
constexpr DWORD kCheckBox = kCheckBoxStyle;
constexpr DWORD kIcon = WS_CHILD | WS_VISIBLE | SS_ICON;
constexpr DWORD kMenuField = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                             ES_AUTOVSCROLL | ES_NOHIDESEL | ES_WANTRETURN;
static_assert(kLabel == 0x50020000 && kPushButton == 0x50010300 && kLineField == 0x50010080 &&
              kCheckBox == 0x50030003 && kIcon == 0x50000003 && kMenuField == 0x50211144);

// The intro label ends above the bottom row (y = 425): lying over "Alle
// Daten&felder:", "&Neu", "&Laden" and "&Sichern" it could paint over them.
// Its text needs about eight lines of the label font.
constexpr int kIntroHeight = 128;

// Creation order is tab order and the order in which mnemonics are found.
std::vector<FormControl> FormControls() {
  static const std::string intro = IntroText();  // lives as long as the program
  return {
      {"STATIC", intro.c_str(), kLabel, 0, 10, 292, 300, kIntroHeight, 0, Font::Label},
      {"STATIC", "i", kIcon, 0, 330, 295, 32, 32, IDC_ICON, Font::None},
      {"BUTTON", "&OK...", kPushButton, 0, 320, 355, 60, 60, IDOK, Font::Label},
      {"BUTTON", "&Ende", kPushButton, 0, 320, 425, 60, 20, IDCANCEL, Font::Label},
      {"STATIC", "Alle Daten&felder:", kLabel, 0, 10, 428, 120, 20, 0, Font::Label},
      {"BUTTON", "&Neu", kPushButton, 0, 110, 425, 60, 20, IDC_NEW, Font::Label},
      {"BUTTON", "&Laden", kPushButton, 0, 170, 425, 60, 20, IDC_LOAD, Font::Label},
      {"BUTTON", "&Sichern", kPushButton, 0, 230, 425, 60, 20, IDC_SAVE, Font::Label},
      {"STATIC", "&Titel:", kLabel, 0, 10, 7, 150, 20, 0, Font::Label},
      {"EDIT", kDefaultTitle, kLineField, WS_EX_CLIENTEDGE, 80, 5, 310, 20, IDC_TITLE, Font::Field},
      {"STATIC", "&Autor:", kLabel, 0, 10, 42, 150, 20, 0, Font::Label},
      {"EDIT", kDefaultAuthor, kLineField, WS_EX_CLIENTEDGE, 80, 40, 310, 20, IDC_AUTHOR,
       Font::Field},
      {"STATIC", "\"&Keywords\":", kLabel, 0, 10, 77, 150, 20, 0, Font::Label},
      {"EDIT", kDefaultKeywords, kLineField, WS_EX_CLIENTEDGE, 80, 75, 310, 20, IDC_KEYWORDS,
       Font::Field},
      {"STATIC",
       "&Men\xFCpunkte:\r\nEinen Men\xFCpunkt pro Zeile\r\neingeben  --->\r\n\r\n"
       "Vermeide lange Men\xFCpunkte\r\n(< 20 Buchstaben)",
       kLabel, 0, 10, 122, 150, 140, 0, Font::Label},
      {"EDIT", kDefaultMenu, kMenuField, WS_EX_CLIENTEDGE, 180, 120, 210, 160, IDC_MENU,
       Font::Field},
      {"BUTTON", "Nur STYLE.&CSS erstellen", kCheckBox, 0, 10, 212, 160, 20, IDC_CSSONLY,
       Font::Label},
      {"BUTTON",
       "Zielordner mit E&xplorer \xF6"
       "ffnen",
       kCheckBox, 0, 10, 242, 160, 20, IDC_EXPLORE, Font::Label},
  };
}

HGDIOBJ StockFontFor(Font font) {
  switch (font) {
    case Font::Label: return GetStockObject(ANSI_VAR_FONT);
    case Font::Field: return GetStockObject(DEFAULT_GUI_FONT);
    case Font::None: break;
  }
  return nullptr;
}

void CreateControl(HWND dialog, const RECT& client, const FormControl& entry) {
  const HWND control = CreateWindowExA(
      entry.ex_style, entry.window_class, entry.text, entry.style, client.left + entry.x,
      client.top + entry.y, entry.width, entry.height, dialog,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), GetModuleHandleA(nullptr), nullptr);
  // The form is not shown yet: no need to redraw for the font.
  if (const HGDIOBJ font = StockFontFor(entry.font); control && font)
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void CentreOnWorkArea(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT frame{};
  if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor) ||
      !GetWindowRect(window, &frame))
    return;
  const RECT& work = monitor.rcWork;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void FitClientArea(HWND dialog, int width, int height) {
  RECT client{};
  GetClientRect(dialog, &client);
  if (client.right - client.left == width && client.bottom - client.top == height) return;
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CentreOnWorkArea(dialog);
}

void CreateControls(HWND dialog, const std::vector<FormControl>& controls) {
  RECT client{};
  GetClientRect(dialog, &client);
  for (const FormControl& entry : controls) CreateControl(dialog, client, entry);
}

void CreateFormControls(HWND dialog) { CreateControls(dialog, FormControls()); }

void SetFormEnabled(HWND dialog, bool enable) {
  static constexpr int kFormControls[] = {IDOK,     IDC_TITLE,   IDC_AUTHOR,  IDC_KEYWORDS,
                                          IDC_MENU, IDC_CSSONLY, IDC_EXPLORE, IDC_NEW,
                                          IDC_LOAD, IDC_SAVE};
  for (int id : kFormControls) EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

std::string FieldText(HWND dialog, int id, std::size_t capacity) {
  if (capacity == 0) return {};
  std::string text(capacity, '\0');
  const UINT length = GetDlgItemTextA(dialog, id, text.data(), static_cast<int>(capacity));
  text.resize(length < capacity ? length : capacity - 1);
  return text;
}

bool IsBoxChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void CheckBox(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

FormSettings ReadFormFields(HWND dialog) {
  FormSettings form;
  form.title = FieldText(dialog, IDC_TITLE, kLineFieldCapacity);
  form.author = FieldText(dialog, IDC_AUTHOR, kLineFieldCapacity);
  form.keywords = FieldText(dialog, IDC_KEYWORDS, kLineFieldCapacity);
  form.menu_text = FieldText(dialog, IDC_MENU, kMenuFieldCapacity);
  form.css_only = IsBoxChecked(dialog, IDC_CSSONLY);
  form.open_folder = IsBoxChecked(dialog, IDC_EXPLORE);
  return form;
}

void ShowFormSettings(HWND dialog, const FormSettings& form) {
  SetDlgItemTextA(dialog, IDC_TITLE, form.title.c_str());
  SetDlgItemTextA(dialog, IDC_AUTHOR, form.author.c_str());
  SetDlgItemTextA(dialog, IDC_KEYWORDS, form.keywords.c_str());
  SetDlgItemTextA(dialog, IDC_MENU, form.menu_text.c_str());
  CheckBox(dialog, IDC_CSSONLY, form.css_only);
  CheckBox(dialog, IDC_EXPLORE, form.open_folder);
}

}  // namespace trellan
