#pragma once
// What a stored registry value's raw data mean, apart from the registry: the
// data come as they were stored, of any type and length, with or without a
// terminating zero. Portable, so that it is tested natively and fuzzed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace trellan {

// The text of a value: up to its first zero or the end of the data,
// whichever comes first, cut to `capacity` - 1 bytes (`capacity` counts the
// zero, so 0 gives the empty text). The type is not looked at.
std::string StoredTextOf(std::string_view data, std::size_t capacity);

// The number of a value, as the registry puts it into a 4-byte number that
// starts out as 0: shorter data fill its low bytes, longer data do not fit
// and give 0. The type is not looked at.
std::uint32_t StoredNumberOf(std::string_view data);

}  // namespace trellan
