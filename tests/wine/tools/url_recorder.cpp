// Stands in for the web browser in the tests that open a page:
//   url_recorder <record file> <address...>
// writes the command line it was started with to the record file, whole
// (through a temporary file beside it), so that a test that sees the file
// sees all of it.
#include <windows.h>

#include <string>

#include "system/handles.h"

namespace {

bool WriteRecord(const std::string& path, const std::string& line) {
  const trellan::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file &&
         WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string record = argv[1];
  const std::string part = record + ".part";
  return WriteRecord(part, GetCommandLineA()) &&
                 MoveFileExA(part.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING)
             ? 0
             : 1;
}
