#include "app/form_store.h"

#include <cstddef>
#include <string>

#include "app/form_ids.h"
#include "app/form_layout.h"
#include "app/form_texts.h"
#include "system/system.h"

namespace trellan {

namespace {

struct StoredField {
  int id;
  const char* value_name;
  const char* default_text;
  // How much of a stored text is read back. The menu field can save 8191
  // characters, far beyond a plain registry read, so it reads its full
  // capacity: what "&Sichern" stored, "&Laden" restores.
  std::size_t read_capacity;
};

constexpr StoredField kTitle{IDC_TITLE, "PageTitle", kDefaultTitle, kRegTextCapacity};
constexpr StoredField kAuthor{IDC_AUTHOR, "PageAuthor", kDefaultAuthor, kRegTextCapacity};
constexpr StoredField kKeywords{IDC_KEYWORDS, "PageKeywords", kDefaultKeywords,
                                kRegTextCapacity};
constexpr StoredField kMenu{IDC_MENU, "PageMenue", kDefaultMenu, kMenuFieldCapacity};
constexpr StoredField kTextFields[] = {kTitle, kAuthor, kKeywords, kMenu};

constexpr const char* kCssOnlyValue = "CSSOnly";
constexpr const char* kExploreValue = "Explore";

// A stored text counts only when it starts with a printable character.
bool IsUsable(const std::string& stored) {
  return !stored.empty() && static_cast<unsigned char>(stored[0]) > 32;
}

void LoadField(HWND dialog, const StoredField& field) {
  const std::string stored =
      ReadRegString(HKEY_CURRENT_USER, kSettingsKey, field.value_name, field.read_capacity);
  SetDlgItemTextA(dialog, field.id, IsUsable(stored) ? stored.c_str() : field.default_text);
}

bool LoadFlag(const char* value_name) {
  return ReadRegDword(HKEY_CURRENT_USER, kSettingsKey, value_name) == 1;
}

void SaveText(const char* value_name, const std::string& text) {
  WriteRegString(HKEY_CURRENT_USER, kSettingsKey, value_name, text);
}

void SaveFlag(const char* value_name, bool flag) {
  WriteRegDword(HKEY_CURRENT_USER, kSettingsKey, value_name, flag ? 1 : 0);
}

}  // namespace

void ResetForm(HWND dialog) {
  for (const StoredField& field : kTextFields) SetDlgItemTextA(dialog, field.id, field.default_text);
  CheckBox(dialog, IDC_CSSONLY, false);
  CheckBox(dialog, IDC_EXPLORE, false);
}

void LoadForm(HWND dialog) {
  for (const StoredField& field : kTextFields) LoadField(dialog, field);
  const bool css_only = LoadFlag(kCssOnlyValue);
  const bool open_folder = LoadFlag(kExploreValue);
  CheckBox(dialog, IDC_CSSONLY, css_only);
  CheckBox(dialog, IDC_EXPLORE, open_folder);
}

void SaveForm(HWND dialog) {
  const std::string title = FieldText(dialog, IDC_TITLE, kLineFieldCapacity);
  const std::string author = FieldText(dialog, IDC_AUTHOR, kLineFieldCapacity);
  const std::string keywords = FieldText(dialog, IDC_KEYWORDS, kLineFieldCapacity);
  const bool open_folder = IsBoxChecked(dialog, IDC_EXPLORE);
  const bool css_only = IsBoxChecked(dialog, IDC_CSSONLY);
  SaveText(kTitle.value_name, title);
  SaveText(kAuthor.value_name, author);
  SaveText(kKeywords.value_name, keywords);
  SaveText(kMenu.value_name, FieldText(dialog, IDC_MENU, kMenuFieldCapacity));
  SaveFlag(kCssOnlyValue, css_only);
  SaveFlag(kExploreValue, open_folder);
}

}  // namespace trellan
