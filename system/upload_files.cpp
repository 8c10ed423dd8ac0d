#include "system/upload_files.h"

#include "system/text_file_writer.h"
#include "upload/sha256.h"
#include "upload/upload_record.h"

namespace trellan {

namespace {

constexpr std::size_t kHashChunkBytes = 256 * 1024;

}  // namespace

std::vector<upload::LocalFile> SiteUploadFiles::List(const std::atomic<bool>& cancelled) {
  std::vector<upload::LocalFile> files;
  for (const sitecheck::SiteEntry& entry : files_.ListEntries()) {
    if (cancelled.load()) break;
    if (entry.is_folder || upload::StaysOnPc(entry.path)) continue;
    upload::Sha256 hash;
    std::uint64_t size = 0;
    bool readable = true;
    while (true) {
      const auto chunk = files_.ReadRange(entry.path, size, kHashChunkBytes);
      if (!chunk) readable = false;
      if (!chunk || chunk->empty()) break;
      hash.Add(*chunk);
      size += chunk->size();
    }
    if (readable) files.push_back({entry.path, {size, upload::HexDigest(hash.Finish())}});
  }
  return files;
}

std::optional<std::string> SiteUploadFiles::Read(const std::string& path, std::uint64_t offset,
                                                 std::size_t length) {
  return files_.ReadRange(path, offset, length);
}

bool WriteUploadRecord(const std::string& site_folder, std::string_view text) {
  CreateDirectoryA((site_folder + "_ftp").c_str(), nullptr);  // there already: fine
  return static_cast<bool>(WriteWholeFile(site_folder + upload::kRecordFileName, {}, text));
}

}  // namespace trellan
