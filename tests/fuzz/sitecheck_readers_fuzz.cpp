// libFuzzer target for what the site check reads besides the markup: the
// encoding declaration a page's start holds, Windows-1252 decoding, and
// the references of stylesheets, all over the same input. Besides the
// sanitizers, each one's promises are checked; a broken one aborts.
#include <cstdint>
#include <string>
#include <string_view>

#include "sitecheck/css_reader.h"
#include "sitecheck/html_tokenizer.h"
#include "sitecheck/page_encoding.h"
#include "sitecheck/text_codec.h"
#include "tests/fuzz/fuzz_checks.h"
#include "utils/ascii.h"
#include "utils/utf8.h"

namespace {

using namespace trellan::sitecheck;
using trellan::IsValidUtf8;
using trellan::fuzz::Require;

void CheckDeclaration(std::string_view input) {
  const EncodingDeclaration declaration = DeclaredEncoding(input);
  Require(declaration.label.size() <= 40);
  Require(declaration.label == trellan::AsciiLower(declaration.label));
  Require(declaration.declared || declaration.encoding == PageEncoding::Utf8);
  Require(declaration.declared || declaration.label.empty());
  // Only the start counts.
  if (input.size() > kEncodingPrescanBytes) {
    const EncodingDeclaration start = DeclaredEncoding(input.substr(0, kEncodingPrescanBytes));
    Require(start.encoding == declaration.encoding && start.label == declaration.label);
  }
}

void CheckDecoding(std::string_view input) {
  const std::string utf8 = Windows1252ToUtf8(input);
  Require(IsValidUtf8(utf8));
  Require(utf8.size() >= input.size() && utf8.size() <= 3 * input.size());
  Require(CountLines(utf8) == CountLines(input));
  bool ascii = true;
  for (const char c : input) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) Require(utf8 == input);
}

void CheckStylesheet(std::string_view input) {
  const bool valid = IsValidUtf8(input);
  const int lines = CountLines(input);
  int last = 1;
  for (const CssReference& reference : CssReferences(input)) {
    Require(reference.line >= last && reference.line <= lines);
    last = reference.line;
    Require(reference.url.size() <= 3 * input.size());
    if (valid) Require(IsValidUtf8(reference.url));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckDeclaration(input);
  CheckDecoding(input);
  CheckStylesheet(input);
  return 0;
}
