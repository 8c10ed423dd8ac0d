#include "generator/site_content.h"

#include "embedded_files.h"
#include "generator/text_output.h"

namespace trellan {

const std::array<MediaFile, 4>& SampleMedia() {
  static const std::array<MediaFile, 4> media{{
      {"media\\candle.mp4", embedded::kMediaCandleMp4},
      {"media\\matterhorn.jpg", embedded::kMediaMatterhornJpg},
      {"media\\karte.png", embedded::kMediaKartePng},
      {"media\\avatar.svg", embedded::kMediaAvatarSvg},
  }};
  return media;
}

std::string StylesheetText() { return WithCrLf(embedded::kStyleCss); }
std::string ZoomScriptText() { return WithCrLf(embedded::kZoomJs); }
std::string ThumbnailScriptText() { return WithCrLf(embedded::kScriptCreateThumbnails); }
std::string FtpUploadScriptText() { return WithCrLf(embedded::kScriptFtpUpload); }
std::string StartScriptText() { return WithCrLf(embedded::kScriptStart); }
std::string BackupScriptText() { return WithCrLf(embedded::kScriptBackUp); }
std::string HtaccessText() { return WithCrLf(embedded::kHtaccess); }
std::string FtpCommandText() { return WithCrLf(embedded::kFtpPipe); }

}  // namespace trellan
