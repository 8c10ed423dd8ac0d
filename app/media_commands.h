#pragma once
// The system menu's two media commands: the gallery snippet and the image
// viewer's context-menu switch. The dialog asks, shows the boxes, starts
// Notepad and ends the program; system/ finds, writes and switches.
#include <windows.h>

namespace trellan {

// "&Media: Bildergalerie...": writes _Bilder.txt for the pictures of the
// site's media folder, says so and then opens it in Notepad. A list that
// could not be written is not offered: no box, no editor.
void BuildGallerySnippet(HWND dialog);

// "&Kontextmenü JPG...": asks, then switches the two Explorer commands on
// (Yes) or off (No). When the viewer is missing, offers its download page
// and ends the program with exit code 1, whatever the answer.
void AskAboutContextMenu(HWND dialog);

}  // namespace trellan
