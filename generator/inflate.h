#pragma once
// Unpacking a raw deflate stream (RFC 1951), as the build packs the
// program's text templates with gzip.
#include <cstddef>
#include <string>
#include <string_view>

namespace trellan {

// The `size` bytes that `deflated` unpacks to, or nothing when it is not a
// complete deflate stream of exactly that many bytes. Reads nothing
// outside `deflated` and never makes more than `size` bytes, whatever it
// holds.
bool Inflate(std::string_view deflated, std::size_t size, std::string& out);

}  // namespace trellan
