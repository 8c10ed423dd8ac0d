#pragma once
// How the driver asks questions that only the program's own UI thread can
// answer (fonts, the system menu, the class icon): it posts a registered
// message to the dialog; the probe DLL, hooked into that thread with
// WH_GETMESSAGE, answers into a small file in the temp folder.
#include <windows.h>

#include <string>

namespace trellan::driver {

inline constexpr const char* kProbeMessageName = "TrellanDriverProbe";
inline constexpr const char* kProbeHookName = "ProbeHook";

enum class ProbeKind : WORD {
  kPing = 0,        // "pong", once every message posted before it was taken
  kControls = 1,    // per child, in z-order: hwnd, font, height its text needs
  kSystemMenu = 2,  // per item: id, kind, text
  kIcons = 3,       // the class icon, the resource "I", the icon control's icon
  kKeyUps = 4,      // how many key releases the thread has taken from its queue
  kPaint = 5,       // "painted", once the dialog and its controls are painted
};

// wParam: the kind in the low word, a sequence number in the high word;
// lParam: the asking process's id.
inline std::string ProbeReplyPath(DWORD asker, unsigned sequence) {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(sizeof temp, temp);
  return std::string(temp) + "trellan-probe-" + std::to_string(asker) + "-" +
         std::to_string(sequence) + ".txt";
}

}  // namespace trellan::driver
