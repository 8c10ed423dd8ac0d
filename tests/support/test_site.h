#pragma once
// Files and windows that the Windows tests of the generation run share.
#include <windows.h>

#include <string>
#include <vector>

#include "generator/generation_request.h"

namespace trellan::test {

// "<desktop>\CSS-Musterseite\" of the test prefix.
std::string SiteFolder();
// Removes the site folder with everything in it.
void RemoveSiteFolder();
// Removes a folder tree; read-only and hidden files, and names outside the
// ANSI code page, included.
void RemoveTree(const std::string& folder);

bool FileExists(const std::string& path);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The names in a folder (files and folders, without "." and "..").
std::vector<std::string> ListFolder(const std::string& folder);

// The desktop (its "User Shell Folders" value) at `path` while the object
// lives, as a redirected desktop is; the value before comes back after.
class DesktopAt {
 public:
  explicit DesktopAt(const std::string& path);
  ~DesktopAt();
  DesktopAt(const DesktopAt&) = delete;
  DesktopAt& operator=(const DesktopAt&) = delete;

 private:
  DWORD type_ = REG_NONE;  // REG_NONE: there was no value
  std::vector<BYTE> data_;
};

// Whether a key exists under HKEY_CURRENT_USER.
bool KeyExists(const std::string& sub_key);

// Notepad's main windows, whatever file they show; a window's title read
// across processes; closing Notepad (ended when it does not close in 5 s).
std::vector<HWND> NotepadWindows();
std::string WindowTitle(HWND window);
void CloseNotepad(HWND window);
void CloseAllNotepads();

// The form as the dialog starts with it, as the run gets it (in UTF-8).
GenerationRequest DefaultRequest();

// The ids of the processes of a program ("notepad.exe") running now. A
// process that was started exists when the call that started it returns,
// so whether a call started one needs no waiting.
std::vector<DWORD> ProcessesNamed(const char* exe_name);
// The same for Explorer, whose processes include Wine's desktop (started
// here first if need be, so that it is never taken for a new one); and
// ending the Explorers not in `before`, which are returned.
std::vector<DWORD> ExplorerProcesses();
std::vector<DWORD> EndNewExplorers(const std::vector<DWORD>& before);

}  // namespace trellan::test
