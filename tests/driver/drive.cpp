// The driver on the command line, for scripts:
//   trellan_drive show <Trellan.exe>   start it, wait until its dialog is
//                                      painted, print "dialog <x> <y>
//                                      <width> <height>" and leave it open
//   trellan_drive generate             on the open dialog: OK (an overwrite
//                                      question is answered Yes, the notice
//                                      closed), then "&Ende"; prints
//                                      "mode full" or "mode css-only"
//   trellan_drive end                  on the open dialog: "&Ende"
//   trellan_drive text <id> <text>     on the open dialog: set control
//                                      <id>'s text ("\n" in it is a line
//                                      break, CR LF)
// The last two print "exit <code>" of the program and return 0 when it
// ended with 0. For pictures of the program's boxes, these leave a box open
// and print "box <x> <y> <width> <height>" (its frame on the screen):
//   trellan_drive press <id> [<file>]  click the dialog's control <id>;
//                                      with <file>, hold that file open
//                                      without sharing meanwhile, as
//                                      another program may
//   trellan_drive help                 press F1
//   trellan_drive menu <id>            choose the system-menu command <id>
//   trellan_drive answer <button>      press <button> (IDOK 1, IDCANCEL 2,
//                                      IDYES 6, IDNO 7) of the open box;
//                                      prints "none" when no box follows
//   trellan_drive await [<caption>]    wait for a box whose caption starts
//                                      so (ASCII is safest on a command
//                                      line), by default the program's
//                                      caption (a notice)
// and on the open box that is a dialog of the program's own (the upload's):
//   trellan_drive type <id> <text>     put <text> into its field <id>
//   trellan_drive check <id> <0|1>     check or uncheck its box <id>
// The probe DLL is named by TRELLAN_PROBE_DLL.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "identity.h"
#include "system/handles.h"
#include "tests/driver/driver.h"

namespace {

using trellan::driver::Box;
using trellan::driver::TrellanProcess;

int Fail(const char* what) {
  std::fprintf(stderr, "trellan_drive: %s\n", what);
  return 1;
}

void PrintFrame(const char* what, HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  std::printf("%s %ld %ld %ld %ld\n", what, frame.left, frame.top, frame.right - frame.left,
              frame.bottom - frame.top);
}

int Show(const std::string& exe) {
  std::optional<TrellanProcess> program = TrellanProcess::Start(trellan::driver::WindowsPath(exe));
  if (!program) return Fail("the dialog did not appear");
  if (!program->WaitUntilPainted()) return Fail("the dialog was not painted");
  PrintFrame("dialog", program->dialog());
  program->Release();
  return 0;
}

// The box the last action opened. A box runs its own message loop, so once
// the program has taken a message posted after the action, a box that the
// action opens is there.
int ReportBox(TrellanProcess& program, bool required) {
  if (required && !trellan::driver::WaitFor([&] { return !program.Boxes().empty(); }))
    return Fail("no box appeared");
  if (!program.Sync()) return Fail("the program does not answer");
  const std::vector<Box> boxes = program.Boxes();
  if (boxes.empty()) {
    if (required) return Fail("the box went away");
    std::printf("none\n");
  } else {
    PrintFrame("box", boxes.front().window);
  }
  return 0;
}

int Answer(TrellanProcess& program, int button) {
  const std::vector<Box> boxes = program.Boxes();
  if (boxes.empty()) return Fail("no box is open");
  if (!program.Answer(boxes.front(), button)) return Fail("the box did not close");
  return ReportBox(program, false);
}

// Sets a control of the open box: its text, or its check mark.
int SetInBox(TrellanProcess& program, int id, const char* text, bool check) {
  const std::vector<Box> boxes = program.Boxes();
  if (boxes.empty()) return Fail("no box is open");
  const HWND control = GetDlgItem(boxes.front().window, id);
  DWORD_PTR result = 0;
  const bool done =
      check
          ? SendMessageTimeoutA(control, BM_SETCHECK, std::atoi(text) ? BST_CHECKED : BST_UNCHECKED,
                                0, SMTO_ABORTIFHUNG, 5000, &result) != 0
          : SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                                SMTO_ABORTIFHUNG, 5000, &result) != 0 &&
                // the caret after the text, as when it is typed
                SendMessageTimeoutA(control, EM_SETSEL, std::strlen(text),
                                    static_cast<LPARAM>(std::strlen(text)), SMTO_ABORTIFHUNG, 5000,
                                    &result) != 0;
  return control && done ? 0 : Fail("the box has no such control");
}

