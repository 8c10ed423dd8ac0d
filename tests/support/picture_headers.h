#pragma once
// Hand-made picture headers of a given size for the site check's tests and
// benchmark: just the bytes the size parser reads, plus what lies before
// them.
#include <cstdint>
#include <string>

namespace trellan::test {

inline std::string BigEndian16(std::uint32_t value) {
  return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

inline std::string LittleEndian16(std::uint32_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

inline std::string BigEndian32(std::uint32_t value) {
  return BigEndian16(value >> 16) + BigEndian16(value & 0xFFFF);
}

inline std::string PngHeader(std::uint32_t width, std::uint32_t height) {
  return std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) + BigEndian32(width) +
         BigEndian32(height) + std::string("\x08\x02\0\0\0", 5);
}

inline std::string GifHeader(std::uint32_t width, std::uint32_t height) {
  return "GIF89a" + LittleEndian16(width) + LittleEndian16(height) + std::string("\x80\0\0", 3);
}

// A JPEG segment: marker, then the length and the payload.
inline std::string JpegSegment(unsigned char marker, const std::string& payload) {
  return std::string{'\xFF', static_cast<char>(marker)} +
         BigEndian16(static_cast<std::uint32_t>(payload.size() + 2)) + payload;
}

// SOI, an EXIF-like APP1 of `exif_bytes`, a frame header (SOF0 unless
// another marker is given), and the start of the scan.
inline std::string JpegHeader(std::uint32_t width, std::uint32_t height,
                              std::size_t exif_bytes = 16, unsigned char frame = 0xC0) {
  return std::string("\xFF\xD8", 2) + JpegSegment(0xE1, std::string(exif_bytes, 'x')) +
         JpegSegment(frame, "\x08" + BigEndian16(height) + BigEndian16(width) +
                                std::string("\x03\x01\x22\x00", 4)) +
         JpegSegment(0xDA, std::string(10, '\0'));
}

}  // namespace trellan::test
