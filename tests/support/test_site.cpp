#include "tests/support/test_site.h"

#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "identity.h"
#include "settings/form_settings.h"
#include "system/system.h"

namespace trellan::test {

std::string SiteFolder() { return ShellFolderPath("Desktop") + "\\" + kSiteFolderName + "\\"; }

namespace {

// Works on UTF-16 names, so that names outside the ANSI code page go too.
void RemoveTreeWide(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTreeWide(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

BOOL CALLBACK CollectNotepad(HWND window, LPARAM found) {
  char class_name[32] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  if (std::string(class_name) == "Notepad")
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

}  // namespace

void RemoveTree(const std::string& folder) { RemoveTreeWide(AnsiToWide(folder)); }

void RemoveSiteFolder() {
  std::string folder = SiteFolder();
  folder.pop_back();
  RemoveTree(folder);
}

bool FileExists(const std::string& path) { return PathExists(path); }

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

GenerationRequest DefaultRequest() {
  const FormSettings form = DefaultFormSettings();
  GenerationRequest request;
  request.title = AnsiToUtf8(form.title);
  request.author = AnsiToUtf8(form.author);
  request.keywords = AnsiToUtf8(form.keywords);
  request.menu_text = AnsiToUtf8(form.menu_text);
  return request;
}

std::vector<DWORD> ProcessesNamed(const char* exe_name) {
  std::vector<DWORD> ids;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (_stricmp(entry.szExeFile, exe_name) == 0) ids.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return ids;
}

std::vector<DWORD> ExplorerProcesses() {
  GetDesktopWindow();
  return ProcessesNamed("explorer.exe");
}

std::vector<DWORD> EndNewExplorers(const std::vector<DWORD>& before) {
  std::vector<DWORD> started;
  for (DWORD id : ExplorerProcesses()) {
    if (std::find(before.begin(), before.end(), id) != before.end()) continue;
    started.push_back(id);
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
  return started;
}

}  // namespace trellan::test

namespace trellan::test {

namespace {

constexpr const char* kUserShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

}  // namespace

DesktopAt::DesktopAt(const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kUserShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return;
  DWORD size = 0;
  if (RegQueryValueExA(key, "Desktop", nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
    data_.resize(size);
    RegQueryValueExA(key, "Desktop", nullptr, &type_, data_.data(), &size);
  } else {
    type_ = REG_NONE;
  }
  RegSetValueExA(key, "Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                 static_cast<DWORD>(path.size() + 1));
  RegCloseKey(key);
}

DesktopAt::~DesktopAt() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kUserShellFolders, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return;
  if (type_ == REG_NONE)
    RegDeleteValueA(key, "Desktop");
  else
    RegSetValueExA(key, "Desktop", 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
  RegCloseKey(key);
}

bool KeyExists(const std::string& sub_key) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, sub_key.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

std::vector<HWND> NotepadWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectNotepad, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::string WindowTitle(HWND window) {
  char title[512] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return title;
}

void CloseNotepad(HWND window) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process_id);
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (!process) return;
  if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) TerminateProcess(process, 0);
  CloseHandle(process);
}

void CloseAllNotepads() {
  for (HWND window : NotepadWindows()) CloseNotepad(window);
}

}  // namespace trellan::test
