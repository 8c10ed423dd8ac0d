#pragma once
// The site folder as the upload reads it: the files that go to a server,
// each with its size and SHA-256, and their bytes piece by piece. Names go
// through the wide API (see DiskSiteFiles) and reach the upload in UTF-8.
#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "system/site_check_files.h"
#include "upload/ftp_upload.h"
#include "upload/site_selection.h"

namespace trellan {

class SiteUploadFiles final : public upload::UploadSource {
 public:
  explicit SiteUploadFiles(std::string_view folder) : files_(folder) {}

  // Every file but those that stay on the PC (upload::StaysOnPc), in the
  // listing's order; a file that cannot be read is left out.
  // Stops early, with what it has, once `cancelled` is set. Only a file
  // that `uploaded` holds with its present size is hashed; the others (all
  // of them with `send_all`) differ anyway and come with no hash.
  std::vector<upload::LocalFile> List(const std::atomic<bool>& cancelled,
                                      const upload::FileStates& uploaded, bool send_all);
  std::optional<std::string> Read(const std::string& path, std::uint64_t offset,
                                  std::size_t length) override;

 private:
  DiskSiteFiles files_;
};

// Writes the record of what was uploaded into the site's "_ftp" folder
// (made when missing), whole; true when it was written.
bool WriteUploadRecord(const std::string& site_folder, std::string_view text);

}  // namespace trellan
