#include "tests/support/message_boxes.h"

#include <cstring>

namespace trellan::test {

namespace {

MessageBoxAnswerer* g_active = nullptr;
HWND g_pending = nullptr;

constexpr int kTextId = 0xFFFF;  // the static control holding a box's text
constexpr int kIconId = 0x0440;  // the static control holding a box's icon

std::string WindowText(HWND window) {
  char buffer[4096] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

// A dialog window with a box's text control: the program's own dialog,
// activated again when a box closes, is no box.
bool IsMessageBox(HWND window) {
  char class_name[32] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  return std::strcmp(class_name, "#32770") == 0 && GetDlgItem(window, kTextId) != nullptr;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::deque<int> answers, int otherwise)
    : answers_(std::move(answers)), otherwise_(otherwise) {
  g_active = this;
  hook_ = SetWindowsHookExA(WH_CBT, &MessageBoxAnswerer::Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_active = nullptr;
  g_pending = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && g_active) {
    const HWND window = reinterpret_cast<HWND>(wparam);
    // The box is looked at once its modal loop runs, when it is complete
    // (its default button is set only after activation).
    if (IsMessageBox(window) && !g_pending) {
      g_pending = window;
      SetTimer(nullptr, 0, 20, &MessageBoxAnswerer::Inspect);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void CALLBACK MessageBoxAnswerer::Inspect(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const HWND box = g_pending;
  g_pending = nullptr;
  if (g_active && IsWindow(box)) g_active->Answer(box);
}

void MessageBoxAnswerer::Answer(HWND box) {
  SeenBox seen;
  seen.caption = WindowText(box);
  seen.text = WindowText(GetDlgItem(box, kTextId));
  for (int id : {IDYES, IDNO, IDCANCEL, IDOK}) {
    const HWND button = GetDlgItem(box, id);
    if (!button) continue;
    seen.buttons.push_back(id);
    if ((GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) seen.default_button = id;
  }
  seen.icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, kIconId, STM_GETICON, 0, 0));
  seen.owner = GetWindow(box, GW_OWNER);
  seen_.push_back(seen);
  if (look_) look_(seen);

  int answer = otherwise_;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

}  // namespace trellan::test
