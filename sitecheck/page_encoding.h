#pragma once
// How a page's bytes become text: the encoding that its byte-order mark or
// a <meta> declaration near its start names, found as browsers prescan a
// page for it. Learners' editors still save "ANSI" (Windows-1252) and
// declare it as ISO-8859-1 or windows-1252; those pages are decoded to
// UTF-8 before their links are compared with file names. Takes any bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace trellan::sitecheck {

// Browsers look for the declaration in this many bytes at the start.
inline constexpr std::size_t kEncodingPrescanBytes = 1024;

enum class PageEncoding {
  Utf8,         // also what UTF-16 labels in a <meta> mean, as in browsers
  Windows1252,  // every label browsers read as it: iso-8859-1, latin1, us-ascii ...
  Other,        // another encoding, which the check does not decode
};

struct EncodingDeclaration {
  bool declared = false;  // by a UTF-8 byte-order mark or a <meta>
  PageEncoding encoding = PageEncoding::Utf8;
  std::string label;  // as the <meta> names it, ASCII lower-case, at most 40 bytes
};

// The UTF-8 byte-order mark, else the first <meta charset="..."> or
// <meta http-equiv="Content-Type" content="...; charset=..."> within the
// first kEncodingPrescanBytes bytes, as the HTML standard's prescan finds
// it: outside comments and attribute values, a tag cut off by the limit
// dropped, an empty label skipped. Undeclared: UTF-8. (The tags are read
// by the check's tokenizer, which also skips the content of script, style,
// title and the like, and decodes character references in values.)
EncodingDeclaration DeclaredEncoding(std::string_view page);

}  // namespace trellan::sitecheck
