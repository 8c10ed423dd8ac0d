// The four sample media files that a full run copies into the site's media
// folder: their container structure and the properties the sample pages rely
// on. A regenerated file that drifts from these (another encoder default, a
// progressive JPEG, a palette PNG, an SVG with a declaration) fails here.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trellan {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using Bytes = std::vector<std::uint8_t>;

Bytes ReadMedia(const char* name) {
  const std::string path = std::string(TRELLAN_SOURCE_DIR "/generator/media/") + name;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot open " << path;
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Be16(const Bytes& b, std::size_t at) {
  return at + 2 <= b.size() ? (std::uint32_t{b[at]} << 8) | b[at + 1] : 0;
}

std::uint32_t Be32(const Bytes& b, std::size_t at) {
  return at + 4 <= b.size() ? (Be16(b, at) << 16) | Be16(b, at + 2) : 0;
}

std::uint64_t Be64(const Bytes& b, std::size_t at) {
  return (std::uint64_t{Be32(b, at)} << 32) | Be32(b, at + 4);
}

std::string Tag(const Bytes& b, std::size_t at) {
  return at + 4 <= b.size() ? std::string(b.begin() + at, b.begin() + at + 4) : std::string();
}

// ---------------------------------------------------------------- MP4 ----

struct Box {
  std::string type;
  std::size_t start = 0;  // first byte of the box header
  std::size_t body = 0;   // first byte after the header
  std::size_t end = 0;    // one past the last byte
};

// The boxes that fill [from, to) exactly; a box that overruns the range or
// leaves a gap fails the test and ends the list.
std::vector<Box> Boxes(const Bytes& b, std::size_t from, std::size_t to) {
  std::vector<Box> boxes;
  std::size_t at = from;
  while (at < to) {
    if (to - at < 8) {
      ADD_FAILURE() << "truncated box header at " << at;
      break;
    }
    std::uint64_t size = Be32(b, at);
    std::size_t header = 8;
    if (size == 1) {
      size = Be64(b, at + 8);
      header = 16;
    } else if (size == 0) {
      size = to - at;
    }
    if (size < header || size > to - at) {
      ADD_FAILURE() << "box '" << Tag(b, at + 4) << "' at " << at << " has bad size " << size;
      break;
    }
    boxes.push_back({Tag(b, at + 4), at, at + header, at + static_cast<std::size_t>(size)});
    at += static_cast<std::size_t>(size);
  }
  return boxes;
}

std::vector<Box> Children(const Bytes& b, const Box& parent, std::size_t skip = 0) {
  return Boxes(b, parent.body + skip, parent.end);
}

std::optional<Box> Find(const std::vector<Box>& boxes, std::string_view type) {
  for (const Box& box : boxes) {
    if (box.type == type) return box;
  }
  return std::nullopt;
}

// Follows a path of box types, each the first of its kind in its parent.
std::optional<Box> Path(const Bytes& b, const Box& from,
                        std::initializer_list<std::string_view> types) {
  Box current = from;
  for (std::string_view type : types) {
    const std::optional<Box> next = Find(Children(b, current), type);
    if (!next) return std::nullopt;
    current = *next;
  }
  return current;
}

// Duration in seconds from an mvhd or mdhd full box (versions 0 and 1).
double HeaderSeconds(const Bytes& b, const Box& box) {
  const std::size_t p = box.body;
  if (b[p] == 1) {
    const std::uint32_t scale = Be32(b, p + 4 + 16);
    return scale ? static_cast<double>(Be64(b, p + 4 + 20)) / scale : 0.0;
  }
  const std::uint32_t scale = Be32(b, p + 4 + 8);
  return scale ? static_cast<double>(Be32(b, p + 4 + 12)) / scale : 0.0;
}

std::uint32_t TimeScale(const Bytes& b, const Box& mdhd) {
  return Be32(b, mdhd.body + 4 + (b[mdhd.body] == 1 ? 16 : 8));
}

// Width and height in whole pixels from a track header (16.16 fixed point).
std::pair<std::uint32_t, std::uint32_t> TrackSize(const Bytes& b, const Box& tkhd) {
  const std::size_t p = tkhd.body + 4 + (b[tkhd.body] == 1 ? 32 : 20) + 8 + 8 + 36;
  return {Be32(b, p) >> 16, Be32(b, p + 4) >> 16};
}

struct Track {
  std::string handler;
  Box trak, tkhd, mdhd, stbl, entry;  // entry: the first sample description
};

std::vector<Track> Tracks(const Bytes& b, const Box& moov) {
  std::vector<Track> tracks;
  for (const Box& trak : Children(b, moov)) {
    if (trak.type != "trak") continue;
    Track t;
    t.trak = trak;
    const auto tkhd = Find(Children(b, trak), "tkhd");
    const auto mdhd = Path(b, trak, {"mdia", "mdhd"});
    const auto hdlr = Path(b, trak, {"mdia", "hdlr"});
    const auto stbl = Path(b, trak, {"mdia", "minf", "stbl"});
    if (!tkhd || !mdhd || !hdlr || !stbl) {
      ADD_FAILURE() << "track without tkhd, mdhd, hdlr or stbl";
      continue;
    }
    t.tkhd = *tkhd;
    t.mdhd = *mdhd;
    t.stbl = *stbl;
    t.handler = Tag(b, hdlr->body + 8);
    const auto stsd = Find(Children(b, *stbl), "stsd");
    if (!stsd || Be32(b, stsd->body + 4) != 1) {
      ADD_FAILURE() << "track '" << t.handler << "' needs exactly one sample description";
      continue;
    }
    const std::vector<Box> entries = Children(b, *stsd, 8);
    if (entries.empty()) continue;
    t.entry = entries.front();
    tracks.push_back(t);
  }
  return tracks;
}

// An MPEG-4 descriptor inside an esds box: tag, then a size in 7-bit groups.
struct Descriptor {
  std::uint8_t tag = 0;
  std::size_t body = 0;
  std::size_t end = 0;
};

std::optional<Descriptor> ReadDescriptor(const Bytes& b, std::size_t at, std::size_t limit) {
  if (at >= limit) return std::nullopt;
  Descriptor d;
  d.tag = b[at];
  std::size_t size = 0, p = at + 1;
  for (int i = 0; i < 4 && p < limit; ++i) {
    const std::uint8_t c = b[p++];
    size = (size << 7) | (c & 0x7F);
    if (!(c & 0x80)) break;
  }
  if (p + size > limit) return std::nullopt;
  d.body = p;
  d.end = p + size;
  return d;
}

class CandleVideo : public ::testing::Test {
 protected:
  void SetUp() override {
    file = ReadMedia("candle.mp4");
    ASSERT_GT(file.size(), 1000u);
    top = Boxes(file, 0, file.size());
    ASSERT_FALSE(top.empty());
    const auto m = Find(top, "moov");
    ASSERT_TRUE(m) << "no moov box";
    moov = *m;
  }
  Bytes file;
  std::vector<Box> top;
  Box moov;
};

TEST_F(CandleVideo, FileTypeNamesIsomWithItsFourCompatibleBrands) {
  ASSERT_EQ(top.front().type, "ftyp");
  const Box& ftyp = top.front();
  EXPECT_EQ(Tag(file, ftyp.body), "isom");
  std::vector<std::string> brands;
  for (std::size_t p = ftyp.body + 8; p + 4 <= ftyp.end; p += 4) brands.push_back(Tag(file, p));
  EXPECT_EQ(brands, (std::vector<std::string>{"isom", "iso2", "avc1", "mp41"}));
}

TEST_F(CandleVideo, MediaDataComesBeforeTheMovieHeaderAtTheEnd) {
  std::size_t mdat_index = top.size(), moov_index = top.size();
  for (std::size_t i = 0; i < top.size(); ++i) {
    if (top[i].type == "mdat" && mdat_index == top.size()) mdat_index = i;
    if (top[i].type == "moov") moov_index = i;
  }
  ASSERT_LT(mdat_index, top.size()) << "no mdat box";
  EXPECT_LT(mdat_index, moov_index);
  EXPECT_EQ(top.back().type, "moov");
  EXPECT_EQ(top.back().end, file.size());
}

TEST_F(CandleVideo, StaysWithinItsSizeBudget) { EXPECT_LE(file.size(), 74272u); }

TEST_F(CandleVideo, OneHighProfileVideoTrackOf320By180) {
  int video = 0;
  for (const Track& t : Tracks(file, moov)) {
    if (t.handler != "vide") continue;
    ++video;
    ASSERT_EQ(t.entry.type, "avc1");
    // visual sample entry: 6 reserved, data reference, 16 pre-defined, then the size
    EXPECT_EQ(Be16(file, t.entry.body + 24), 320u);
    EXPECT_EQ(Be16(file, t.entry.body + 26), 180u);
    EXPECT_EQ(TrackSize(file, t.tkhd), std::make_pair(320u, 180u));
    const auto avcc = Find(Children(file, t.entry, 78), "avcC");
    ASSERT_TRUE(avcc) << "avc1 without avcC";
    EXPECT_EQ(file[avcc->body], 1) << "configuration version";
    EXPECT_EQ(file[avcc->body + 1], 100) << "profile (High)";
    EXPECT_EQ(file[avcc->body + 3], 21) << "level 2.1";
    const auto stsz = Find(Children(file, t.stbl), "stsz");
    ASSERT_TRUE(stsz);
    EXPECT_EQ(Be32(file, stsz->body + 8), 141u) << "frame count";
    const double seconds = HeaderSeconds(file, t.mdhd);
    EXPECT_GT(seconds, 3.8);
    EXPECT_LT(seconds, 4.3);
  }
  EXPECT_EQ(video, 1);
}

TEST_F(CandleVideo, OneStereoAacTrackAt48kHz) {
  int audio = 0;
  for (const Track& t : Tracks(file, moov)) {
    if (t.handler != "soun") continue;
    ++audio;
    ASSERT_EQ(t.entry.type, "mp4a");
    // audio sample entry: 6 reserved, data reference, 8 reserved, channels, sample size, 4, rate
    EXPECT_EQ(Be32(file, t.entry.body + 24) >> 16, 48000u) << "sample rate";
    EXPECT_EQ(TimeScale(file, t.mdhd), 48000u);
    const auto esds = Find(Children(file, t.entry, 28), "esds");
    ASSERT_TRUE(esds) << "mp4a without esds";
    // ES descriptor > decoder configuration (MPEG-4 audio) > AudioSpecificConfig;
    // the sample entry's channel field is fixed at 2 in MP4 files, the real count is here
    const auto es = ReadDescriptor(file, esds->body + 4, esds->end);
    ASSERT_TRUE(es && es->tag == 0x03);
    const std::uint8_t flags = file[es->body + 2];
    std::size_t q = es->body + 3;
    if (flags & 0x80) q += 2;
    if (flags & 0x40) q += 1 + file[q];
    if (flags & 0x20) q += 2;
    const auto config = ReadDescriptor(file, q, es->end);
    ASSERT_TRUE(config && config->tag == 0x04);
    EXPECT_EQ(file[config->body], 0x40) << "object type: MPEG-4 audio";
    const auto specific = ReadDescriptor(file, config->body + 13, config->end);
    ASSERT_TRUE(specific && specific->tag == 0x05 && specific->end - specific->body >= 2);
    const std::uint32_t asc = Be16(file, specific->body);
    EXPECT_EQ(asc >> 11, 2u) << "audio object type: AAC LC";
    EXPECT_EQ((asc >> 7) & 0x0F, 3u) << "sampling frequency index: 48000 Hz";
    EXPECT_EQ((asc >> 3) & 0x0F, 2u) << "channel configuration: stereo";
  }
  EXPECT_EQ(audio, 1);
  EXPECT_EQ(Tracks(file, moov).size(), 2u);
}

TEST_F(CandleVideo, MovieLastsAboutFourSeconds) {
  const auto mvhd = Find(Children(file, moov), "mvhd");
  ASSERT_TRUE(mvhd);
  const double seconds = HeaderSeconds(file, *mvhd);
  EXPECT_GT(seconds, 3.8);
  EXPECT_LT(seconds, 4.3);
}

// --------------------------------------------------------------- JPEG ----

TEST(MatterhornPhoto, BaselineJfifOf1600By900InThreeComponents) {
  const Bytes f = ReadMedia("matterhorn.jpg");
  ASSERT_GT(f.size(), 1000u);
  EXPECT_LT(f.size(), 233332u);
  ASSERT_EQ(Be16(f, 0), 0xFFD8u) << "SOI";
  ASSERT_EQ(Be16(f, 2), 0xFFE0u) << "APP0 must come first";
  EXPECT_EQ(std::string(f.begin() + 6, f.begin() + 11), std::string("JFIF\0", 5));

  std::set<std::uint32_t> frames;  // start-of-frame markers seen
  bool scan = false;
  std::size_t p = 2;
  while (p + 4 <= f.size()) {
    ASSERT_EQ(f[p], 0xFF) << "marker expected at " << p;
    const std::uint32_t marker = Be16(f, p);
    const std::uint32_t length = Be16(f, p + 2);
    if (marker >= 0xFFC0 && marker <= 0xFFCF && marker != 0xFFC4 && marker != 0xFFC8 &&
        marker != 0xFFCC) {
      frames.insert(marker);
      if (marker == 0xFFC0) {
        EXPECT_EQ(f[p + 4], 8) << "sample precision";
        EXPECT_EQ(Be16(f, p + 5), 900u) << "height";
        EXPECT_EQ(Be16(f, p + 7), 1600u) << "width";
        ASSERT_EQ(f[p + 9], 3) << "components";
        EXPECT_EQ(length, 8u + 3 * 3);
        for (int c = 0; c < 3; ++c)
          EXPECT_EQ(f[p + 10 + 3 * c], c + 1) << "component id (Y, Cb, Cr)";
      }
    }
    if (marker == 0xFFDA) {
      scan = true;
      break;
    }
    p += 2 + length;
  }
  EXPECT_TRUE(scan) << "no start of scan";
  EXPECT_EQ(frames, std::set<std::uint32_t>{0xFFC0}) << "only a baseline frame, no SOF2";
  EXPECT_EQ(Be16(f, f.size() - 2), 0xFFD9u) << "EOI";
}

// ---------------------------------------------------------------- PNG ----

std::uint32_t Crc32(const Bytes& b, std::size_t from, std::size_t to) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = from; i < to; ++i) {
    c ^= b[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return c ^ 0xFFFFFFFFu;
}

TEST(VillageMap, RgbPngOf568By354WithSoundChunks) {
  const Bytes f = ReadMedia("karte.png");
  ASSERT_GT(f.size(), 100u);
  EXPECT_LT(f.size(), 88712u);
  const std::array<std::uint8_t, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_TRUE(std::equal(signature.begin(), signature.end(), f.begin()));

  std::vector<std::string> chunks;
  std::size_t p = 8;
  while (p + 12 <= f.size()) {
    const std::uint32_t length = Be32(f, p);
    ASSERT_LE(p + 12 + length, f.size()) << "chunk overruns the file";
    chunks.push_back(Tag(f, p + 4));
    EXPECT_EQ(Crc32(f, p + 4, p + 8 + length), Be32(f, p + 8 + length))
        << "CRC of " << chunks.back();
    if (chunks.size() == 1) {
      ASSERT_EQ(chunks.front(), "IHDR");
      ASSERT_EQ(length, 13u);
      EXPECT_EQ(Be32(f, p + 8), 568u) << "width";
      EXPECT_EQ(Be32(f, p + 12), 354u) << "height";
      EXPECT_EQ(f[p + 16], 8) << "bit depth";
      EXPECT_EQ(f[p + 17], 2) << "colour type (RGB)";
      EXPECT_EQ(f[p + 18], 0) << "compression";
      EXPECT_EQ(f[p + 19], 0) << "filter method";
      EXPECT_EQ(f[p + 20], 0) << "interlace";
    }
    p += 12 + length;
  }
  EXPECT_EQ(p, f.size()) << "bytes after the last chunk";
  ASSERT_FALSE(chunks.empty());
  EXPECT_EQ(chunks.back(), "IEND");
  EXPECT_NE(std::find(chunks.begin(), chunks.end(), "IDAT"), chunks.end());
}

// ---------------------------------------------------------------- SVG ----

bool ValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    std::uint32_t cp = 0, min = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      n = 1, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3, cp = c & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n + 1;
  }
  return true;
}

