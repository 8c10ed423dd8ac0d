#include "upload/upload_record.h"

namespace trellan::upload {

namespace {

constexpr const char* kRecordHeader =
    "Trellan: hochgeladene Dateien je Server und Ordner (Bytes, SHA-256, Name)";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLowerHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f'); }

// A line without its line end.
std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// "size sha256 path"; the path neither empty nor holding a control
// character.
bool ParseFileLine(std::string_view line, std::string& path, FileState& state) {
  std::size_t at = 0;
  std::uint64_t size = 0;
  while (at < line.size() && IsDigit(line[at])) {
    if (at == 19) return false;  // beyond any file size
    size = size * 10 + static_cast<std::uint64_t>(line[at] - '0');
    ++at;
  }
  if (at == 0 || at + 66 > line.size() || line[at] != ' ' || line[at + 65] != ' ') return false;
  const std::string_view hash = line.substr(at + 1, 64);
  for (const char c : hash)
    if (!IsLowerHex(c)) return false;
  const std::string_view name = line.substr(at + 66);
  if (name.empty()) return false;
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 32) return false;
  path.assign(name);
  state.size = size;
  state.sha256.assign(hash);
  return true;
}

}  // namespace

UploadRecord ReadUploadRecord(std::string_view text) {
  UploadRecord record;
  FileStates* section = nullptr;
  while (!text.empty()) {
    const std::string_view line = NextLine(text);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = &record[std::string(line.substr(1, line.size() - 2))];
      continue;
    }
    std::string path;
    FileState state;
    if (section && ParseFileLine(line, path, state)) (*section)[path] = std::move(state);
  }
  return record;
}

std::string UploadRecordText(const UploadRecord& record) {
  std::string text = kRecordHeader;
  text += "\r\n";
  for (const auto& [key, files] : record) {
    text += '[' + key + "]\r\n";
    for (const auto& [path, state] : files)
      text += std::to_string(state.size) + ' ' + state.sha256 + ' ' + path + "\r\n";
  }
  return text;
}

}  // namespace trellan::upload
