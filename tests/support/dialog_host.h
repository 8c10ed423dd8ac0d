#pragma once
// The program's real MainDialog, created in the test's own process from the
// app library, as Wine's own dialog tests do: commands run synchronously
// through SendMessage, and the boxes they show are answered by a
// MessageBoxAnswerer on this thread. What only the real process shows
// (exit codes, resources, real input, pictures) is left to tests/driver.
#include <windows.h>

#include <string>

namespace trellan::test {

class DialogHost {
 public:
  DialogHost();  // WM_INITDIALOG has run when this returns
  ~DialogHost();
  DialogHost(const DialogHost&) = delete;
  DialogHost& operator=(const DialogHost&) = delete;

  HWND get() const { return dialog_; }
  // A click on a button or check box (BM_CLICK); returns when its command
  // has run, message boxes included.
  void Click(int id) const;
  std::string Text(int id) const;
  void SetText(int id, const std::string& text) const;
  bool IsChecked(int id) const;
  bool IsEnabled(int id) const;
  // Whether the form's fields, boxes and buttons ("&Ende" aside) all have
  // the given state.
  bool FormIs(bool enabled) const;

 private:
  HWND dialog_ = nullptr;
};

}  // namespace trellan::test
