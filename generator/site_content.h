#pragma once
// The fixed files of the generated site, as the bytes that a run writes.
#include <array>
#include <string>
#include <string_view>

namespace trellan {

struct MediaFile {
  std::string_view name;   // relative to the site folder
  std::string_view bytes;  // written unchanged
};

// The sample media, in the order in which a full run writes them.
const std::array<MediaFile, 4>& SampleMedia();

// The text files whose content is fixed, with CR LF line ends and without
// a byte-order mark (the run adds the mark to zoom.js). Each is built on
// first use and kept: every run writes the same bytes.
const std::string& StylesheetText();
const std::string& ZoomScriptText();
const std::string& ThumbnailScriptText();
const std::string& FtpUploadScriptText();
const std::string& StartScriptText();
const std::string& BackupScriptText();
const std::string& HtaccessText();
const std::string& FtpCommandText();

}  // namespace trellan
