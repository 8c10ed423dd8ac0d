// The driver on the command line, for scripts:
//   trellan_drive show <Trellan.exe>   start it, wait until its dialog is
//                                      painted, print "dialog <x> <y>
//                                      <width> <height>" and leave it open
//   trellan_drive generate             on the open dialog: OK (an overwrite
//                                      question is answered Yes, the notice
//                                      closed), then "&Ende"; prints
//                                      "mode full" or "mode css-only"
//   trellan_drive end                  on the open dialog: "&Ende"
// The last two print "exit <code>" of the program and return 0 when it
// ended with 0. The probe DLL is named by TRELLAN_PROBE_DLL.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "tests/driver/driver.h"

namespace {

using trellan::driver::TrellanProcess;

int Fail(const char* what) {
  std::fprintf(stderr, "trellan_drive: %s\n", what);
  return 1;
}

int Show(const std::string& exe) {
  std::optional<TrellanProcess> program = TrellanProcess::Start(trellan::driver::WindowsPath(exe));
  if (!program) return Fail("the dialog did not appear");
  if (!program->WaitUntilPainted()) return Fail("the dialog was not painted");
  RECT frame{};
  GetWindowRect(program->dialog(), &frame);
  std::printf("dialog %ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
              frame.bottom - frame.top);
  program->Release();
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
  if (argc == 3 && std::strcmp(argv[1], "show") == 0) return Show(argv[2]);
  const bool generate = argc == 2 && std::strcmp(argv[1], "generate") == 0;
  const bool end = argc == 2 && std::strcmp(argv[1], "end") == 0;
  if (!generate && !end) {
    std::fprintf(stderr, "usage: trellan_drive show <Trellan.exe> | generate | end\n");
    return 2;
  }
  std::optional<TrellanProcess> program = TrellanProcess::Attach();
  if (!program) return Fail("no open Trellan dialog");
  if (generate) {
    // The box as OK finds it decides the run: a site on the desktop starts
    // the dialog in CSS-only mode.
    std::printf("mode %s\n", program->IsChecked(106) ? "css-only" : "full");
    if (!trellan::driver::GenerateThroughDialog(*program))
      return Fail("the generation run did not finish");
  }
  return End(*program);
}
