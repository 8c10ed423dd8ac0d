#include "settings/stored_value.h"

namespace trellan {

std::string StoredTextOf(std::string_view data, std::size_t capacity) {
  if (capacity == 0) return {};
  data = data.substr(0, data.find('\0'));
  return std::string(data.substr(0, capacity - 1));
}

std::uint32_t StoredNumberOf(std::string_view data) {
  if (data.size() > sizeof(std::uint32_t)) return 0;
  std::uint32_t number = 0;
  // Little-endian, as Windows stores a REG_DWORD.
  for (std::size_t i = data.size(); i-- > 0;)
    number = (number << 8) | static_cast<unsigned char>(data[i]);
  return number;
}

}  // namespace trellan
