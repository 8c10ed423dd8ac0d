// libFuzzer target for the gallery's name handling: any bytes as a UTF-8
// name. Besides the sanitizers, each
// function's promises are checked, and a broken one aborts.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "mediatools/gallery_text.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {

using trellan::fuzz::Require;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;  // lower-case hex is not what the encoder writes
}

bool IsKept(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         std::string_view("-./:_~").find(static_cast<char>(c)) != std::string_view::npos;
}

// Decodes the encoder's output, aborting on anything it must not write.
std::string DecodeSource(std::string_view encoded) {
  std::string decoded;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '%') {
      Require(IsKept(static_cast<unsigned char>(encoded[i])));
      decoded.push_back(encoded[i]);
      continue;
    }
    Require(i + 2 < encoded.size());  // two hex digits follow every %
    const int high = HexValue(encoded[i + 1]);
    const int low = HexValue(encoded[i + 2]);
    Require(high >= 0 && low >= 0);
    const auto byte = static_cast<unsigned char>(high * 16 + low);
    Require(!IsKept(byte));  // kept bytes are never escaped
    decoded.push_back(static_cast<char>(byte));
    i += 2;
  }
  return decoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view name(reinterpret_cast<const char*>(data), size);

  Require(DecodeSource(trellan::EncodeSourceName(name)) == name);

  const std::string caption = trellan::CaptionOf(name);
  Require(caption.size() <= name.size());
  Require(caption.find('_') == std::string::npos);
  Require(caption.empty() || caption[0] < 'a' || caption[0] > 'z');

  const std::string block = trellan::FigureBlock(name);
  Require(block.starts_with("<figure>\r\n") && block.ends_with("</figure>\r\n\r\n"));
  return 0;
}
