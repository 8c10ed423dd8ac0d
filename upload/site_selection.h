#pragma once
// Which files of the site folder go to the server, and which of them need
// to: what belongs on the learner's PC stays there, and a file whose size
// and SHA-256 match the record of this server and folder is not sent again.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "upload/upload_record.h"

namespace trellan::upload {

// `path`: relative to the site folder, UTF-8, '/'-separated. True for the
// upload's record and the FTP command file ("_ftp/"), the backups
// ("_Sicherung/"), the helper scripts (*.cmd), the site check's report, the
// gallery snippets, Explorer's and the desktop's files (Thumbs.db,
// desktop.ini, .DS_Store) and temporary files (~*, .~*, *~, *.tmp, *.temp,
// *.bak, *.swp). Upper and lower case do not matter, as on Windows.
bool StaysOnPc(std::string_view path);

using LocalFile = FileEntry;

struct UploadChoice {
  std::vector<LocalFile> to_send;  // in the order given
  std::size_t unchanged = 0;
  std::uint64_t bytes_to_send = 0;
};

// The files that differ from `uploaded` (the record's section of this
// server and folder); with `send_all`, every file.
UploadChoice ChooseFilesToSend(const std::vector<LocalFile>& files, const FileStates& uploaded,
                               bool send_all);

}  // namespace trellan::upload
