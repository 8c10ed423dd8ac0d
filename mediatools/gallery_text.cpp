#include "mediatools/gallery_text.h"

#include <algorithm>

#include "utils/ascii.h"
#include "utils/percent.h"

namespace trellan {

namespace {

// The order in which extensions are taken out of a caption; it differs
// from the search order on purpose, so that "x.png.jpg" loses both.
constexpr std::array<std::string_view, 7> kCaptionExtensions = {".jpg", ".jpeg", ".jfif", ".png",
                                                                ".gif", ".webp", ".svg"};

// Removes `extension` wherever it stands, searching from the start after
// each removal, but stops when the next match begins where the last one
// was taken out: of two adjacent copies ("a.jpg.jpg") one stays.
void RemoveExtension(std::string& text, std::string_view extension) {
  std::size_t removed_at = std::string::npos;
  for (;;) {
    const std::size_t at = AsciiFindIgnoringCase(text, extension);
    if (at == std::string::npos || at == removed_at) return;
    text.erase(at, extension.size());
    removed_at = at;
  }
}

}  // namespace

bool IsDerivedPictureName(std::string_view utf8_name) {
  return utf8_name.find("_t.") != std::string_view::npos ||
         utf8_name.find("_w.") != std::string_view::npos;
}

std::string EncodeSourceName(std::string_view utf8_name) {
  return PercentEncode(utf8_name, "-./:_~");
}

std::string CaptionOf(std::string_view utf8_name) {
  std::string caption(utf8_name);
  for (const std::string_view extension : kCaptionExtensions) RemoveExtension(caption, extension);
  std::replace(caption.begin(), caption.end(), '_', ' ');
  // Only ASCII: the first byte of a multi-byte character stays as it is.
  if (!caption.empty()) caption[0] = AsciiUpper(caption[0]);
  return caption;
}

std::string FigureBlock(std::string_view utf8_name) {
  const std::string caption = CaptionOf(utf8_name);
  std::string block;
  block += "<figure>\r\n";
  block += "  <img class=\"bild zoom\"\r\n";
  block += "   src=\"media/" + EncodeSourceName(utf8_name) + "\"\r\n";
  block += "   title=\"" + caption + "\"\r\n";
  block += "   alt=\"" + caption + "\">\r\n";
  block += "  <figcaption>" + caption + "</figcaption>\r\n";
  block += "</figure>\r\n";
  block += "\r\n";
  return block;
}

std::string GalleryNoticeText(std::string_view list_path) {
  std::string text = "Die HTML-Bildergalerie wurde vorbereitet:\r\r";
  text += list_path;
  text +=
      "\r\rDie Datei wird mit dem Editor ge\xF6"
      "ffnet, der Inhalt kann dann \xFC"
      "ber die "
      "Zwischenablage \xFC"
      "bernommen werden.";
  return text;
}

}  // namespace trellan
