#include "system/protected_data.h"

#include <windows.h>
// After <windows.h>, whose types it uses.
#include <wincrypt.h>

namespace trellan {

namespace {

// Ties the data to this program as well: another program of the same
// account that calls CryptUnprotectData blindly gets nothing.
constexpr char kEntropy[] = "Trellan FTP";

class LocalMemory {
 public:
  explicit LocalMemory(BYTE* data) : data_(data) {}
  ~LocalMemory() {
    if (data_) LocalFree(data_);
  }
  LocalMemory(const LocalMemory&) = delete;
  LocalMemory& operator=(const LocalMemory&) = delete;

 private:
  BYTE* data_;
};

DATA_BLOB BlobOf(std::string_view bytes) {
  return {static_cast<DWORD>(bytes.size()),
          reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
}

}  // namespace

std::string ProtectForAccount(std::string_view secret) {
  DATA_BLOB in = BlobOf(secret);
  DATA_BLOB entropy = BlobOf({kEntropy, sizeof kEntropy - 1});
  DATA_BLOB out{};
  if (!CryptProtectData(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
    return {};
  const LocalMemory owned(out.pbData);
  return {reinterpret_cast<const char*>(out.pbData), out.cbData};
}

std::optional<std::string> UnprotectForAccount(std::string_view encrypted) {
  if (encrypted.empty()) return std::nullopt;
  DATA_BLOB in = BlobOf(encrypted);
  DATA_BLOB entropy = BlobOf({kEntropy, sizeof kEntropy - 1});
  DATA_BLOB out{};
  if (!CryptUnprotectData(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                          &out))
    return std::nullopt;
  const LocalMemory owned(out.pbData);
  std::string secret(reinterpret_cast<const char*>(out.pbData), out.cbData);
  SecureZeroMemory(out.pbData, out.cbData);
  return secret;
}

}  // namespace trellan
