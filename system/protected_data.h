#pragma once
// A secret kept for the Windows account: encrypted with the account's key
// (CryptProtectData), so that neither another account nor a copy of the
// registry on another PC can read it.
#include <optional>
#include <string>
#include <string_view>

namespace trellan {

// The encrypted bytes; empty when Windows could not encrypt.
std::string ProtectForAccount(std::string_view secret);
// The secret back; nothing when the bytes are not this account's.
std::optional<std::string> UnprotectForAccount(std::string_view encrypted);

}  // namespace trellan
