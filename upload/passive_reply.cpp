#include "upload/passive_reply.h"
#include "utils/ascii.h"

namespace trellan::upload {

namespace {

// A decimal number of at most `max` at `at`, which moves past it.
std::optional<std::uint32_t> Number(std::string_view text, std::size_t& at, std::uint32_t max) {
  std::size_t digits = 0;
  std::uint32_t value = 0;
  while (at < text.size() && IsAsciiDigit(text[at])) {
    value = value * 10 + static_cast<std::uint32_t>(text[at] - '0');
    if (value > max || ++digits > 5) return std::nullopt;
    ++at;
  }
  if (digits == 0) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::uint16_t> ParseEpsvReply(std::string_view text) {
  const std::size_t open = text.find('(');
  if (open == std::string_view::npos || open + 4 >= text.size()) return std::nullopt;
  // "(" d d d port d ")", d any printable character but a digit.
  const char d = text[open + 1];
  if (d < 33 || d > 126 || IsAsciiDigit(d) || text[open + 2] != d || text[open + 3] != d)
    return std::nullopt;
  std::size_t at = open + 4;
  const auto port = Number(text, at, 65535);
  if (!port || *port == 0 || at + 1 >= text.size() || text[at] != d || text[at + 1] != ')')
    return std::nullopt;
  return static_cast<std::uint16_t>(*port);
}

std::optional<DataAddress> ParsePasvReply(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && !IsAsciiDigit(text[at])) ++at;
  std::uint32_t numbers[6];
  for (int i = 0; i < 6; ++i) {
    if (i > 0) {
      if (at >= text.size() || text[at] != ',') return std::nullopt;
      ++at;
    }
    const auto number = Number(text, at, 255);
    if (!number) return std::nullopt;
    numbers[i] = *number;
  }
  DataAddress data;
  for (int i = 0; i < 4; ++i) data.address[i] = static_cast<std::uint8_t>(numbers[i]);
  data.port = static_cast<std::uint16_t>(numbers[4] * 256 + numbers[5]);
  if (data.port == 0) return std::nullopt;
  return data;
}

bool IsPrivateAddress(const Ipv4& a) {
  return a[0] == 0 || a[0] == 10 || a[0] == 127 || (a[0] == 100 && (a[1] & 0xC0) == 64) ||
         (a[0] == 169 && a[1] == 254) || (a[0] == 172 && (a[1] & 0xF0) == 16) ||
         (a[0] == 192 && a[1] == 168);
}

DataAddress PassiveTarget(const DataAddress& named, const Ipv4& server) {
  if (named.address != server && IsPrivateAddress(named.address)) return {server, named.port};
  return named;
}

}  // namespace trellan::upload
