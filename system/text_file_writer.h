#pragma once
// Writing one file, always whole. A file that is not there yet is created
// under its own name and written; should any write fail, it is deleted, so
// it is missing or complete. A file that is there is replaced: the bytes
// go to a new temporary file in the same folder, which is flushed to the
// disk and then moved over it, so that neither a full disk nor a power cut
// leaves it cut off or emptied: it holds its previous or all of its new
// bytes. This is how system/ writes every file.
#include <string>
#include <string_view>

#include "generator/write_result.h"
#include "system/handles.h"

namespace trellan {

class TextFileWriter {
 public:
  // A file that is read-only, or a folder, is not replaced: nothing is
  // written and Close() says why. A hidden or system file stays hidden or
  // system.
  explicit TextFileWriter(const std::string& path);
  // Without Close() nothing changes: a file that was there keeps its bytes,
  // one that was not stays missing, and no temporary file is left.
  ~TextFileWriter();
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  // Appends the bytes exactly as they are. After a failed write the
  // remaining writes have no effect.
  void Write(std::string_view bytes);
  // Puts the written bytes in place; true when every byte got there.
  // Otherwise the file is as it was before (e.g. when another program holds
  // it open or the disk is full) and the result says why. Either way no
  // temporary file is left.
  WriteResult Close();

 private:
  void OpenTemporary(DWORD found_attributes);
  void Fail(DWORD error);
  void Discard();

  std::string path_;
  std::string temporary_path_;  // empty when the file is written directly
  bool created_ = false;        // the file itself was created and is not complete yet
  FileHandle file_;
  WriteResult result_;
};

// Deletes a file, named by the same causes as a write when it cannot be:
// a read-only file is left alone, as the writer leaves it.
WriteResult RemoveWholeFile(const std::string& path);

// Writes a whole file in one go; true when it was written completely.
WriteResult WriteWholeFile(const std::string& path, std::string_view prefix,
                           std::string_view bytes);

}  // namespace trellan