// Occurrences of an element's start tag, "<name" followed by a blank, "/" or ">".
int CountElements(std::string_view s, std::string_view name) {
  const std::string open = "<" + std::string(name);
  int count = 0;
  for (std::size_t p = s.find(open); p != std::string_view::npos; p = s.find(open, p + 1)) {
    const char next = p + open.size() < s.size() ? s[p + open.size()] : '\0';
    if (next == ' ' || next == '\t' || next == '\r' || next == '\n' || next == '/' || next == '>')
      ++count;
  }
  return count;
}

bool HasAttribute(std::string_view tag, std::string_view name) {
  for (std::size_t p = tag.find(name); p != std::string_view::npos; p = tag.find(name, p + 1)) {
    const char before = p ? tag[p - 1] : '\0';
    std::size_t q = p + name.size();
    while (q < tag.size() && (tag[q] == ' ' || tag[q] == '\t' || tag[q] == '\n' || tag[q] == '\r'))
      ++q;
    if ((before == ' ' || before == '\t' || before == '\n' || before == '\r') && q < tag.size() &&
        tag[q] == '=')
      return true;
  }
  return false;
}

class AvatarDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    const Bytes b = ReadMedia("avatar.svg");
    text.assign(b.begin(), b.end());
    ASSERT_GT(text.size(), 100u);
    root = text.substr(0, text.find('>') + 1);
  }
  std::string text;
  std::string root;  // the svg start tag
};

