#include "upload/ftp_reply.h"
#include "utils/ascii.h"

namespace trellan::upload {

namespace {

// The code of a line that starts with three digits and then `separator`.
std::optional<int> CodeOf(std::string_view line, char separator) {
  // "200" alone is taken as "200 " with no text.
  const bool bare = line.size() == 3 && separator == ' ';
  if ((line.size() < 4 && !bare) || !IsAsciiDigit(line[0]) || !IsAsciiDigit(line[1]) ||
      !IsAsciiDigit(line[2]) || (!bare && line[3] != separator) || line[0] < '1' || line[0] > '5')
    return std::nullopt;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

std::string TextAfterCode(const std::string& line) {
  return line.size() > 4 ? line.substr(4) : std::string();
}

}  // namespace

void FtpReplyReader::Feed(std::string_view bytes) {
  if (broken_) return;
  // What was read is dropped before the buffer grows.
  if (start_ > 0 && start_ >= buffer_.size() / 2) {
    buffer_.erase(0, start_);
    start_ = 0;
  }
  buffer_.append(bytes);
}

std::optional<std::string> FtpReplyReader::TakeLine() {
  const std::size_t end = buffer_.find('\n', start_);
  if (end == std::string::npos) {
    if (buffer_.size() - start_ > kMaxReplyLineBytes) broken_ = true;
    return std::nullopt;
  }
  if (end - start_ > kMaxReplyLineBytes) {
    broken_ = true;
    return std::nullopt;
  }
  std::string line = buffer_.substr(start_, end - start_);
  start_ = end + 1;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::optional<FtpReply> FtpReplyReader::Next() {
  while (!broken_) {
    std::optional<std::string> line = TakeLine();
    if (!line) return std::nullopt;
    if (!open_) {
      if (const auto code = CodeOf(*line, ' ')) return FtpReply{*code, TextAfterCode(*line)};
      if (const auto code = CodeOf(*line, '-')) {
        open_ = FtpReply{*code, TextAfterCode(*line)};
        open_bytes_ = line->size();
        continue;
      }
      broken_ = true;  // a reply must start with its code
      return std::nullopt;
    }
    open_bytes_ += line->size();
    if (open_bytes_ > kMaxReplyBytes) {
      broken_ = true;
      return std::nullopt;
    }
    // Inner lines may be anything, even start with another code.
    if (CodeOf(*line, ' ') == open_->code) {
      FtpReply reply = std::move(*open_);
      open_.reset();
      reply.text += '\n';
      reply.text += TextAfterCode(*line);
      return reply;
    }
    open_->text += '\n';
    open_->text += *line;
  }
  return std::nullopt;
}

}  // namespace trellan::upload
