#include "system/text_file_writer.h"

#include <cstddef>

namespace trellan {

namespace {

// The user's share of a drive is used up (a school's network drive);
// MinGW's headers lack its name.
constexpr DWORD kErrorDiskQuotaExceeded = 1295;

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

FileHandle CreateNew(const std::string& path, DWORD attributes) {
  return FileHandle(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
}

// A new, empty file in `folder` under a name that no file has: CREATE_NEW
// never opens an existing file, a learner's "~tr….tmp" included. The name
// is set in `path`; when no file could be created, `path` is the name tried
// last and the error is returned.
DWORD CreateTemporaryIn(const std::string& folder, DWORD attributes, std::string& path,
                        FileHandle& file) {
  static unsigned long counter = 0;  // one thread: the program has no other
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    path = folder + "~tr";
    AppendHex(path, GetCurrentProcessId());
    path += '-';
    AppendHex(path, ++counter);
    path += ".tmp";
    file = CreateNew(path, attributes);
    if (file) return ERROR_SUCCESS;
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return error;
}

WriteCause CauseOf(DWORD error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return WriteCause::InUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kErrorDiskQuotaExceeded: return WriteCause::DiskFull;
    case ERROR_ACCESS_DENIED: return WriteCause::AccessDenied;
    case ERROR_FILENAME_EXCED_RANGE: return WriteCause::PathTooLong;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY: return WriteCause::FolderMissing;
    case ERROR_WRITE_PROTECT: return WriteCause::WriteProtected;
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_DEVICE_NOT_CONNECTED: return WriteCause::DriveGone;
    default: return WriteCause::Other;
  }
}

// Replacing a file that another program holds open is refused as a denied
// access on Windows; opening the file for deletion as every program allows
// tells that apart from a missing right.
bool HeldOpen(const std::string& path) {
  const FileHandle probe(CreateFileA(path.c_str(), DELETE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

TextFileWriter::TextFileWriter(const std::string& path) : path_(path) {
  // Only a file that no one has is created in place: one that appeared
  // since the folder was looked at is replaced, never cut.
  file_ = CreateNew(path, FILE_ATTRIBUTE_NORMAL);
  created_ = static_cast<bool>(file_);
  if (created_) return;
  const DWORD error = GetLastError();
  const DWORD found = GetFileAttributesA(path.c_str());
  if (found == INVALID_FILE_ATTRIBUTES) {
    Fail(error);
  } else if (found & FILE_ATTRIBUTE_DIRECTORY) {
    result_ = {WriteCause::FolderInTheWay, error};
  } else if (found & FILE_ATTRIBUTE_READONLY) {
    // The user (or a teacher) protected the file: it is left alone and
    // reported, as a file held open is.
    result_ = {WriteCause::ReadOnly, ERROR_FILE_READ_ONLY};
  } else {
    OpenTemporary(found);
  }
}

TextFileWriter::~TextFileWriter() { Discard(); }

void TextFileWriter::OpenTemporary(DWORD found_attributes) {
  const DWORD kept = found_attributes & kKeptAttributes;
  const DWORD error = CreateTemporaryIn(FolderOf(path_), kept ? kept : FILE_ATTRIBUTE_NORMAL,
                                        temporary_path_, file_);
  if (error == ERROR_SUCCESS) return;
  Fail(error);
  // The name tried last is not ours: it may be another's file.
  temporary_path_.clear();
}

void TextFileWriter::Fail(DWORD error) {
  WriteCause cause = CauseOf(error);
  // The ANSI functions refuse a path of MAX_PATH characters or more in
  // several ways; the temporary name is the longer one.
  const std::size_t length = temporary_path_.empty() ? path_.size() : temporary_path_.size();
  if (length >= MAX_PATH && (cause == WriteCause::FolderMissing || cause == WriteCause::Other))
    cause = WriteCause::PathTooLong;
  result_ = {cause, static_cast<std::uint32_t>(error)};
}

void TextFileWriter::Write(std::string_view bytes) {
  while (result_ && !bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x100000 ? 0x100000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr)) {
      Fail(GetLastError());
    } else if (written == 0) {
      Fail(ERROR_WRITE_FAULT);
    }
    bytes.remove_prefix(written);
  }
}

WriteResult TextFileWriter::Close() {
  const bool replacing = !temporary_path_.empty();
  // A file that replaces another must be on the disk before the move, or a
  // power cut right after it could leave the name on an empty file. A new
  // file has no previous bytes to lose and is not flushed: the flush would
  // cost a disk write per file and still leave a file cut by a power cut
  // during the write.
  if (result_ && replacing && !FlushFileBuffers(file_.get())) Fail(GetLastError());
  // A disk that fills up may refuse the last bytes only when they are
  // flushed on closing.
  if (file_ && !CloseHandle(file_.release()) && result_) Fail(GetLastError());
  if (result_ && replacing) {
    if (!MoveFileExA(temporary_path_.c_str(), path_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      const DWORD error = GetLastError();
      Fail(error);
      if (error == ERROR_ACCESS_DENIED && HeldOpen(path_)) result_.cause = WriteCause::InUse;
    } else {
      temporary_path_.clear();
    }
  }
  if (result_) created_ = false;  // complete: it stays
  Discard();
  SetLastError(ERROR_SUCCESS);  // nothing of a failed file is left pending
  return result_;
}

void TextFileWriter::Discard() {
  // Whatever did not become the file goes: the temporary file, or the new
  // file that was not written completely.
  file_.reset();
  if (!temporary_path_.empty()) DeleteFileA(temporary_path_.c_str());
  if (created_) DeleteFileA(path_.c_str());
  temporary_path_.clear();
  created_ = false;
}

WriteResult RemoveWholeFile(const std::string& path) {
  const DWORD found = GetFileAttributesA(path.c_str());
  if (found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_READONLY))
    return {WriteCause::ReadOnly, ERROR_FILE_READ_ONLY};
  if (DeleteFileA(path.c_str())) return {};
  const DWORD error = GetLastError();
  return {error == ERROR_ACCESS_DENIED && HeldOpen(path) ? WriteCause::InUse : CauseOf(error),
          error};
}

WriteResult WriteWholeFile(const std::string& path, std::string_view prefix,
                           std::string_view bytes) {
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
