#pragma once
// What became of writing one file: written, or why not. system/ decides the
// cause from the platform's error; the notices name it (run_texts.h).
#include <cstdint>
#include <string>

namespace trellan {

enum class WriteCause {
  None,            // written completely
  ReadOnly,        // the file is marked read-only: it is left alone
  InUse,           // another program holds it open
  DiskFull,        // no room left on the drive (or the user's quota is used up)
  AccessDenied,    // no right to write it or its folder
  PathTooLong,     // the path is longer than Windows allows
  FolderMissing,   // its folder is not there (a file of the folder's name, say)
  FolderInTheWay,  // a folder has the file's name
  WriteProtected,  // the drive itself is write-protected
  DriveGone,       // the drive or network share went away
  Other,           // anything else: only the error code tells
};

struct WriteResult {
  WriteCause cause = WriteCause::None;
  std::uint32_t error = 0;  // the platform's error code; 0 when written
  explicit operator bool() const { return cause == WriteCause::None; }
  bool operator==(const WriteResult&) const = default;
};

// A file of a run that could not be written, relative to the site folder.
struct FailedFile {
  std::string target;
  WriteResult result;
  bool operator==(const FailedFile&) const = default;
};

}  // namespace trellan
