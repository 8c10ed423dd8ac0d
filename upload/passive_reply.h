#pragma once
// Where a passive data connection goes: the port of an EPSV reply (RFC
// 2428) and the address and port of a PASV reply (RFC 959), with the rule
// for servers behind a router that name their private address.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trellan::upload {

using Ipv4 = std::array<std::uint8_t, 4>;

struct DataAddress {
  Ipv4 address{};
  std::uint16_t port = 0;
  bool operator==(const DataAddress&) const = default;
};

// "229 Entering Extended Passive Mode (|||6446|)": the port; any delimiter
// the RFC allows. Nothing for port 0 or a malformed text.
std::optional<std::uint16_t> ParseEpsvReply(std::string_view text);
// "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)", with or without the
// brackets: the six numbers after the first digit of the text.
std::optional<DataAddress> ParsePasvReply(std::string_view text);

// 0/8, 10/8, 100.64/10, 127/8, 169.254/16, 172.16/12, 192.168/16: addresses
// that are not the same machine from elsewhere.
bool IsPrivateAddress(const Ipv4& address);

// Where the data connection goes for a PASV reply on a control connection
// to `server`: where the reply names a private address other than the
// server's (a server behind a router that does not know its public one),
// the server's address, else the named one.
DataAddress PassiveTarget(const DataAddress& named, const Ipv4& server);

}  // namespace trellan::upload
