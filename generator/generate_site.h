#pragma once
// The generation run: writes the sample site into "CSS-Musterseite" on the
// user's desktop.
#include <windows.h>

#include "generator/generation_request.h"

namespace trellan {

// `dialog` owns the overwrite question and carries the form that the run
// disables (the caller enables it again afterwards) and its CSS-only box.
void GenerateSite(HWND dialog, GenerationRequest request);

}  // namespace trellan
