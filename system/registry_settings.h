#pragma once
// The settings under HKEY_CURRENT_USER\<kSettingsKey>: texts as REG_SZ,
// numbers as REG_DWORD; the key is created on the first write. Failures are
// silent, as everywhere in system.h.
#include "settings/settings_store.h"

namespace trellan {

class RegistrySettings final : public SettingsStore {
 public:
  std::string ReadText(const char* name, std::size_t max_characters) const override;
  void WriteText(const char* name, const std::string& text) override;
  std::uint32_t ReadNumber(const char* name) const override;
  void WriteNumber(const char* name, std::uint32_t number) override;
};

}  // namespace trellan
