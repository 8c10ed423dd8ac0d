#pragma once
// The OK command: the dialog asks its questions and decides, then the run
// is planned by the core, carried out by system/ and ended with its notice.
#include <windows.h>

#include <string>

#include "generator/site_plan.h"
#include "settings/form_settings.h"

namespace trellan {

// OK: reads the form, asks before existing pages are overwritten, and runs
// with the form disabled (enabled again afterwards, after Cancel too).
void GenerateFromForm(HWND dialog);

// The form's texts in UTF-8, as the core gets them: converted here, once.
GenerationRequest RequestInUtf8(const FormSettings& form, bool css_only, bool open_explorer);

// The run once the questions are answered: the form's texts are converted
// to UTF-8 here, once, then the run is planned for `contents` of `folder`,
// carried out, and ended with the closing notice. Returns when the notice
// has closed.
void WriteSiteAndNotify(const FormSettings& form, const FolderContents& contents,
                        const std::string& folder, bool css_only, bool open_explorer);

}  // namespace trellan
