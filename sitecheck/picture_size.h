#pragma once
// The pixel size of a picture from its header, read in small pieces at
// offsets so that a 6 MB photo costs a few hundred bytes of reading, not
// the whole file.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace trellan::sitecheck {

struct PictureSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// Up to `length` bytes of the file from `offset`: fewer at its end, none
// past it; nullopt when the file cannot be read.
using ReadAt = std::function<std::optional<std::string>(std::uint64_t offset, std::size_t length)>;

// A JPEG (the frame header of any SOF0-SOF15 marker other than DHT, JPG
// and DAC, found by walking the segments from the start, so EXIF and other
// APPn segments of any size are stepped over), PNG (IHDR), GIF (logical
// screen) or WebP (VP8, VP8L or VP8X) picture, recognised by its first
// bytes, not by its name. nullopt for any other file, and for a truncated
// or broken header, a JPEG whose scan starts before a frame header, a size
// of 0, or a JPEG that needs more than kMaxJpegSteps reads to get there.
inline constexpr int kMaxJpegSteps = 1000;
std::optional<PictureSize> ReadPictureSize(const ReadAt& read);

}  // namespace trellan::sitecheck
