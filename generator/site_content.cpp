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

const std::string& StylesheetText() {
  static const std::string text = WithCrLf(embedded::kStyleCss);
  return text;
}
const std::string& ZoomScriptText() {
  static const std::string text = WithCrLf(embedded::kZoomJs);
  return text;
}
const std::string& ThumbnailScriptText() {
  static const std::string text = WithCrLf(embedded::kScriptCreateThumbnails);
  return text;
}
const std::string& FtpUploadScriptText() {
  static const std::string text = WithCrLf(embedded::kScriptFtpUpload);
  return text;
}
const std::string& StartScriptText() {
  static const std::string text = WithCrLf(embedded::kScriptStart);
  return text;
}
const std::string& BackupScriptText() {
  static const std::string text = WithCrLf(embedded::kScriptBackUp);
  return text;
}
const std::string& HtaccessText() {
  static const std::string text = WithCrLf(embedded::kHtaccess);
  return text;
}
const std::string& FtpCommandText() {
  static const std::string text = WithCrLf(embedded::kFtpPipe);
  return text;
}

}  // namespace trellan
