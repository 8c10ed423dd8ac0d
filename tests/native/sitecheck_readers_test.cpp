// The site check's readers of what pages bring along: the encoding a page
// declares, and the references of stylesheets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sitecheck/css_reader.h"
#include "sitecheck/page_encoding.h"
#include "sitecheck/text_codec.h"

namespace trellan::sitecheck {
namespace {

TEST(DeclaredEncoding, PrescansTheStartAsBrowsersDo) {
  constexpr auto kUtf8 = PageEncoding::Utf8;
  constexpr auto k1252 = PageEncoding::Windows1252;
  constexpr auto kOther = PageEncoding::Other;
  const struct {
    std::string page;
    bool declared;
    PageEncoding encoding;
  } kCases[] = {
      {"<meta charset=utf-8>", true, kUtf8},
      {"<!DOCTYPE html><META CHARSET=' ISO-8859-1 '>", true, k1252},
      {"<meta http-equiv=Content-Type content=\"text/html; charset=windows-1252\">", true, k1252},
      {"<meta content='text/html;charset=\"latin1\"' http-equiv=\"content-type\">", true, k1252},
      // No pragma for the content form; the first of two attributes counts.
      {"<meta content=\"text/html; charset=latin1\">", false, kUtf8},
      {"<meta charset=us-ascii charset=utf-8>", true, k1252},
      // Declarations inside comments and attribute values are none; an
      // empty one does not end the search; UTF-16 labels mean UTF-8.
      {"<!-- <meta charset=latin1> --><meta charset=utf-16le>", true, kUtf8},
      {"<p title='<meta charset=latin1>'><meta/charset=\"\"><meta charset=x-user-defined>", true,
       k1252},
      {"\xEF\xBB\xBF<meta charset=latin1>", true, kUtf8},
      {"<meta charset=\"ISO-8859-2\">", true, kOther},
      {"<meta charset=\"" + std::string(50, '\x97') + "\">", true, kOther},
      {"<p>" + std::string(kEncodingPrescanBytes, ' ') + "<meta charset=latin1>", false, kUtf8},
      {"<meta charset=latin1", false, kUtf8},
  };
  for (const auto& c : kCases) {
    const EncodingDeclaration declaration = DeclaredEncoding(c.page);
    EXPECT_EQ(declaration.declared, c.declared) << c.page;
    EXPECT_EQ(declaration.encoding, c.encoding) << c.page;
  }
  EXPECT_EQ(DeclaredEncoding("<meta charset=\"ISO-8859-2\">").label, "iso-8859-2");
  EXPECT_EQ(Windows1252ToUtf8("b\xFC\x80\x81 "), "b\xC3\xBC\xE2\x82\xAC\xC2\x81 ");
}

TEST(CssReferences, FindsUrlsAndImportsAsCssReadsThem) {
  using Refs = std::vector<std::pair<std::string, int>>;
  const struct {
    std::string css;
    Refs references;
  } kCases[] = {
      {"a{background:url(media/a.png)}\r\nb{background:URL( \"b c.jpg\" )}",
       {{"media/a.png", 1}, {"b c.jpg", 2}}},
      {"@import 'x.css';\n@import url(y.css) screen;@font-face{src:url('f.woff2')}",
       {{"x.css", 1}, {"y.css", 2}, {"f.woff2", 2}}},
      // Escapes decoded; comments, strings, longer names and @namespace
      // hold none.
      {"p{background:url(a\\)b\\31 .png)}", {{"a)b1.png", 1}}},
      {"/* url(a.png) */ p::after{content:\"url(b.png)\"} x-url(c.png) 2url(d.png) #url(e.png)",
       {}},
      {"@namespace svg url(http://www.w3.org/2000/svg); p{}", {}},
      // Bad urls load nothing; a line break ends a string.
      {"url(a b.png) url(a\"b.png) url(a(b.png) url(ok.png", {{"ok.png", 1}}},
      {"p{content:'a\n}url(e.png)", {{"e.png", 2}}},
      {"url(/*x*/a.png) url( ) url(\\\n)", {{"/*x*/a.png", 1}, {"", 1}}},
  };
  for (const auto& c : kCases) {
    Refs found;
    for (const auto& reference : CssReferences(c.css))
      found.emplace_back(reference.url, reference.line);
    EXPECT_EQ(found, c.references) << c.css;
  }
}

}  // namespace
}  // namespace trellan::sitecheck
