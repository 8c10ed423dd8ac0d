#include "app/dialog_template.h"

namespace trellan {

namespace {

constexpr DWORD kDialogStyle =
    WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CONTEXTHELP | DS_CENTER | DS_3DLOOK;
constexpr DWORD kDialogExStyle = WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME;
static_assert(kDialogStyle == 0x10CA2804 && kDialogExStyle == 0x00040001);

constexpr double kWidthUnits = 200.0;
constexpr double kHeightUnits = 230.0;

// The screen's device context, released when the measurement is done.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Truncated toward zero, as a conversion does.
short Units(double units, double scale) { return static_cast<short>(units / scale); }

}  // namespace

ScaleFactors MeasureScaleFactors() {
  ScaleFactors scale;
  const ScreenDc screen;
  if (!screen.get()) return scale;
  const int dpi_x = GetDeviceCaps(screen.get(), LOGPIXELSX);
  const int dpi_y = GetDeviceCaps(screen.get(), LOGPIXELSY);
  // A screen that reports nothing keeps the 96-dpi size.
  if (dpi_x > 0) scale.x = dpi_x / 96.0;
  if (dpi_y > 0) scale.y = dpi_y / 96.0;
  return scale;
}

DialogTemplate MainDialogTemplate(ScaleFactors scale) {
  DialogTemplate dialog{};
  dialog.header.style = kDialogStyle;
  dialog.header.dwExtendedStyle = kDialogExStyle;
  dialog.header.cdit = 0;  // every control is created at WM_INITDIALOG
  dialog.header.x = 0;     // DS_CENTER places it
  dialog.header.y = 0;
  dialog.header.cx = Units(kWidthUnits, scale.x);
  dialog.header.cy = Units(kHeightUnits, scale.y);
  return dialog;
}

}  // namespace trellan
