#include "mediatools/gallery_text.h"

#include <algorithm>

namespace trellan {

namespace {

// The order in which extensions are taken out of a caption; it differs
// from the search order on purpose, so that "x.png.jpg" loses both.
constexpr std::array<std::string_view, 7> kCaptionExtensions = {
    ".jpg", ".jpeg", ".jfif", ".png", ".gif", ".webp", ".svg"};

void AppendUtf8(std::string& out, char32_t code_point) {
  const auto byte = [&out](char32_t value) { out.push_back(static_cast<char>(value)); };
  if (code_point < 0x80) {
    byte(code_point);
  } else if (code_point < 0x800) {
    byte(0xC0 | (code_point >> 6));
    byte(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    byte(0xE0 | (code_point >> 12));
    byte(0x80 | ((code_point >> 6) & 0x3F));
    byte(0x80 | (code_point & 0x3F));
  } else {
    byte(0xF0 | (code_point >> 18));
    byte(0x80 | ((code_point >> 12) & 0x3F));
    byte(0x80 | ((code_point >> 6) & 0x3F));
    byte(0x80 | (code_point & 0x3F));
  }
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Position of the first occurrence of `needle`, ignoring ASCII case only.
std::size_t FindIgnoringAsciiCase(std::string_view text, std::string_view needle) {
  const auto found = std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                                 [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
  return found == text.end() ? std::string_view::npos
                             : static_cast<std::size_t>(found - text.begin());
}

// Removes `extension` wherever it stands, searching from the start after
// each removal, but stops when the next match begins where the last one
// was taken out: of two adjacent copies ("a.jpg.jpg") one stays.
void RemoveExtension(std::string& text, std::string_view extension) {
  std::size_t removed_at = std::string::npos;
  for (;;) {
    const std::size_t at = FindIgnoringAsciiCase(text, extension);
    if (at == std::string::npos || at == removed_at) return;
    text.erase(at, extension.size());
    removed_at = at;
  }
}

bool IsKeptInSource(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '/' ||
         byte == ':' || byte == '_' || byte == '~';
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      const char32_t high = unit - 0xD800u;
      const char32_t low = utf16[++i] - 0xDC00u;
      AppendUtf8(out, 0x10000u + (high << 10) + low);
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

bool IsDerivedPictureName(std::string_view utf8_name) {
  return utf8_name.find("_t.") != std::string_view::npos ||
         utf8_name.find("_w.") != std::string_view::npos;
}

std::string EncodeSourceName(std::string_view utf8_name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8_name.size() * 3);
  for (const char c : utf8_name) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsKeptInSource(byte)) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0x0F]);
    }
  }
  return out;
}

std::string CaptionOf(std::string_view utf8_name) {
  std::string caption(utf8_name);
  for (const std::string_view extension : kCaptionExtensions) RemoveExtension(caption, extension);
  std::replace(caption.begin(), caption.end(), '_', ' ');
  // Only ASCII: the first byte of a multi-byte character stays as it is.
  if (!caption.empty() && caption[0] >= 'a' && caption[0] <= 'z')
    caption[0] = static_cast<char>(caption[0] - 'a' + 'A');
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
      "\r\rDie Datei wird mit dem Editor ge\xF6" "ffnet, der Inhalt kann dann \xFC" "ber die "
      "Zwischenablage \xFC" "bernommen werden.";
  return text;
}

}  // namespace trellan
