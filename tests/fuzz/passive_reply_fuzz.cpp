// libFuzzer target for where a data connection goes: the EPSV and PASV
// replies of a server and the rule for private addresses.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_checks.h"
#include "upload/passive_reply.h"

using trellan::fuzz::Require;
using namespace trellan::upload;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const Ipv4 server{input.ConsumeIntegral<std::uint8_t>(), input.ConsumeIntegral<std::uint8_t>(),
                    input.ConsumeIntegral<std::uint8_t>(), input.ConsumeIntegral<std::uint8_t>()};
  const std::string text = input.ConsumeRemainingBytesAsString();
  if (const auto port = ParseEpsvReply(text)) Require(*port != 0);
  if (const auto named = ParsePasvReply(text)) {
    Require(named->port != 0);
    const DataAddress used = PassiveTarget(*named, server);
    Require(used.port == named->port);
    Require(used.address == named->address || used.address == server);
    // Never a private address the server did not name as its own.
    Require(used.address == server || !IsPrivateAddress(used.address));
  }
  return 0;
}
