#include "system/text_file_writer.h"

#include <cstddef>

namespace trellan {

namespace {

// Names tried for a temporary file before the write gives up; a name is
// taken only by a file left behind by an earlier process of the same id.
constexpr int kTemporaryNameAttempts = 100;

// The attributes a new file carries from the one it replaces: hiding is the
// user's choice and stays; the rest is the new file's own.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::string FolderOf(const std::string& path) {
  const std::size_t end = path.find_last_of("\\/");
  return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

void AppendHex(std::string& text, unsigned long value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[value % 16]);
    value /= 16;
  } while (value != 0);
  text += digits;
}

// A new, empty file in `folder` under a name that no file has: CREATE_NEW
// never opens an existing file, a learner's "~tr….tmp" included. The name
// is set in `path`, or cleared when no file could be created.
FileHandle CreateTemporaryIn(const std::string& folder, DWORD attributes, std::string& path) {
  static unsigned long counter = 0;  // one thread: the program has no other
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    path = folder + "~tr";
    AppendHex(path, GetCurrentProcessId());
    path += '-';
    AppendHex(path, ++counter);
    path += ".tmp";
    FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
    if (file) return file;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  path.clear();
  return FileHandle();
}

}  // namespace

TextFileWriter::TextFileWriter(const std::string& path) : path_(path), ok_(false) {
  const DWORD found = GetFileAttributesA(path.c_str());
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if (found != INVALID_FILE_ATTRIBUTES) {
    // The user (or a teacher) protected the file: it is left alone and
    // reported, as a file held open is.
    if (found & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return;
    if (found & kKeptAttributes) attributes = found & kKeptAttributes;
  }
  file_ = CreateTemporaryIn(FolderOf(path), attributes, temporary_path_);
  ok_ = static_cast<bool>(file_);
}

TextFileWriter::~TextFileWriter() { Discard(); }

void TextFileWriter::Write(std::string_view bytes) {
  while (ok_ && !bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x100000 ? 0x100000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
      ok_ = false;
      break;
    }
    bytes.remove_prefix(written);
  }
}

bool TextFileWriter::Close() {
  // A disk that fills up may refuse the last bytes only when they are
  // flushed on closing.
  if (file_ && !CloseHandle(file_.release())) ok_ = false;
  const bool replaced = ok_ && MoveFileExA(temporary_path_.c_str(), path_.c_str(),
                                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (replaced) temporary_path_.clear();
  Discard();
  SetLastError(ERROR_SUCCESS);  // nothing of a failed file is left pending
  return replaced;
}

void TextFileWriter::Discard() {
  file_.reset();
  if (!temporary_path_.empty()) DeleteFileA(temporary_path_.c_str());
  temporary_path_.clear();
  ok_ = false;
}

bool WriteWholeFile(const std::string& path, std::string_view prefix, std::string_view bytes) {
  TextFileWriter writer(path);
  if (prefix.empty()) {
    writer.Write(bytes);
  } else {
    // One write instead of two: a write call costs more than copying a page.
    std::string whole;
    whole.reserve(prefix.size() + bytes.size());
    whole.append(prefix).append(bytes);
    writer.Write(whole);
  }
  return writer.Close();
}

}  // namespace trellan
