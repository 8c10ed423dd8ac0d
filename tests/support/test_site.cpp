#include "tests/support/test_site.h"

#include <fstream>
#include <iterator>

#include "app/form_ids.h"
#include "system/system.h"

namespace trellan::test {

std::string SiteFolder() { return ShellFolderPath("Desktop") + "\\CSS-Musterseite\\"; }

void RemoveTree(const std::string& folder) {
  for (const std::string& name : ListFolder(folder)) {
    const std::string path = folder + "\\" + name;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      RemoveTree(path);
    } else {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  }
  RemoveDirectoryA(folder.c_str());
}

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
