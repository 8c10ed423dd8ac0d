#include "tests/driver/driver.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

namespace trellan::driver {

namespace {

constexpr DWORD kPollMs = 10;
constexpr UINT kSendTimeoutMs = 3000;
constexpr int kTitleId = 101;  // only the MainDialog has it
constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxIconId = 0x0440;
constexpr const char* kOverwriteCaption =
    "\xDC"
    "berschreiben best\xE4tigen";

std::optional<LRESULT> SendWithTimeout(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &result))
    return std::nullopt;
  return static_cast<LRESULT>(result);
}

std::string WindowText(HWND window) {
  const auto length = SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0);
  if (!length || *length <= 0) return {};
  std::string text(static_cast<std::size_t>(*length) + 1, '\0');
  const auto copied =
      SendWithTimeout(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied ? static_cast<std::size_t>(*copied) : 0);
  return text;
}

std::string ClassName(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

bool IsDialogWindow(HWND window) { return ClassName(window) == "#32770"; }

struct WindowSearch {
  DWORD process_id;  // 0: any process
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialogs(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<WindowSearch*>(lparam);
  if (IsWindowVisible(window) && IsDialogWindow(window) &&
      (search->process_id == 0 || ProcessOf(window) == search->process_id))
    search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleDialogs(DWORD process_id) {
  WindowSearch search{process_id, {}};
  EnumWindows(&CollectDialogs, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsMainDialog(HWND window) {
  return GetDlgItem(window, kTitleId) != nullptr && GetWindowTextLengthA(window) > 0;
}

HWND FindMainDialog(DWORD process_id) {
  for (HWND window : VisibleDialogs(process_id))
    if (IsMainDialog(window)) return window;
  return nullptr;
}

Box DescribeBox(HWND window) {
  Box box;
  box.window = window;
  box.caption = WindowText(window);
  box.text = WindowText(GetDlgItem(window, kBoxTextId));
  for (int id : {IDYES, IDNO, IDCANCEL, IDOK}) {
    const HWND button = GetDlgItem(window, id);
    if (!button) continue;
    box.buttons.push_back(id);
    if ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      box.default_button = id;
  }
  box.owner = GetWindow(window, GW_OWNER);
  if (const auto icon = SendWithTimeout(GetDlgItem(window, kBoxIconId), STM_GETICON, 0, 0))
    box.icon = reinterpret_cast<HICON>(*icon);
  return box;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

bool WaitFor(const std::function<bool()>& done, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string PathFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? WindowsPath(value) : std::string();
}

TrellanProcess::TrellanProcess(HANDLE process, DWORD process_id, HWND dialog)
    : process_(process), process_id_(process_id), dialog_(dialog) {
  thread_id_ = GetWindowThreadProcessId(dialog, nullptr);
}

TrellanProcess::TrellanProcess(TrellanProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)),
      process_id_(other.process_id_),
      thread_id_(other.thread_id_),
      dialog_(other.dialog_),
      hook_(std::exchange(other.hook_, nullptr)),
      probe_(std::exchange(other.probe_, nullptr)),
      killed_on_exit_(other.killed_on_exit_) {}

TrellanProcess& TrellanProcess::operator=(TrellanProcess&& other) noexcept {
  if (this == &other) return *this;
  Close();
  process_ = std::exchange(other.process_, nullptr);
  process_id_ = other.process_id_;
  thread_id_ = other.thread_id_;
  dialog_ = other.dialog_;
  hook_ = std::exchange(other.hook_, nullptr);
  probe_ = std::exchange(other.probe_, nullptr);
  killed_on_exit_ = other.killed_on_exit_;
  return *this;
}

TrellanProcess::~TrellanProcess() { Close(); }

void TrellanProcess::Close() {
  if (hook_) UnhookWindowsHookEx(std::exchange(hook_, nullptr));
  if (probe_) FreeLibrary(std::exchange(probe_, nullptr));
  if (!process_) return;
  if (killed_on_exit_ && IsRunning()) {
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(std::exchange(process_, nullptr));
}

std::optional<TrellanProcess> TrellanProcess::Start(const std::string& exe, DWORD timeout_ms) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  std::string command_line = "\"" + exe + "\"";
  if (!CreateProcessA(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &started))
    return std::nullopt;
  CloseHandle(started.hThread);
  HWND dialog = nullptr;
  WaitFor(
      [&] {
        return (dialog = FindMainDialog(started.dwProcessId)) != nullptr ||
               WaitForSingleObject(started.hProcess, 0) == WAIT_OBJECT_0;
      },
      timeout_ms);
  TrellanProcess program(started.hProcess, started.dwProcessId, dialog);
  if (!dialog || !program.HookProbe()) return std::nullopt;  // killed by the destructor
  return program;
}

std::optional<TrellanProcess> TrellanProcess::Attach(DWORD timeout_ms) {
  HWND dialog = nullptr;
  if (!WaitFor([&] { return (dialog = FindMainDialog(0)) != nullptr; }, timeout_ms))
    return std::nullopt;
  const DWORD process_id = ProcessOf(dialog);
  const HANDLE process = OpenProcess(
      SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, process_id);
  if (!process) return std::nullopt;
  TrellanProcess program(process, process_id, dialog);
  if (!program.HookProbe()) return std::nullopt;
  return program;
}

// The probe DLL runs inside the program from the first message it takes
// after the hook is set.
bool TrellanProcess::HookProbe() {
  const std::string dll = PathFromEnvironment("TRELLAN_PROBE_DLL");
  if (dll.empty() || !(probe_ = LoadLibraryA(dll.c_str()))) return false;
  const auto hook_proc =
      reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe_, kProbeHookName)));
  if (!hook_proc) return false;
  hook_ = SetWindowsHookExA(WH_GETMESSAGE, hook_proc, probe_, thread_id_);
  return hook_ != nullptr && Sync();
}

bool TrellanProcess::SetText(int id, const std::string& text) const {
  const auto done =
      SendWithTimeout(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  return done && *done == TRUE;
}

std::string TrellanProcess::Text(int id) const { return WindowText(Item(id)); }

bool TrellanProcess::IsChecked(int id) const {
  const auto state = SendWithTimeout(Item(id), BM_GETCHECK, 0, 0);
  return state && *state == BST_CHECKED;
}

bool TrellanProcess::SetChecked(int id, bool checked) const {
  return SendWithTimeout(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0)
      .has_value();
}

bool TrellanProcess::Click(int id) const {
  const HWND button = Item(id);
  return button && PostMessageA(button, BM_CLICK, 0, 0);
}

bool TrellanProcess::PostSysCommand(WPARAM command) const {
  return PostMessageA(dialog_, WM_SYSCOMMAND, command, 0);
}

HWND TrellanProcess::FocusWindow() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(thread_id_, &info)) return nullptr;
  return info.hwndFocus;
}

int TrellanProcess::FocusId() const {
  const HWND focus = FocusWindow();
  return focus && GetParent(focus) == dialog_ ? GetDlgCtrlID(focus) : 0;
}

// Input goes to the foreground window, which must be the program's.
void TrellanProcess::BringToFront() const {
  const HWND front = GetForegroundWindow();
  if (!front || ProcessOf(front) != process_id_) SetForegroundWindow(dialog_);
}

bool TrellanProcess::PressKey(UINT virtual_key, bool with_alt) const {
  BringToFront();
  std::vector<INPUT> inputs;
  const auto key = [&inputs](UINT vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(vk);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (with_alt) key(VK_MENU, false);
  key(virtual_key, false);
  key(virtual_key, true);
  if (with_alt) key(VK_MENU, true);
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool TrellanProcess::PressKeyAndWait(UINT virtual_key) {
  const auto before = Probe(ProbeKind::kKeyUps);
  if (!before || !PressKey(virtual_key)) return false;
  return WaitFor([&] {
    const auto now = Probe(ProbeKind::kKeyUps);
    return now &&
           std::strtoul(now->c_str(), nullptr, 10) > std::strtoul(before->c_str(), nullptr, 10);
  });
}

bool TrellanProcess::ClickAt(POINT client_point) const {
  BringToFront();
  POINT screen = client_point;
  if (!ClientToScreen(dialog_, &screen)) return false;
  // Absolute mouse coordinates run from 0 to 65535 across the screen.
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65536LL + width / 2) / width);
    input.mi.dy = static_cast<LONG>((screen.y * 65536LL + height / 2) / height);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  return SendInput(3, inputs, sizeof(INPUT)) == 3;
}

std::vector<Control> TrellanProcess::Controls() const {
  std::vector<Control> controls;
  for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    Control control;
    control.window = child;
    control.window_class = ClassName(child);
    control.id = GetDlgCtrlID(child);
    control.text = WindowText(child);
    control.style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
    control.ex_style = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE));
    GetWindowRect(child, &control.rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&control.rect), 2);
    controls.push_back(control);
  }
  return controls;
}

