#pragma once
// The dialog's form as one value, its defaults, and how it is kept between
// runs of the program. The dialog maps the value to and from its controls.
#include <string>

#include "settings/settings_store.h"

namespace trellan {

// The form's default values: what the fields show when created and after
// "&Neu", and what a missing stored value loads as.
inline constexpr const char* kDefaultTitle = "Seitentitel eingeben";
inline constexpr const char* kDefaultAuthor = "Vorname Name";
inline constexpr const char* kDefaultKeywords =
    "Schl\xFCsselw\xF6rter f\xFCr Suchmaschinen eingeben";
inline constexpr const char* kDefaultMenu =
    "Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum";

// The texts are in the ANSI code page, as the dialog shows them.
struct FormSettings {
  std::string title;
  std::string author;
  std::string keywords;
  std::string menu_text;  // lines separated by CR LF
  bool css_only = false;
  bool open_folder = false;
  bool operator==(const FormSettings&) const = default;
};

// The built-in form: what the controls show when they are created and
// after "&Neu".
FormSettings DefaultFormSettings();

// The stored form ("&Laden", and when the dialog opens). A text that is
// missing, or starts with a blank or a control character, loads as its
// default; a box is checked only by a stored 1. The single-line texts are
// read with up to 1024 characters, the menu with up to 8191, all that
// "&Sichern" can have stored.
FormSettings LoadFormSettings(const SettingsStore& store);

// Stores the form ("&Sichern"): PageTitle, PageAuthor, PageKeywords,
// PageMenue, CSSOnly and Explore, in this order; boxes as 1 or 0.
void SaveFormSettings(SettingsStore& store, const FormSettings& form);

// The one place that writes CSSOnly: "&Sichern", the dialog's opening (a
// site on the desktop starts it in CSS-only mode) and a run whose user kept
// the existing pages.
void StoreCssOnly(SettingsStore& store, bool css_only);

}  // namespace trellan
