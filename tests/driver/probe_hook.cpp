// The probe DLL: loaded into the program's UI thread by the driver's
// WH_GETMESSAGE hook, it answers the driver's questions about things that
// cannot be read from another process.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/driver/probe_protocol.h"

namespace {

using trellan::driver::ProbeKind;

std::string Hex(const void* handle) {
  char text[24];
  std::snprintf(text, sizeof text, "%lx",
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(handle)));
  return text;
}

std::string FontName(HWND control) {
  const auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
  if (!font) return "none";
  if (font == GetStockObject(ANSI_VAR_FONT)) return "ANSI_VAR_FONT";
  if (font == GetStockObject(DEFAULT_GUI_FONT)) return "DEFAULT_GUI_FONT";
  return "other";
}

// The height a label's text needs when wrapped to the label's width, drawn
// the way a left-aligned static control draws it.
int TextHeight(HWND control) {
  char class_name[16] = {};
  GetClassNameA(control, class_name, sizeof class_name);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (lstrcmpiA(class_name, "STATIC") != 0 || (style & SS_TYPEMASK) != SS_LEFT) return 0;
  char text[4096] = {};
  GetWindowTextA(control, text, sizeof text);
  RECT area{};
  GetClientRect(control, &area);
  const HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
  DrawTextA(dc, text, -1, &area, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return area.bottom - area.top;
}

std::string DescribeControls(HWND dialog) {
  std::string reply;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    reply += Hex(child) + "\t" + FontName(child) + "\t" + std::to_string(TextHeight(child)) + "\n";
  return reply;
}

std::string DescribeSystemMenu(HWND dialog) {
  const HMENU menu = GetSystemMenu(dialog, FALSE);
  std::string reply;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    reply += std::to_string(static_cast<int>(GetMenuItemID(menu, i))) + "\t" +
             ((state & MF_SEPARATOR) ? "separator" : "string") + "\t" + text + "\n";
  }
  return reply;
}

std::string IconSize(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return "0x0";
  BITMAP bitmap{};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return std::to_string(bitmap.bmWidth) + "x" + std::to_string(bitmap.bmHeight);
}

std::string DescribeIcons(HWND dialog) {
  const auto class_icon = reinterpret_cast<HICON>(GetClassLongPtrA(dialog, GCLP_HICON));
  const HICON resource = LoadIconA(GetModuleHandleA(nullptr), "I");
  const auto control = reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, 112, STM_GETICON, 0, 0));
  return "class\t" + Hex(class_icon) + "\t" + IconSize(class_icon) + "\n" + "resource\t" +
         Hex(resource) + "\t" + IconSize(resource) + "\n" + "control\t" + Hex(control) + "\t" +
         IconSize(control) + "\n";
}

// Key releases taken so far: a key's press has been handled completely, the
// messages it caused included, once its release is taken.
unsigned g_key_ups = 0;

std::string PaintNow(HWND dialog) {
  RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  return "painted\n";
}

std::string Answer(ProbeKind kind, HWND dialog) {
  switch (kind) {
    case ProbeKind::kPing: return "pong\n";
    case ProbeKind::kControls: return DescribeControls(dialog);
    case ProbeKind::kSystemMenu: return DescribeSystemMenu(dialog);
    case ProbeKind::kIcons: return DescribeIcons(dialog);
    case ProbeKind::kKeyUps: return std::to_string(g_key_ups) + "\n";
    case ProbeKind::kPaint: return PaintNow(dialog);
  }
  return {};
}

// Written beside the final name and renamed, so the driver never reads half
// an answer.
void WriteReply(const std::string& path, const std::string& reply) {
  const std::string part = path + ".part";
  const HANDLE file = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, reply.data(), static_cast<DWORD>(reply.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeHook(int code, WPARAM wparam, LPARAM lparam) {
  static const UINT probe_message = RegisterWindowMessageA(trellan::driver::kProbeMessageName);
  auto* message = reinterpret_cast<MSG*>(lparam);
  if (code == HC_ACTION && wparam == PM_REMOVE &&
      (message->message == WM_KEYUP || message->message == WM_SYSKEYUP))
    ++g_key_ups;
  if (code == HC_ACTION && wparam == PM_REMOVE && message->message == probe_message) {
    const auto kind = static_cast<ProbeKind>(LOWORD(message->wParam));
    const unsigned sequence = HIWORD(message->wParam);
    const auto asker = static_cast<DWORD>(message->lParam);
    WriteReply(trellan::driver::ProbeReplyPath(asker, sequence), Answer(kind, message->hwnd));
    message->message = WM_NULL;  // the program never sees it
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}
