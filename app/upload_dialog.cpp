#include "app/upload_dialog.h"

#include <utility>
#include <vector>

#include "app/dialog_template.h"
#include "app/form_ids.h"
#include "app/form_layout.h"
#include "upload/upload_texts.h"

namespace trellan {

namespace {

using upload::UploadForm;

constexpr int kWidth = 380;
constexpr int kHeight = 258;
constexpr DWORD kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_3DLOOK;
constexpr DWORD kPasswordStyle = kLineFieldStyle | ES_PASSWORD;
constexpr DWORD kPortStyle = kLineFieldStyle | ES_NUMBER;
constexpr DWORD kDefaultButtonStyle = (kPushButtonStyle & ~BS_PUSHBUTTON) | BS_DEFPUSHBUTTON;
constexpr DWORD kHintStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;

std::vector<FormControl> UploadControls() {
  constexpr int kField = 145;
  return {
      {"STATIC", "&Server:", kLabelStyle, 0, 10, 13, 130, 20, 0, Font::Label},
      {"EDIT", "", kLineFieldStyle, WS_EX_CLIENTEDGE, kField, 10, 150, 22, IDC_UPLOAD_HOST,
       Font::Field},
      {"STATIC", "P&ort:", kLabelStyle, 0, 302, 13, 32, 20, 0, Font::Label},
      {"EDIT", "", kPortStyle, WS_EX_CLIENTEDGE, 335, 10, 35, 22, IDC_UPLOAD_PORT, Font::Field},
      {"STATIC", "&Benutzername:", kLabelStyle, 0, 10, 43, 130, 20, 0, Font::Label},
      {"EDIT", "", kLineFieldStyle, WS_EX_CLIENTEDGE, kField, 40, 225, 22, IDC_UPLOAD_USER,
       Font::Field},
      {"STATIC", "Pass&wort:", kLabelStyle, 0, 10, 73, 130, 20, 0, Font::Label},
      {"EDIT", "", kPasswordStyle, WS_EX_CLIENTEDGE, kField, 70, 225, 22, IDC_UPLOAD_PASSWORD,
       Font::Field},
      {"STATIC", "O&rdner auf dem Server:", kLabelStyle, 0, 10, 103, 130, 20, 0, Font::Label},
      {"EDIT", "", kLineFieldStyle, WS_EX_CLIENTEDGE, kField, 100, 225, 22, IDC_UPLOAD_FOLDER,
       Font::Field},
      {"BUTTON", upload::kTlsBoxText, kCheckBoxStyle, 0, kField, 132, 225, 20, IDC_UPLOAD_TLS,
       Font::Label},
      {"BUTTON", upload::kRememberBoxText, kCheckBoxStyle, 0, kField, 156, 225, 20,
       IDC_UPLOAD_REMEMBER, Font::Label},
      {"STATIC", upload::kSendAllHint, kHintStyle, 0, 10, 186, 360, 30, 0, Font::Label},
      {"BUTTON", upload::kUploadButtonText, kDefaultButtonStyle, 0, 190, 224, 85, 24, IDOK,
       Font::Label},
      {"BUTTON", upload::kCancelButtonText, kPushButtonStyle, 0, 285, 224, 85, 24, IDCANCEL,
       Font::Label},
  };
}

void ShowForm(HWND dialog, const UploadForm& form) {
  SetDlgItemTextA(dialog, IDC_UPLOAD_HOST, form.host.c_str());
  SetDlgItemTextA(dialog, IDC_UPLOAD_PORT, form.port.c_str());
  SetDlgItemTextA(dialog, IDC_UPLOAD_USER, form.user.c_str());
  SetDlgItemTextA(dialog, IDC_UPLOAD_PASSWORD, form.password.c_str());
  SetDlgItemTextA(dialog, IDC_UPLOAD_FOLDER, form.folder.c_str());
  CheckBox(dialog, IDC_UPLOAD_TLS, form.tls);
  CheckBox(dialog, IDC_UPLOAD_REMEMBER, form.remember_password);
  for (const auto& [id, capacity] : {std::pair{IDC_UPLOAD_HOST, upload::kHostCapacity},
                                     {IDC_UPLOAD_PORT, upload::kPortCapacity},
                                     {IDC_UPLOAD_USER, upload::kUserCapacity},
                                     {IDC_UPLOAD_PASSWORD, upload::kPasswordCapacity},
                                     {IDC_UPLOAD_FOLDER, upload::kFolderCapacity}})
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, capacity - 1, 0);
}

UploadForm ReadForm(HWND dialog) {
  UploadForm form;
  form.host = FieldText(dialog, IDC_UPLOAD_HOST, upload::kHostCapacity);
  form.port = FieldText(dialog, IDC_UPLOAD_PORT, upload::kPortCapacity);
  form.user = FieldText(dialog, IDC_UPLOAD_USER, upload::kUserCapacity);
  form.password = FieldText(dialog, IDC_UPLOAD_PASSWORD, upload::kPasswordCapacity);
  form.folder = FieldText(dialog, IDC_UPLOAD_FOLDER, upload::kFolderCapacity);
  form.tls = IsBoxChecked(dialog, IDC_UPLOAD_TLS);
  form.remember_password = IsBoxChecked(dialog, IDC_UPLOAD_REMEMBER);
  return form;
}

// The field to fix for a problem.
int FieldOf(upload::FormProblem problem) {
  switch (problem) {
    case upload::FormProblem::BadPort: return IDC_UPLOAD_PORT;
    case upload::FormProblem::NoUser: return IDC_UPLOAD_USER;
    default: return IDC_UPLOAD_HOST;
  }
}

// The first field still empty gets the focus, so that a learner who comes
// back types only the password.
void FocusFirstEmpty(HWND dialog) {
  for (const int id : {IDC_UPLOAD_HOST, IDC_UPLOAD_USER, IDC_UPLOAD_PASSWORD})
    if (GetWindowTextLengthA(GetDlgItem(dialog, id)) == 0) {
      SetFocus(GetDlgItem(dialog, id));
      return;
    }
  SetFocus(GetDlgItem(dialog, IDOK));
}

void OnOk(HWND dialog) {
  UploadForm* form = reinterpret_cast<UploadForm*>(GetWindowLongPtrA(dialog, DWLP_USER));
  UploadForm read = ReadForm(dialog);
  if (const upload::FormProblem problem = upload::CheckUploadForm(read);
      problem != upload::FormProblem::None) {
    MessageBoxA(dialog, upload::FormProblemText(problem).c_str(), upload::kUploadCaption,
                MB_OK | MB_ICONWARNING);
    SetFocus(GetDlgItem(dialog, FieldOf(problem)));
    return;
  }
  *form = std::move(read);
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK UploadDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lparam);
      FitClientArea(dialog, kWidth, kHeight);
      CreateControls(dialog, UploadControls());
      SetWindowTextA(dialog, upload::kUploadCaption);
      ShowForm(dialog, *reinterpret_cast<const UploadForm*>(lparam));
      FocusFirstEmpty(dialog);
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) OnOk(dialog);
      if (LOWORD(wparam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

bool AskUploadForm(HWND owner, UploadForm& form) {
  DialogTemplate dialog{};
  dialog.header.style = kDialogStyle;
  dialog.header.cx = 190;  // FitClientArea gives the exact size
  dialog.header.cy = 130;
  return DialogBoxIndirectParamA(nullptr, &dialog.header, owner, &UploadDialogProc,
                                 reinterpret_cast<LPARAM>(&form)) == IDOK;
}

}  // namespace trellan
