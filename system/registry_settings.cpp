#include "system/registry_settings.h"

#include <windows.h>

#include "identity.h"
#include "system/system.h"

namespace trellan {

std::string RegistrySettings::ReadText(const char* name, std::size_t max_characters) const {
  return ReadRegString(HKEY_CURRENT_USER, kSettingsKey, name, max_characters + 1);
}

void RegistrySettings::WriteText(const char* name, const std::string& text) {
  WriteRegString(HKEY_CURRENT_USER, kSettingsKey, name, text);
}

std::uint32_t RegistrySettings::ReadNumber(const char* name) const {
  return ReadRegDword(HKEY_CURRENT_USER, kSettingsKey, name);
}

void RegistrySettings::WriteNumber(const char* name, std::uint32_t number) {
  WriteRegDword(HKEY_CURRENT_USER, kSettingsKey, name, number);
}

}  // namespace trellan
