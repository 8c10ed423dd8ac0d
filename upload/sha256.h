#pragma once
// SHA-256 (FIPS 180-4): the fingerprint of what was uploaded and of a
// server's certificate. Portable, so that the record and its tests need no
// Windows.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace trellan::upload {

class Sha256 {
 public:
  Sha256();
  void Add(std::string_view bytes);
  // The digest; the object is used up.
  std::array<std::uint8_t, 32> Finish();

 private:
  void Block(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> pending_{};
  std::size_t pending_size_ = 0;
  std::uint64_t total_ = 0;
};

// 64 lower-case hex digits.
std::string HexDigest(const std::array<std::uint8_t, 32>& digest);
std::string Sha256Hex(std::string_view bytes);

}  // namespace trellan::upload
