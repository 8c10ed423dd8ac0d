#pragma once
// The record of what was uploaded, kept in the site's "_ftp" folder: for
// each server and folder, the size and SHA-256 of every file as it was
// sent. The next upload sends only files that are new or differ from it.
//
//   Trellan: hochgeladene Dateien ...        (any line not "[" or a digit)
//   [user@host:21/www]
//   1234 <64 hex digits> media/bild.jpg      (UTF-8 path, '/' separators)
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace trellan::upload {

inline constexpr const char* kRecordFileName = "_ftp\\hochgeladen.txt";

struct FileState {
  std::uint64_t size = 0;
  std::string sha256;  // 64 lower-case hex digits
  bool operator==(const FileState&) const = default;
};

// Path → state, for one server and folder.
using FileStates = std::map<std::string, FileState>;
// Section key (UploadTarget::RecordKey) → its files.
using UploadRecord = std::map<std::string, FileStates>;

// Reads what the record file holds; lines that are not well-formed (a
// learner's edit, a file cut off) are left out, so at worst a file is sent
// again.
UploadRecord ReadUploadRecord(std::string_view text);
// The record file's bytes, CR LF line ends; ReadUploadRecord gives the
// record back.
std::string UploadRecordText(const UploadRecord& record);

}  // namespace trellan::upload
