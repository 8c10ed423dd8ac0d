#pragma once
// Named texts and numbers kept between runs of the program. Free of the
// platform: the registry holds them in the program (registry_settings.h),
// memory in the native tests.
#include <cstddef>
#include <cstdint>
#include <string>

namespace trellan {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored text, cut to `max_characters`; empty when it is missing.
  virtual std::string ReadText(const char* name, std::size_t max_characters) const = 0;
  virtual void WriteText(const char* name, const std::string& text) = 0;
  // 0 when it is missing.
  virtual std::uint32_t ReadNumber(const char* name) const = 0;
  virtual void WriteNumber(const char* name, std::uint32_t number) = 0;
};

}  // namespace trellan
