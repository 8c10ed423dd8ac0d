#pragma once
// Drives Trellan.exe from another process in the same Wine prefix, the way
// a user would: through its dialog's window messages. Every wait has a
// time-out; a program still running when its TrellanProcess goes away is
// killed, so a failing test never leaves it behind.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "identity.h"
#include "tests/driver/probe_protocol.h"

namespace trellan::driver {

inline constexpr DWORD kDefaultTimeoutMs = 20000;
inline constexpr const char* kDialogCaption = kProgramCaption;

// Polls `done` every 10 ms until it holds (true) or the time is up (false).
bool WaitFor(const std::function<bool()>& done, DWORD timeout_ms = kDefaultTimeoutMs);

// A Unix path as Wine's Z: drive sees it; Windows paths stay as they are.
std::string WindowsPath(std::string path);
// An environment variable naming a file of the build tree, as a Windows path.
std::string PathFromEnvironment(const char* name);

// A message box of the program as it shows up.
struct Box {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  std::vector<int> buttons;  // IDYES, IDNO, IDCANCEL, IDOK present, in that order
  int default_button = 0;    // the one with BS_DEFPUSHBUTTON
  HWND owner = nullptr;
  HICON icon = nullptr;
};

// One control of the dialog as it stands, read from outside.
struct Control {
  HWND window = nullptr;
  std::string window_class;
  int id = 0;
  std::string text;
  DWORD style = 0;
  DWORD ex_style = 0;
  RECT rect{};  // in the dialog's client coordinates
};

class TrellanProcess {
 public:
  // Starts the program and waits for its dialog; nothing when either fails
  // (a program that started is killed again).
  static std::optional<TrellanProcess> Start(const std::string& exe,
                                             DWORD timeout_ms = kDefaultTimeoutMs);
  // The program whose dialog is open already (started by someone else).
  static std::optional<TrellanProcess> Attach(DWORD timeout_ms = kDefaultTimeoutMs);

  TrellanProcess(TrellanProcess&& other) noexcept;
  TrellanProcess& operator=(TrellanProcess&& other) noexcept;
  TrellanProcess(const TrellanProcess&) = delete;
  ~TrellanProcess();

  HWND dialog() const { return dialog_; }
  DWORD process_id() const { return process_id_; }
  // Leaves the program running when this object goes away.
  void Release() { killed_on_exit_ = false; }

  // Controls, by identifier. Texts are the ANSI bytes.
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  bool SetText(int id, const std::string& text) const;
  std::string Text(int id) const;
  bool IsChecked(int id) const;
  bool SetChecked(int id, bool checked) const;
  bool IsEnabled(int id) const { return IsWindowEnabled(Item(id)) != 0; }
  // A click as the mouse gives it (BM_CLICK), posted.
  bool Click(int id) const;
  bool PostSysCommand(WPARAM command) const;
  // Real input, through the system's input queue, to the program's active
  // window (the dialog is brought to the front when another program's
  // window is): a key, optionally with Alt held, and a left click at a
  // point of the dialog's client area.
  bool PressKey(UINT virtual_key, bool with_alt = false) const;
  // A key as PressKey gives it, returning once the program has taken its
  // release: by then the press and everything it caused have been handled.
  bool PressKeyAndWait(UINT virtual_key);
  bool ClickAt(POINT client_point) const;
  // The control with the keyboard focus; 0 when none of the dialog has it.
  int FocusId() const;
  HWND FocusWindow() const;

  // The dialog's children in z-order (the order they were created in).
  std::vector<Control> Controls() const;

  // Waits until everything posted to the program so far has been taken
  // from its queue (by the dialog or by a box it shows).
  bool Sync(DWORD timeout_ms = kDefaultTimeoutMs);
  // Asks the program's UI thread; nothing on time-out.
  std::optional<std::string> Probe(ProbeKind kind, DWORD timeout_ms = kDefaultTimeoutMs);
  // Returns once the dialog is painted and the program waits for input
  // again (when the picture on the screen is complete).
  bool WaitUntilPainted(DWORD timeout_ms = kDefaultTimeoutMs);

  // The message boxes of the program that are open now, and waiting for one.
  std::vector<Box> Boxes() const;
  std::optional<Box> WaitForBox(const std::string& caption,
                                DWORD timeout_ms = kDefaultTimeoutMs) const;
  // Presses a box's button and waits until the box is gone.
  bool Answer(const Box& box, int button, DWORD timeout_ms = kDefaultTimeoutMs) const;

  // The exit code once the program has ended.
  std::optional<DWORD> WaitForExit(DWORD timeout_ms = kDefaultTimeoutMs) const;
  bool IsRunning() const;

 private:
  TrellanProcess(HANDLE process, DWORD process_id, HWND dialog);
  bool HookProbe();
  void Close();
  void BringToFront() const;

  HANDLE process_ = nullptr;
  DWORD process_id_ = 0;
  DWORD thread_id_ = 0;
  HWND dialog_ = nullptr;
  HHOOK hook_ = nullptr;
  HMODULE probe_ = nullptr;
  bool killed_on_exit_ = true;
};

// Runs the whole OK command through the dialog: clicks "&OK...", answers an
// overwrite question with `overwrite` (when one comes) and closes the
// closing notice. Returns the boxes seen, in order; nothing on time-out.
std::optional<std::vector<Box>> GenerateThroughDialog(TrellanProcess& program,
                                                      int overwrite = IDYES,
                                                      DWORD timeout_ms = kDefaultTimeoutMs);

}  // namespace trellan::driver