bool TrellanProcess::Sync(DWORD timeout_ms) {
  const auto reply = Probe(ProbeKind::kPing, timeout_ms);
  return reply && *reply == "pong\n";
}

bool TrellanProcess::WaitUntilPainted(DWORD timeout_ms) {
  const auto reply = Probe(ProbeKind::kPaint, timeout_ms);
  return reply && *reply == "painted\n" && Sync(timeout_ms);
}

std::optional<std::string> TrellanProcess::Probe(ProbeKind kind, DWORD timeout_ms) {
  static const UINT probe_message = RegisterWindowMessageA(kProbeMessageName);
  // One count for the whole test program: a late answer of a program that
  // has gone can never be taken for the answer of the next one.
  static unsigned probe_sequence = 0;
  const unsigned sequence = ++probe_sequence & 0xFFFF;
  const std::string path = ProbeReplyPath(GetCurrentProcessId(), sequence);
  DeleteFileA(path.c_str());
  if (!PostMessageA(dialog_, probe_message,
                    MAKEWPARAM(static_cast<WORD>(kind), static_cast<WORD>(sequence)),
                    static_cast<LPARAM>(GetCurrentProcessId())))
    return std::nullopt;
  if (!WaitFor([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; },
               timeout_ms))
    return std::nullopt;
  std::string reply = ReadWholeFile(path);
  DeleteFileA(path.c_str());
  return reply;
}

