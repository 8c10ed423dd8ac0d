#pragma once
// The switch for the two Explorer folder commands that convert pictures
// with the outside image viewer.
#include <windows.h>

namespace trellan {

// Writes the two commands' registry keys (activate) or deletes them. When
// the viewer cannot be found, offers its download page and ends the
// program with exit code 1.
void SwitchContextMenu(bool activate);

}  // namespace trellan