int Await(TrellanProcess& program, const std::string& caption) {
  HWND found = nullptr;
  trellan::driver::WaitFor(
      [&] {
        for (const Box& box : program.Boxes())
          if (box.caption.rfind(caption, 0) == 0) found = box.window;
        return found != nullptr;
      },
      120000);
  if (!found) return Fail("no such box appeared");
  PrintFrame("box", found);
  return 0;
}

int End(TrellanProcess& program) {
  if (!program.Click(IDCANCEL)) return Fail("no \"&Ende\" button");
  const std::optional<DWORD> code = program.WaitForExit();
  if (!code) return Fail("the program did not end");
  std::printf("exit %lu\n", *code);
  return *code == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const auto is = [&](const char* command, int args) {
    return argc == 2 + args && std::strcmp(argv[1], command) == 0;
  };
  if (is("show", 1)) return Show(argv[2]);
  const bool generate = is("generate", 0);
  const bool end = is("end", 0);
  const bool press = is("press", 1) || is("press", 2);
  const bool menu = is("menu", 1);
  const bool text = is("text", 2);
  const bool set = is("type", 2) || is("check", 2);
  if (!generate && !end && !press && !menu && !text && !set && !is("help", 0) && !is("answer", 1) &&
      !is("await", 0) && !is("await", 1)) {
    std::fprintf(stderr,
                 "usage: trellan_drive show <Trellan.exe> | generate | end | text <id> <text>"
                 " | press <id> [<file>] | help | menu <id> | answer <button> | await [<caption>]"
                 " | type <id> <text> | check <id> <0|1>\n");
    return 2;
  }
  std::optional<TrellanProcess> program = TrellanProcess::Attach();
  if (!program) return Fail("no open Trellan dialog");
  if (text) {
    program->Release();
    std::string lines = argv[3];
    for (auto at = lines.find("\\n"); at != std::string::npos; at = lines.find("\\n", at))
      lines.replace(at, 2, "\r\n");
    return program->SetText(std::atoi(argv[2]), lines) ? 0 : Fail("no such control");
  }
  // These leave the program running, with its box open.
  if (!generate && !end) program->Release();
  if (press) {
    // A run writes every file before its closing notice opens: holding
    // until then keeps the file from the whole run.
    trellan::FileHandle held;
    if (argc == 4) {
      held = trellan::FileHandle(CreateFileA(trellan::driver::WindowsPath(argv[3]).c_str(),
                                             GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!held) return Fail("the file to hold cannot be opened");
    }
    if (!program->Click(std::atoi(argv[2]))) return Fail("no such control");
    return ReportBox(*program, true);
  }
  if (is("help", 0)) {
    if (!program->PressKey(VK_F1)) return Fail("F1 could not be pressed");
    return ReportBox(*program, true);
  }
  if (menu) {
    if (!program->PostSysCommand(std::strtoul(argv[2], nullptr, 10)))
      return Fail("the command could not be posted");
    return ReportBox(*program, true);
  }
  if (is("answer", 1)) return Answer(*program, std::atoi(argv[2]));
  if (set) return SetInBox(*program, std::atoi(argv[2]), argv[3], is("check", 2));
  if (is("await", 0)) return Await(*program, trellan::kProgramCaption);
  if (is("await", 1)) return Await(*program, argv[2]);
  if (generate) {
    // The box as OK finds it decides the run: a site on the desktop starts
    // the dialog in CSS-only mode.
    std::printf("mode %s\n", program->IsChecked(106) ? "css-only" : "full");
    if (!trellan::driver::GenerateThroughDialog(*program))
      return Fail("the generation run did not finish");
  }
  return End(*program);
}