std::vector<Box> TrellanProcess::Boxes() const {
  std::vector<Box> boxes;
  for (HWND window : VisibleDialogs(process_id_))
    if (window != dialog_) boxes.push_back(DescribeBox(window));
  return boxes;
}

std::optional<Box> TrellanProcess::WaitForBox(const std::string& caption, DWORD timeout_ms) const {
  std::optional<Box> found;
  WaitFor(
      [&] {
        for (Box& box : Boxes())
          if (box.caption == caption) {
            found = std::move(box);
            return true;
          }
        return false;
      },
      timeout_ms);
  return found;
}

bool TrellanProcess::Answer(const Box& box, int button, DWORD timeout_ms) const {
  if (!PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(box.window, button))))
    return false;
  return WaitFor([&] { return !IsWindow(box.window); }, timeout_ms);
}

bool TrellanProcess::IsRunning() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> TrellanProcess::WaitForExit(DWORD timeout_ms) const {
  if (!process_ || WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(process_, &code)) return std::nullopt;
  return code;
}

std::optional<std::vector<Box>> GenerateThroughDialog(TrellanProcess& program, int overwrite,
                                                      DWORD timeout_ms) {
  if (!program.Click(IDOK)) return std::nullopt;
  std::vector<Box> seen;
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    const std::vector<Box> boxes = program.Boxes();
    if (!boxes.empty()) {
      const Box& box = boxes.front();
      seen.push_back(box);
      const bool question = box.caption == kOverwriteCaption;
      if (!program.Answer(box, question ? overwrite : IDOK, timeout_ms)) return std::nullopt;
      // A cancelled question ends the run; the notice ends every other one.
      if (!question || overwrite == IDCANCEL) break;
    }
    if (GetTickCount64() >= deadline) return std::nullopt;
    Sleep(kPollMs);
  }
  if (!program.Sync(timeout_ms)) return std::nullopt;
  return seen;
}

}  // namespace trellan::driver
