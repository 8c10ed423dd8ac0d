#pragma once
// The MainDialog's window template, built in memory at start-up.
#include <windows.h>

namespace trellan {

// The screen's logical pixels per inch over 96, horizontally and vertically.
struct ScaleFactors {
  double x = 1.0;
  double y = 1.0;
};

ScaleFactors MeasureScaleFactors();

// A DLGTEMPLATE followed by its three empty arrays: no menu, the standard
// dialog class, no title (the dialog sets its caption itself). The template
// must start on a DWORD boundary.
struct alignas(DWORD) DialogTemplate {
  DLGTEMPLATE header;
  WORD menu;
  WORD window_class;
  WORD title;
};

// The dialog's size is given in units of the system font, which grow with
// the pixels per inch; dividing by the scale factors keeps the window at
// one size in pixels on every screen.
DialogTemplate MainDialogTemplate(ScaleFactors scale);

}  // namespace trellan
