#include "generator/inflate.h"

#include <cstdint>

namespace trellan {

namespace {

constexpr int kMaxCodeBits = 15;
constexpr int kLiteralLengthCodes = 288;  // the fixed code's count; a stream may use 286
constexpr int kDistanceCodes = 30;
constexpr int kCodeLengthCodes = 19;

// A canonical Huffman code: how many codes each length has, and the
// symbols in code order.
struct Huffman {
  std::uint16_t count[kMaxCodeBits + 1];
  std::uint16_t symbol[kLiteralLengthCodes];
};

// Makes the code of `lengths`; less than 0 when it is over-subscribed, more
// than 0 when it is incomplete, 0 when it is complete (or empty).
int Build(Huffman& code, const std::uint8_t* lengths, int symbols) {
  for (std::uint16_t& count : code.count) count = 0;
  for (int symbol = 0; symbol < symbols; ++symbol) ++code.count[lengths[symbol]];
  if (code.count[0] == symbols) return 0;
  int left = 1;
  for (int length = 1; length <= kMaxCodeBits; ++length) {
    left = 2 * left - code.count[length];
    if (left < 0) return left;
  }
  std::uint16_t offsets[kMaxCodeBits + 1] = {};
  for (int length = 1; length < kMaxCodeBits; ++length)
    offsets[length + 1] = static_cast<std::uint16_t>(offsets[length] + code.count[length]);
  for (int symbol = 0; symbol < symbols; ++symbol)
    if (lengths[symbol] != 0)
      code.symbol[offsets[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);
  return left;
}

class Inflater {
 public:
  Inflater(std::string_view in, std::size_t size, std::string& out)
      : in_(in), size_(size), out_(out) {}

  bool Run() {
    out_.clear();
    out_.reserve(size_);
    bool last = false;
    while (!last) {
      last = Bits(1) != 0;
      const std::uint32_t type = Bits(2);
      const bool ok = type == 0 ? Stored() : type == 1 ? Fixed() : type == 2 && Dynamic();
      if (!ok || failed_) return false;
    }
    return out_.size() == size_;
  }

 private:
  // The next `need` bits (at most 16), first bit lowest. Past the end of
  // the stream they are 0 and the stream has failed.
  std::uint32_t Bits(int need) {
    std::uint32_t value = bit_buffer_;
    while (bit_count_ < need) {
      if (position_ == in_.size()) {
        failed_ = true;
        return 0;
      }
      value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(in_[position_++]))
               << bit_count_;
      bit_count_ += 8;
    }
    bit_buffer_ = value >> need;
    bit_count_ -= need;
    return value & ((1u << need) - 1);
  }

  // One symbol, a bit at a time: the texts are unpacked once per run of
  // the program, so the smallest code wins over the fastest.
  int Decode(const Huffman& code) {
    int bits = 0, first = 0, index = 0;
    for (int length = 1; length <= kMaxCodeBits; ++length) {
      bits |= static_cast<int>(Bits(1));
      if (failed_) return -1;
      const int count = code.count[length];
      if (bits - first < count) return code.symbol[index + bits - first];
      index += count;
      first = (first + count) << 1;
      bits <<= 1;
    }
    return -1;
  }

  bool Stored() {
    bit_buffer_ = 0;  // the rest of the byte
    bit_count_ = 0;
    if (in_.size() - position_ < 4) return false;
    const auto byte = [this](std::size_t at) {
      return static_cast<std::size_t>(static_cast<std::uint8_t>(in_[position_ + at]));
    };
    const std::size_t length = byte(0) | byte(1) << 8;
    if ((byte(2) | byte(3) << 8) != (~length & 0xFFFF)) return false;
    position_ += 4;
    if (in_.size() - position_ < length || size_ - out_.size() < length) return false;
    out_.append(in_.substr(position_, length));
    position_ += length;
    return true;
  }

  bool Codes(const Huffman& lengths, const Huffman& distances) {
    static constexpr std::uint16_t kLengthBase[] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                    15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                    67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr std::uint8_t kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                    2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static constexpr std::uint16_t kDistanceBase[] = {
        1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    static constexpr std::uint8_t kDistanceExtra[] = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                      4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                      9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
    for (;;) {
      int symbol = Decode(lengths);
      if (symbol < 0) return false;
      if (symbol == 256) return true;
      if (symbol < 256) {
        if (out_.size() == size_) return false;
        out_ += static_cast<char>(symbol);
        continue;
      }
      symbol -= 257;
      if (symbol >= static_cast<int>(sizeof kLengthExtra)) return false;
      const std::size_t length = kLengthBase[symbol] + Bits(kLengthExtra[symbol]);
      const int code = Decode(distances);
      if (code < 0 || code >= kDistanceCodes) return false;
      const std::size_t distance = kDistanceBase[code] + Bits(kDistanceExtra[code]);
      if (failed_ || distance > out_.size() || length > size_ - out_.size()) return false;
      // The copy may overlap what it makes: byte by byte.
      for (std::size_t from = out_.size() - distance, end = from + length; from < end; ++from)
        out_ += out_[from];
    }
  }

  bool Fixed() {
    std::uint8_t lengths[kLiteralLengthCodes + kDistanceCodes];
    for (int symbol = 0; symbol < kLiteralLengthCodes + kDistanceCodes; ++symbol)
      lengths[symbol] = symbol < 144   ? 8
                        : symbol < 256 ? 9
                        : symbol < 280 ? 7
                        : symbol < 288 ? 8
                                       : 5;
    Huffman literals, distances;
    Build(literals, lengths, kLiteralLengthCodes);
    Build(distances, lengths + kLiteralLengthCodes, kDistanceCodes);
    return Codes(literals, distances);
  }

  bool Dynamic() {
    static constexpr std::uint8_t kOrder[kCodeLengthCodes] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                              11, 4,  12, 3, 13, 2, 14, 1, 15};
    const int literal_count = static_cast<int>(Bits(5)) + 257;
    const int distance_count = static_cast<int>(Bits(5)) + 1;
    const int length_count = static_cast<int>(Bits(4)) + 4;
    if (failed_ || literal_count > 286 || distance_count > kDistanceCodes) return false;
    std::uint8_t lengths[kLiteralLengthCodes + kDistanceCodes] = {};
    for (int i = 0; i < length_count; ++i) lengths[kOrder[i]] = static_cast<std::uint8_t>(Bits(3));
    Huffman literals, distances;
    if (failed_ || Build(literals, lengths, kCodeLengthCodes) != 0) return false;

    const int total = literal_count + distance_count;
    for (int index = 0; index < total;) {
      const int symbol = Decode(literals);
      if (symbol < 0) return false;
      if (symbol < 16) {
        lengths[index++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      std::uint8_t length = 0;
      int repeat = 0;
      if (symbol == 16) {
        if (index == 0) return false;
        length = lengths[index - 1];
        repeat = 3 + static_cast<int>(Bits(2));
      } else {
        repeat = symbol == 17 ? 3 + static_cast<int>(Bits(3)) : 11 + static_cast<int>(Bits(7));
      }
      if (failed_ || index + repeat > total) return false;
      while (repeat-- > 0) lengths[index++] = length;
    }
    // A code may be incomplete only when it has a single symbol.
    if (lengths[256] == 0) return false;
    int left = Build(literals, lengths, literal_count);
    if (left < 0 || (left > 0 && literal_count - literals.count[0] != 1)) return false;
    left = Build(distances, lengths + literal_count, distance_count);
    if (left < 0 || (left > 0 && distance_count - distances.count[0] != 1)) return false;
    return Codes(literals, distances);
  }

  std::string_view in_;
  std::size_t position_ = 0;
  std::uint32_t bit_buffer_ = 0;
  int bit_count_ = 0;
  bool failed_ = false;
  std::size_t size_;
  std::string& out_;
};

}  // namespace

bool Inflate(std::string_view deflated, std::size_t size, std::string& out) {
  if (Inflater(deflated, size, out).Run()) return true;
  out.clear();
  return false;
}

}  // namespace trellan
