#include "system/text_file_writer.h"

namespace trellan {

TextFileWriter::TextFileWriter(const std::string& path)
    : file_(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr)),
      ok_(static_cast<bool>(file_)) {}

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
  if (file_ && !CloseHandle(file_.release())) ok_ = false;
  SetLastError(ERROR_SUCCESS);  // nothing of a failed file is left pending
  return ok_;
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
