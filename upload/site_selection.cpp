#include "upload/site_selection.h"
#include "utils/ascii.h"

namespace trellan::upload {

namespace {

bool EndsWithFolded(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         AsciiEqualIgnoringCase(text.substr(text.size() - end.size()), end);
}

}  // namespace

bool StaysOnPc(std::string_view path) {
  const std::size_t slash = path.find('/');
  const std::string_view top = path.substr(0, slash);
  if (slash != std::string_view::npos &&
      (AsciiEqualIgnoringCase(top, "_ftp") || AsciiEqualIgnoringCase(top, "_Sicherung")))
    return true;
  const std::string_view name = path.substr(path.rfind('/') + 1);
  if (slash == std::string_view::npos && (AsciiEqualIgnoringCase(name, "_Pruefbericht.html") ||
                                          AsciiEqualIgnoringCase(name, "_Bilder.txt")))
    return true;
  if (name.starts_with('~') || name.starts_with(".~") || name.ends_with('~')) return true;
  static constexpr std::string_view kOwnNames[] = {"Thumbs.db", "desktop.ini", ".DS_Store"};
  static constexpr std::string_view kOwnEnds[] = {".cmd", ".tmp", ".temp", ".bak", ".swp"};
  for (const std::string_view own : kOwnNames)
    if (AsciiEqualIgnoringCase(name, own)) return true;
  for (const std::string_view end : kOwnEnds)
    if (EndsWithFolded(name, end)) return true;
  return false;
}

UploadChoice ChooseFilesToSend(const std::vector<LocalFile>& files, const FileStates& uploaded,
                               bool send_all) {
  UploadChoice choice;
  std::size_t hint = 0;
  for (const LocalFile& file : files) {
    const FileState* found = send_all ? nullptr : FindState(uploaded, file.path, hint);
    if (found && *found == file.state) {
      ++choice.unchanged;
      continue;
    }
    choice.to_send.push_back(file);
    choice.bytes_to_send += file.state.size;
  }
  return choice;
}

}  // namespace trellan::upload
