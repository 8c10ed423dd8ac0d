#pragma once
// The FTP server's replies (RFC 959, 4.2), read from the bytes of the
// control connection as they arrive: one line "227 text", or several from
// "211-text" to the line that starts with the same code and a space.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace trellan::upload {

// A reply: its three-digit code and its text (the lines without their
// codes, joined by "\n").
struct FtpReply {
  int code = 0;
  std::string text;
  bool operator==(const FtpReply&) const = default;
};

// A server that sends more than this in one line or one reply is broken or
// hostile: the reader stops there.
inline constexpr std::size_t kMaxReplyLineBytes = 4096;
inline constexpr std::size_t kMaxReplyBytes = 65536;

class FtpReplyReader {
 public:
  // Adds bytes as they came from the connection, in any pieces.
  void Feed(std::string_view bytes);
  // The next complete reply, if one has arrived.
  std::optional<FtpReply> Next();
  // The bytes are no FTP reply (a line without a code, or too long); no
  // further reply comes out.
  bool broken() const { return broken_; }

 private:
  std::optional<std::string> TakeLine();

  std::string buffer_;
  std::size_t start_ = 0;         // the first byte in buffer_ not yet read
  std::optional<FtpReply> open_;  // a multi-line reply still open
  std::size_t open_bytes_ = 0;
  bool broken_ = false;
};

}  // namespace trellan::upload
