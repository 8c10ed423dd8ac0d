#pragma once
// The references of a stylesheet, found as a browser's CSS tokenizer finds
// them: each url(...) (unquoted or with a string) and each @import "...".
// Comments, strings and escapes are read as CSS reads them, so a "url(" in
// a comment, a string or a longer name is none; a url(...) that CSS
// rejects (a quote, a '(' or a space inside it) loads nothing and is left
// out, and so is the url(...) of @namespace, which names no file (and a
// "url" written with escapes, which no one writes). Takes any bytes and
// runs in linear time.
#include <string>
#include <string_view>
#include <vector>

namespace trellan::sitecheck {

struct CssReference {
  std::string url;  // escapes decoded
  int line;         // 1-based within the text, where url( or the string starts
};

std::vector<CssReference> CssReferences(std::string_view css);

}  // namespace trellan::sitecheck
