#pragma once
// Answers the message boxes that the code under test shows on this thread,
// and records what each box showed. A CBT hook sees every box as it is
// activated and posts the chosen button to it.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace trellan::test {

struct SeenBox {
  std::string caption;
  std::string text;
  std::vector<int> buttons;  // IDYES, IDNO, IDCANCEL, IDOK present, in that order
  int default_button = 0;    // the button with BS_DEFPUSHBUTTON
  HICON icon = nullptr;      // the box's icon, comparable with LoadIcon(nullptr, IDI_...)
  HWND owner = nullptr;
};

class MessageBoxAnswerer {
 public:
  // Boxes are answered in turn with `answers`; when they run out, with
  // `otherwise` (IDOK closes a notice; IDCANCEL any question).
  explicit MessageBoxAnswerer(std::deque<int> answers = {}, int otherwise = IDOK);
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

  const std::vector<SeenBox>& seen() const { return seen_; }
  // Called with each box while it is still shown, before it is answered.
  void WhileShown(std::function<void(const SeenBox&)> look) { look_ = std::move(look); }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam);
  static void CALLBACK Inspect(HWND, UINT, UINT_PTR timer, DWORD);
  void Answer(HWND box);

  std::deque<int> answers_;
  int otherwise_;
  std::vector<SeenBox> seen_;
  std::function<void(const SeenBox&)> look_;
  HHOOK hook_ = nullptr;
};

}  // namespace trellan::test