TEST_F(AvatarDrawing, StartsWithTheSvgElementAndIsPlainUtf8) {
  EXPECT_EQ(text.compare(0, 4, "<svg"), 0) << "no BOM, no XML declaration, no comment before <svg";
  EXPECT_THAT(text, Not(HasSubstr("<?xml")));
  EXPECT_TRUE(ValidUtf8(text));
  const std::size_t last = text.find_last_not_of("\r\n");
  ASSERT_NE(last, std::string::npos);
  EXPECT_EQ(text.substr(last + 1 - 6, 6), "</svg>");
}

TEST_F(AvatarDrawing, RootIsSquareAndScalable) {
  EXPECT_THAT(root, HasSubstr(R"(xmlns="http://www.w3.org/2000/svg")"));
  EXPECT_THAT(root, HasSubstr(R"(viewBox="0 0 80 80")"));
  EXPECT_FALSE(HasAttribute(root, "width")) << root;
  EXPECT_FALSE(HasAttribute(root, "height")) << root;
}

TEST_F(AvatarDrawing, NinePathsFilledWithGradientsThatExist) {
  EXPECT_EQ(CountElements(text, "path"), 9);
  EXPECT_GE(CountElements(text, "linearGradient"), 1);
  EXPECT_GE(CountElements(text, "radialGradient"), 1);
  // every url(#id) names an element of the drawing
  std::size_t refs = 0;
  for (std::size_t p = text.find("url(#"); p != std::string::npos; p = text.find("url(#", p + 1)) {
    const std::size_t end = text.find(')', p);
    ASSERT_NE(end, std::string::npos);
    const std::string id = text.substr(p + 5, end - p - 5);
    EXPECT_THAT(text, HasSubstr("id=\"" + id + "\"")) << "missing gradient " << id;
    ++refs;
  }
  EXPECT_GE(refs, 2u);
}

}  // namespace
}  // namespace trellan
