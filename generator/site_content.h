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
// a byte-order mark (the run adds the mark to zoom.js).
std::string StylesheetText();
std::string ZoomScriptText();
std::string ThumbnailScriptText();
std::string FtpUploadScriptText();
std::string StartScriptText();
std::string BackupScriptText();
std::string HtaccessText();
std::string FtpCommandText();

}  // namespace trellan
