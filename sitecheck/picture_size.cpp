#include "sitecheck/picture_size.h"

#include <string_view>

namespace trellan::sitecheck {

namespace {

std::uint32_t Byte(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}

std::uint32_t BigEndian16(std::string_view bytes, std::size_t at) {
  return Byte(bytes, at) << 8 | Byte(bytes, at + 1);
}

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
  return BigEndian16(bytes, at) << 16 | BigEndian16(bytes, at + 2);
}

std::uint32_t LittleEndian16(std::string_view bytes, std::size_t at) {
  return Byte(bytes, at) | Byte(bytes, at + 1) << 8;
}

std::uint32_t LittleEndian24(std::string_view bytes, std::size_t at) {
  return LittleEndian16(bytes, at) | Byte(bytes, at + 2) << 16;
}

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) {
  return LittleEndian16(bytes, at) | LittleEndian16(bytes, at + 2) << 16;
}

std::optional<PictureSize> SizeOf(std::uint32_t width, std::uint32_t height) {
  if (width == 0 || height == 0) return std::nullopt;
  return PictureSize{width, height};
}

bool IsFrameHeader(std::uint32_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool HasNoLength(std::uint32_t marker) {
  return (marker >= 0xD0 && marker <= 0xD8) || marker == 0x01;  // RSTn, SOI, TEM
}

// Walks the segments from just after the SOI marker. A segment is FF (any
// number of FF fill bytes), the marker, and for most markers a 16-bit
// length that counts itself and the payload.
std::optional<PictureSize> JpegSize(const ReadAt& read) {
  constexpr std::size_t kPiece = 16;  // fill bytes, marker, length and a frame header's size
  std::uint64_t position = 2;
  for (int step = 0; step < kMaxJpegSteps; ++step) {
    const auto piece = read(position, kPiece);
    if (!piece || piece->size() < 2 || Byte(*piece, 0) != 0xFF) return std::nullopt;
    std::size_t fill = 0;
    while (fill < piece->size() && Byte(*piece, fill) == 0xFF) ++fill;
    if (fill == piece->size()) {  // only fill bytes so far: keep the last FF
      position += fill - 1;
      continue;
    }
    const std::uint32_t marker = Byte(*piece, fill);
    if (marker == 0x00) return std::nullopt;
    if (HasNoLength(marker)) {
      position += fill + 1;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // EOI, or the scan
    const std::size_t at = fill + 1;
    if (piece->size() < at + 2) {  // the length lies past this piece
      position += fill - 1;
      if (fill == 1) return std::nullopt;  // file ends here
      continue;
    }
    const std::uint32_t length = BigEndian16(*piece, at);
    if (length < 2) return std::nullopt;
    if (IsFrameHeader(marker)) {
      if (length < 8) return std::nullopt;
      if (piece->size() < at + 7) {
        if (fill == 1) return std::nullopt;
        position += fill - 1;  // read again from the marker's own FF
        continue;
      }
      return SizeOf(BigEndian16(*piece, at + 5), BigEndian16(*piece, at + 3));
    }
    position += at + length;
  }
  return std::nullopt;
}

std::optional<PictureSize> WebpSize(std::string_view head) {
  if (head.size() < 30) return std::nullopt;
  const std::string_view chunk = head.substr(12, 4);
  if (chunk == "VP8 ") {
    if (head.substr(23, 3) != "\x9D\x01\x2A") return std::nullopt;
    return SizeOf(LittleEndian16(head, 26) & 0x3FFF, LittleEndian16(head, 28) & 0x3FFF);
  }
  if (chunk == "VP8L") {
    if (Byte(head, 20) != 0x2F) return std::nullopt;
    const std::uint32_t bits = LittleEndian32(head, 21);
    return SizeOf((bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
  }
  if (chunk == "VP8X") return SizeOf(LittleEndian24(head, 24) + 1, LittleEndian24(head, 27) + 1);
  return std::nullopt;
}

}  // namespace

std::optional<PictureSize> ReadPictureSize(const ReadAt& read) {
  const auto head_read = read(0, 32);
  if (!head_read) return std::nullopt;
  const std::string_view head = *head_read;
  if (head.substr(0, 3) == "\xFF\xD8\xFF") return JpegSize(read);
  if (head.substr(0, 8) == "\x89PNG\r\n\x1A\n") {
    if (head.size() < 24 || head.substr(12, 4) != "IHDR") return std::nullopt;
    return SizeOf(BigEndian32(head, 16), BigEndian32(head, 20));
  }
  if (head.substr(0, 6) == "GIF87a" || head.substr(0, 6) == "GIF89a") {
    if (head.size() < 10) return std::nullopt;
    return SizeOf(LittleEndian16(head, 6), LittleEndian16(head, 8));
  }
  if (head.size() >= 12 && head.substr(0, 4) == "RIFF" && head.substr(8, 4) == "WEBP")
    return WebpSize(head);
  return std::nullopt;
}

}  // namespace trellan::sitecheck
