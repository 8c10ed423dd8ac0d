#include "tests/support/dialog_host.h"

#include "app/form_ids.h"
#include "app/main_dialog.h"

namespace trellan::test {

DialogHost::DialogHost() : dialog_(CreateMainDialog()) {}

DialogHost::~DialogHost() {
  if (dialog_) DestroyWindow(dialog_);
}

void DialogHost::Click(int id) const { SendDlgItemMessageA(dialog_, id, BM_CLICK, 0, 0); }

std::string DialogHost::Text(int id) const {
  const HWND control = GetDlgItem(dialog_, id);
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

void DialogHost::SetText(int id, const std::string& text) const {
  SetDlgItemTextA(dialog_, id, text.c_str());
}

bool DialogHost::IsChecked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

bool DialogHost::IsEnabled(int id) const { return IsWindowEnabled(GetDlgItem(dialog_, id)) != 0; }

bool DialogHost::FormIs(bool enabled) const {
  for (int id : {IDOK, IDC_TITLE, IDC_AUTHOR, IDC_KEYWORDS, IDC_MENU, IDC_CSSONLY, IDC_EXPLORE,
                 IDC_NEW, IDC_LOAD, IDC_SAVE})
    if (IsEnabled(id) != enabled) return false;
  return true;
}

}  // namespace trellan::test
