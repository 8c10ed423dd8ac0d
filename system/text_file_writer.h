#pragma once
// Writing one generated file: it is created, or emptied when it exists
// (never appended to). When the file cannot be created or a write fails,
// the remaining writes have no effect and Close() says so.
#include <string>
#include <string_view>

#include "system/handles.h"

namespace trellan {

class TextFileWriter {
 public:
  explicit TextFileWriter(const std::string& path);
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  // Appends the bytes exactly as they are.
  void Write(std::string_view bytes);
  // Closes the file; true when it was created and every write went through.
  bool Close();

 private:
  FileHandle file_;
  bool ok_;
};

// Writes a whole file in one go; true when it was written completely.
bool WriteWholeFile(const std::string& path, std::string_view prefix, std::string_view bytes);

}  // namespace trellan
