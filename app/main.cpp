// Start-up: the program is its one modal dialog.
#include <windows.h>

#include "app/main_dialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  trellan::RunMainDialog();
  return 0;
}
