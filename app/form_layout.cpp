#include "app/form_layout.h"

#include "app/form_ids.h"

namespace trellan {

void SetFormEnabled(HWND dialog, bool enable) {
  static constexpr int kFormControls[] = {IDOK,     IDC_TITLE,   IDC_AUTHOR, IDC_KEYWORDS,
                                          IDC_MENU, IDC_CSSONLY, IDC_EXPLORE, IDC_NEW,
                                          IDC_LOAD, IDC_SAVE};
  for (int id : kFormControls) EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

}  // namespace trellan
