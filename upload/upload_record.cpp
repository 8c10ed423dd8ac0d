#include "upload/upload_record.h"
#include "utils/ascii.h"

namespace trellan::upload {

namespace {

constexpr const char* kRecordHeader = "Trellan: hochgeladene Dateien (Bytes, SHA-256, Name)";

bool IsLowerHex(char c) { return IsAsciiDigit(c) || (c >= 'a' && c <= 'f'); }

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
  while (at < line.size() && IsAsciiDigit(line[at])) {
    const auto digit = static_cast<std::uint64_t>(line[at] - '0');
    constexpr std::uint64_t kTenth = UINT64_MAX / 10;  // beyond it, no size fits
    if (size > kTenth || (size == kTenth && digit > UINT64_MAX % 10)) return false;
    size = size * 10 + digit;
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

// The decimal digits of a size, without 64-bit division (which a 32-bit
// program would have to carry a routine for): four 16-bit limbs, each step
// divides them by ten.
std::string DecimalOf(std::uint64_t value) {
  std::uint32_t limbs[4] = {static_cast<std::uint32_t>(value >> 48) & 0xFFFF,
                            static_cast<std::uint32_t>(value >> 32) & 0xFFFF,
                            static_cast<std::uint32_t>(value >> 16) & 0xFFFF,
                            static_cast<std::uint32_t>(value) & 0xFFFF};
  std::string digits;
  do {
    std::uint32_t rest = 0;
    for (std::uint32_t& limb : limbs) {
      const std::uint32_t part = (rest << 16) | limb;
      limb = part / 10;
      rest = part % 10;
    }
    digits.insert(digits.begin(), static_cast<char>('0' + rest));
  } while ((limbs[0] | limbs[1] | limbs[2] | limbs[3]) != 0);
  return digits;
}

}  // namespace

FileStates& SectionOf(UploadRecord& record, std::string_view key) {
  for (RecordSection& section : record)
    if (section.key == key) return section.files;
  record.push_back({std::string(key), {}});
  return record.back().files;
}

const FileState* FindState(const FileStates& files, std::string_view path, std::size_t& hint) {
  for (std::size_t step = 0; step < files.size(); ++step) {
    const std::size_t at = (hint + step) % files.size();
    if (files[at].path == path) {
      hint = at + 1;
      return &files[at].state;
    }
  }
  return nullptr;
}

void SetState(FileStates& files, FileEntry file) {
  std::size_t hint = 0;
  if (FindState(files, file.path, hint))
    files[hint - 1].state = std::move(file.state);
  else
    files.push_back(std::move(file));
}

UploadRecord ReadUploadRecord(std::string_view text) {
  UploadRecord record;
  FileStates* section = nullptr;
  while (!text.empty()) {
    const std::string_view line = NextLine(text);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = &SectionOf(record, line.substr(1, line.size() - 2));
      continue;
    }
    FileEntry file;
    if (section && ParseFileLine(line, file.path, file.state)) section->push_back(std::move(file));
  }
  return record;
}

std::string UploadRecordText(const UploadRecord& record) {
  std::string text = kRecordHeader;
  text += "\r\n";
  for (const RecordSection& section : record) {
    text += '[' + section.key + "]\r\n";
    for (const FileEntry& file : section.files)
      text += DecimalOf(file.state.size) + ' ' + file.state.sha256 + ' ' + file.path + "\r\n";
  }
  return text;
}

}  // namespace trellan::upload
