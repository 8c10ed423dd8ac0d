#pragma once
// The generation run: writes the sample site into "CSS-Musterseite" on the
// user's desktop.
#include <windows.h>

#include <string>

#include "generator/generation_request.h"

namespace trellan {

// "<desktop>\CSS-Musterseite\": the folder of the site, with its trailing
// backslash, in the ANSI code page.
std::string TargetFolder();

// `dialog` owns the overwrite question and carries the form that the run
// disables (the caller enables it again afterwards) and its CSS-only box.
void GenerateSite(HWND dialog, GenerationRequest request);

}  // namespace trellan
