#pragma once
// The system-menu commands that keep the form and an existing site in step:
// "Menü in Website übernehmen..." applies the form's title, author,
// keywords and menu to the learner's pages after a question, and
// "Formular aus Website lesen" fills the form from the site's index.html.
#include <windows.h>

namespace trellan {

// Asks first; returns when the notice after the update has closed.
void UpdateSiteFromForm(HWND dialog);

// Changes nothing on disk and stores nothing; a box only when something is
// missing.
void ReadFormFromSite(HWND dialog);

}  // namespace trellan
