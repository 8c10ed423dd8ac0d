#pragma once
// Writing one file, always whole: the bytes go to a new temporary file in
// the same folder, which replaces the file only once all of them are
// written. A full disk or a failed write leaves the file as it was (or
// missing, when there was none), never cut off or emptied. This is how
// system/ writes every file.
#include <string>
#include <string_view>

#include "system/handles.h"

namespace trellan {

class TextFileWriter {
 public:
  // A file that is read-only, or a folder, is not replaced: nothing is
  // written and Close() says so. A hidden or system file stays hidden or
  // system.
  explicit TextFileWriter(const std::string& path);
  // Without Close() the file stays as it was and the temporary file goes.
  ~TextFileWriter();
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  // Appends the bytes exactly as they are. After a failed write the
  // remaining writes have no effect.
  void Write(std::string_view bytes);
  // Puts the written bytes in place of the file; true when it was written
  // completely and replaced. Otherwise the file keeps its previous bytes,
  // e.g. when another program holds it open. Either way no temporary file
  // is left.
  bool Close();

 private:
  void Discard();

  std::string path_;
  std::string temporary_path_;  // empty when there is none
  FileHandle file_;
  bool ok_;
};

// Writes a whole file in one go; true when it was written completely.
bool WriteWholeFile(const std::string& path, std::string_view prefix, std::string_view bytes);

}  // namespace trellan
