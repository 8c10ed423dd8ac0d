#pragma once
// Percent-encoding of names in URLs ("%XX" for a byte).
#include <string>
#include <string_view>

namespace trellan {

// Every byte becomes "%XX" (upper-case hex) except ASCII letters, digits
// and the characters listed in `kept`.
std::string PercentEncode(std::string_view bytes, std::string_view kept);

// "%XX" (either case of hex) becomes that byte; a '%' without two hex
// digits stays.
std::string PercentDecode(std::string_view text);

}  // namespace trellan
