#include "settings/form_settings.h"

#include <cstddef>

namespace trellan {

namespace {

constexpr std::size_t kStoredLineCharacters = 1024;
constexpr std::size_t kStoredMenuCharacters = 8191;

constexpr const char* kTitleValue = "PageTitle";
constexpr const char* kAuthorValue = "PageAuthor";
constexpr const char* kKeywordsValue = "PageKeywords";
constexpr const char* kMenuValue = "PageMenue";
constexpr const char* kCssOnlyValue = "CSSOnly";
constexpr const char* kExploreValue = "Explore";

// A stored text counts only when it starts with a printable character.
std::string TextOrDefault(const SettingsStore& store, const char* name, std::size_t max_characters,
                          const char* default_text) {
  std::string stored = store.ReadText(name, max_characters);
  if (stored.empty() || static_cast<unsigned char>(stored[0]) <= 32) return default_text;
  return stored;
}

bool IsChecked(const SettingsStore& store, const char* name) { return store.ReadNumber(name) == 1; }

}  // namespace

FormSettings DefaultFormSettings() {
  return {kDefaultTitle, kDefaultAuthor, kDefaultKeywords, kDefaultMenu, false, false};
}

FormSettings LoadFormSettings(const SettingsStore& store) {
  FormSettings form;
  form.title = TextOrDefault(store, kTitleValue, kStoredLineCharacters, kDefaultTitle);
  form.author = TextOrDefault(store, kAuthorValue, kStoredLineCharacters, kDefaultAuthor);
  form.keywords = TextOrDefault(store, kKeywordsValue, kStoredLineCharacters, kDefaultKeywords);
  form.menu_text = TextOrDefault(store, kMenuValue, kStoredMenuCharacters, kDefaultMenu);
  form.css_only = IsChecked(store, kCssOnlyValue);
  form.open_folder = IsChecked(store, kExploreValue);
  return form;
}

void SaveFormSettings(SettingsStore& store, const FormSettings& form) {
  store.WriteText(kTitleValue, form.title);
  store.WriteText(kAuthorValue, form.author);
  store.WriteText(kKeywordsValue, form.keywords);
  store.WriteText(kMenuValue, form.menu_text);
  StoreCssOnly(store, form.css_only);
  store.WriteNumber(kExploreValue, form.open_folder ? 1 : 0);
}

void StoreCssOnly(SettingsStore& store, bool css_only) {
  store.WriteNumber(kCssOnlyValue, css_only ? 1 : 0);
}

}  // namespace trellan
