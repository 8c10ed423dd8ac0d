#pragma once
// The record of what was uploaded, kept in the site's "_ftp" folder: for
// each server and folder, the size and SHA-256 of every file as it was
// sent. The next upload sends only files that are new or differ from it.
//
//   Trellan: hochgeladene Dateien ...        (any line not "[" or a digit)
//   [user@host:21/www]
//   1234 <64 hex digits> media/bild.jpg      (UTF-8 path, '/' separators)
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trellan::upload {

inline constexpr const char* kRecordFileName = "_ftp\\hochgeladen.txt";

struct FileState {
  std::uint64_t size = 0;
  std::string sha256;  // 64 lower-case hex digits
  bool operator==(const FileState&) const = default;
};

// A file of the site: its path relative to the site folder (UTF-8, '/'
// separators) and its state.
struct FileEntry {
  std::string path;
  FileState state;
  bool operator==(const FileEntry&) const = default;
};

// The files of one server and folder, in the order they were recorded.
using FileStates = std::vector<FileEntry>;

struct RecordSection {
  std::string key;  // UploadTarget::RecordKey
  FileStates files;
  bool operator==(const RecordSection&) const = default;
};
using UploadRecord = std::vector<RecordSection>;

// The section of `key`, added when it is missing.
FileStates& SectionOf(UploadRecord& record, std::string_view key);
// The recorded state of `path`, if any. The search starts at `hint` and
// leaves it after the match: files looked up in the order they were
// recorded are found at once.
const FileState* FindState(const FileStates& files, std::string_view path, std::size_t& hint);
// Records `file`: its entry is replaced, or added at the end.
void SetState(FileStates& files, FileEntry file);

// Reads what the record file holds; lines that are not well-formed (a
// learner's edit, a file cut off) are left out, so at worst a file is sent
// again.
UploadRecord ReadUploadRecord(std::string_view text);
// The record file's bytes, CR LF line ends; ReadUploadRecord gives the
// record back.
std::string UploadRecordText(const UploadRecord& record);

}  // namespace trellan::upload
