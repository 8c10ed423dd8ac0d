#include "tests/support/test_site.h"

#include <fstream>
#include <iterator>

#include "app/form_ids.h"
#include "system/system.h"

namespace trellan::test {

std::string SiteFolder() { return ShellFolderPath("Desktop") + "\\CSS-Musterseite\\"; }

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
  GenerationRequest request;
  request.title = "Seitentitel eingeben";
  request.author = "Vorname Name";
  request.keywords = "Schl\xFCsselw\xF6rter f\xFCr Suchmaschinen eingeben";
  request.menu_text = "Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum";
  return request;
}

FormWindow::FormWindow() {
  window_ = CreateWindowExA(0, "STATIC", "form", WS_POPUP, 0, 0, 400, 460, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  const auto add = [this](const char* window_class, DWORD style, int id) {
    CreateWindowExA(0, window_class, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                    nullptr);
  };
  for (int id : {IDOK, IDCANCEL, IDC_NEW, IDC_LOAD, IDC_SAVE}) add("BUTTON", BS_PUSHBUTTON, id);
  for (int id : {IDC_TITLE, IDC_AUTHOR, IDC_KEYWORDS, IDC_MENU}) add("EDIT", 0, id);
  for (int id : {IDC_CSSONLY, IDC_EXPLORE}) add("BUTTON", BS_AUTOCHECKBOX, id);
}

FormWindow::~FormWindow() { DestroyWindow(window_); }

bool FormWindow::IsEnabled(int id) const { return IsWindowEnabled(GetDlgItem(window_, id)) != 0; }

bool FormWindow::IsChecked(int id) const {
  return IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

}  // namespace trellan::test

namespace trellan::test {

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
