#include "system/upload_files.h"

#include "system/text_file_writer.h"
#include "upload/sha256.h"
#include "upload/upload_record.h"

namespace trellan {

namespace {

constexpr std::size_t kHashChunkBytes = 256 * 1024;

}  // namespace

std::vector<upload::LocalFile> SiteUploadFiles::List(const std::atomic<bool>& cancelled,
                                                     const upload::FileStates& uploaded,
                                                     bool send_all) {
  std::vector<upload::LocalFile> files;
  std::size_t hint = 0;
  for (const sitecheck::SiteEntry& entry : files_.ListEntries()) {
    if (cancelled.load()) break;
    if (entry.is_folder || upload::StaysOnPc(entry.path)) continue;
    // A file that differs in size from the record, or is not in it, goes up
    // in any case and its hash is taken from the bytes sent: here it is
    // only opened, to leave it out should it not be readable.
    const upload::FileState* recorded =
        send_all ? nullptr : upload::FindState(uploaded, entry.path, hint);
    const bool compare = recorded && recorded->size == entry.size;
    upload::Sha256 hash;
    std::uint64_t size = 0;
    bool readable = true;
    while (true) {
      const auto chunk = files_.ReadRange(entry.path, size, compare ? kHashChunkBytes : 0);
      if (!chunk) readable = false;
      if (!chunk || chunk->empty()) break;
      hash.Add(*chunk);
      size += chunk->size();
    }
    if (readable)
      files.push_back({entry.path, compare
                                       ? upload::FileState{size, upload::HexDigest(hash.Finish())}
                                       : upload::FileState{entry.size, {}}});
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
