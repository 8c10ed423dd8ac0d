// libFuzzer target for what an FTP server sends on the control connection:
// its replies, in pieces of any size.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_checks.h"
#include "upload/ftp_reply.h"

namespace {

using trellan::fuzz::Require;
using namespace trellan::upload;

// The same bytes read whole and in pieces give the same replies.
std::string Replies(const std::string& bytes, FuzzedDataProvider* cuts) {
  FtpReplyReader reader;
  std::string seen;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t piece =
        cuts ? cuts->ConsumeIntegralInRange<std::size_t>(1, bytes.size() - at) : bytes.size();
    reader.Feed(std::string_view(bytes).substr(at, piece));
    at += piece;
    while (auto reply = reader.Next()) {
      Require(reply->code >= 100 && reply->code <= 599);
      Require(reply->text.size() <= kMaxReplyBytes + 100);
      seen += std::to_string(reply->code) + '|' + reply->text + '\n';
    }
  }
  return seen + (reader.broken() ? "broken" : "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string bytes = input.ConsumeRandomLengthString(5000);
  Require(Replies(bytes, nullptr) == Replies(bytes, &input));
  return 0;
}
