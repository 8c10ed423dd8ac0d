// libFuzzer target for the site check's text handling, without the site
// around it, so that it runs many times faster than the whole-check target:
// the tokenizer, the character-reference and percent decoding, reference
// resolution, the name folding, the clean-UTF-8 conversion and the picture
// header parser, all over the same input. Besides the sanitizers, each
// one's promises are checked; a broken one aborts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "sitecheck/html_tokenizer.h"
#include "sitecheck/picture_size.h"
#include "sitecheck/site_url.h"
#include "sitecheck/text_codec.h"
#include "utils/ascii.h"
#include "utils/percent.h"

namespace {

using namespace trellan::sitecheck;
using trellan::AsciiLower;
using trellan::PercentDecode;

// Names the broken promise's line (the frames are inlined).
void Require(bool condition, int line = __builtin_LINE()) {
  if (condition) return;
  std::fprintf(stderr, "broken promise at line %d\n", line);
  std::abort();
}

// Its own UTF-8 check, independent of the code under test: shortest forms
// only, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t code_point = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code_point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code_point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code_point = lead & 0x07;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code_point = (code_point << 6) | (next & 0x3F);
    }
    if ((length == 3 && code_point < 0x800) || (length == 4 && code_point < 0x10000) ||
        (code_point >= 0xD800 && code_point <= 0xDFFF) || code_point > 0x10FFFF)
      return false;
    i += length;
  }
  return true;
}

bool HasAsciiCapital(std::string_view text) {
  for (const char c : text)
    if (c >= 'A' && c <= 'Z') return true;
  return false;
}

void CheckTokens(std::string_view input) {
  const int lines = CountLines(input);
  Require(lines == 1 + CountLineBreaks(input));
  const bool bom = input.starts_with("\xEF\xBB\xBF");
  const bool valid = IsValidUtf8(input);
  HtmlTokenizer tokenizer(input);
  HtmlToken token;
  int last_line = 1;
  while (tokenizer.Next(token)) {
    Require(token.line >= last_line && token.line <= lines);
    last_line = token.line;
    if (token.text.data() != nullptr) {
      Require(token.text.data() >= input.data() + (bom ? 3 : 0));
      Require(token.text.data() + token.text.size() <= input.data() + input.size());
    }
    if (token.kind == TokenKind::StartTag || token.kind == TokenKind::EndTag)
      Require(!token.name.empty() && !HasAsciiCapital(token.name));
    Require(token.attributes.size() <= HtmlTokenizer::kMaxAttributes);
    for (std::size_t i = 0; i < token.attributes.size(); ++i) {
      const HtmlAttribute& attribute = token.attributes[i];
      Require(!attribute.name.empty() && !HasAsciiCapital(attribute.name));
      Require(token.Attribute(attribute.name) == &attribute.value);  // the first one counts
      // Character references only ever produce scalar values.
      if (valid) Require(IsValidUtf8(attribute.value));
      const Reference reference = ResolveReference("a/b.html", attribute.value);
      if (reference.kind != ReferenceKind::Local) {
        Require(reference.path.empty());
      } else {
        // Within the site: relative, and no "." or ".." segment is left.
        const std::string_view path = reference.path;
        Require(!path.starts_with('/') && !path.ends_with('/'));
        for (std::size_t start = 0; start <= path.size();) {
          const std::size_t end = std::min(path.find('/', start), path.size());
          const std::string_view segment = path.substr(start, end - start);
          Require(segment != "." && segment != "..");
          start = end + 1;
        }
      }
      for (const std::string_view url : SrcsetUrls(attribute.value)) Require(!url.empty());
    }
  }
}

void CheckTextCodec(std::string_view input) {
  const std::string clean = ToCleanUtf8(input);
  Require(IsValidUtf8(clean));
  Require(ToCleanUtf8(clean) == clean);
  if (IsValidUtf8(input)) {
    Require(IsValidUtf8(DecodeCharacterReferences(input, ReferenceContext::Text)));
    Require(IsValidUtf8(DecodeCharacterReferences(input, ReferenceContext::Attribute)));
  }
  const std::string decoded = PercentDecode(input);
  Require(decoded.size() <= input.size());
  if (input.find('%') == std::string_view::npos) Require(decoded == input);
  const std::string folded = FoldCase(input);
  Require(FoldCase(folded) == folded);
  Require(!HasAsciiCapital(folded));
  Require(FoldCase(AsciiLower(input)) == folded);
  Require(AsciiLower(input).size() == input.size());
}

void CheckPictureHeader(std::string_view input) {
  bool in_bounds = true;
  const auto size =
      ReadPictureSize([&](std::uint64_t offset, std::size_t length) -> std::optional<std::string> {
        if (offset >= input.size()) return std::string();
        const std::string_view rest = input.substr(static_cast<std::size_t>(offset));
        if (length > (1u << 20)) in_bounds = false;  // headers are read in small pieces
        return std::string(rest.substr(0, length));
      });
  Require(in_bounds);
  Require(!size || (size->width > 0 && size->height > 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckTokens(input);
  CheckTextCodec(input);
  CheckPictureHeader(input);
  return 0;
}
