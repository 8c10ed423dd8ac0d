// Byte-level form of style.css and zoom.js as a run writes them: line ends,
// byte-order mark, ASCII outside comments, the indentation and colon
// alignment of the stylesheet, and the order of its sections and of the
// script's functions.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/native/crlf_lines.h"

#include <cstddef>
#include <string>
#include <vector>

#include "generator/site_content.h"

namespace trellan {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using Lines = std::vector<std::string>;

// The stylesheet's lines with every comment blanked out (comments may span
// lines); string contents are kept.
Lines CssCode(const Lines& lines) {
  Lines code;
  bool in_comment = false;
  for (const auto& line : lines) {
    std::string out;
    char quote = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (in_comment) {
        if (line.compare(i, 2, "*/") == 0) {
          in_comment = false;
          ++i;
        }
        continue;
      }
      if (quote) {
        if (line[i] == '\\' && i + 1 < line.size())
          out += line[i++];
        else if (line[i] == quote)
          quote = 0;
        out += line[i];
        continue;
      }
      if (line.compare(i, 2, "/*") == 0) {
        in_comment = true;
        ++i;
        continue;
      }
      if (line[i] == '"' || line[i] == '\'') quote = line[i];
      out += line[i];
    }
    EXPECT_EQ(quote, 0) << "string runs past the line: " << line;
    code.push_back(out);
  }
  EXPECT_FALSE(in_comment) << "comment not closed";
  return code;
}

std::size_t Indent(const std::string& line) { return line.find_first_not_of(' '); }

std::string Trimmed(const std::string& line) {
  const auto first = line.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

bool IsPropertyName(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name)
    if (!((c >= 'a' && c <= 'z') || c == '-')) return false;
  return true;
}

// "name   : value" (padding before the colon allowed), optionally switched
// off as "/* name : value; ... */".
bool IsDeclaration(std::string body) {
  if (body.rfind("/* ", 0) == 0) {
    if (body.size() < 6 || body.compare(body.size() - 3, 3, " */") != 0) return false;
    body = body.substr(3);
  }
  const auto colon = body.find(':');
  if (colon == std::string::npos || body.compare(colon, 2, ": ") != 0) return false;
  if (colon + 2 >= body.size() || body[colon + 2] == ' ') return false;
  return IsPropertyName(body.substr(0, body.find_last_not_of(' ', colon - 1) + 1));
}

// "selector { name: value; name: value; }"
bool IsOneLineRule(const std::string& c) {
  const auto open = c.find(" { ");
  if (open == std::string::npos || open == 0 || c.size() < open + 5) return false;
  if (c.compare(c.size() - 2, 2, " }") != 0) return false;
  if (c.substr(0, open).find_first_of("{}") != std::string::npos) return false;
  std::string body = c.substr(open + 3, c.size() - open - 4);  // "name: value; ... "
  if (body.find_first_of("{}") != std::string::npos) return false;
  int declarations = 0;
  for (std::size_t at = 0; at < body.size();) {
    const auto end = body.find("; ", at);
    if (end == std::string::npos) return false;
    const std::string one = body.substr(at, end - at);
    const auto colon = one.find(": ");
    if (colon == std::string::npos || !IsPropertyName(one.substr(0, colon)) ||
        colon + 2 >= one.size())
      return false;
    ++declarations;
    at = end + 2;
  }
  return declarations > 0;
}

bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int extra = c < 0x80             ? 0
                      : (c & 0xE0) == 0xC0 ? 1
                      : (c & 0xF0) == 0xE0 ? 2
                      : (c & 0xF8) == 0xF0 ? 3
                                           : -1;
    if (extra < 0 || i + extra >= text.size() + (extra == 0)) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

TEST(Stylesheet, FileFormStartsWithTheBannerAndIsAsciiOutsideComments) {
  const std::string text = StylesheetText();
  ASSERT_GE(text.size(), 3u);
  EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF") << "no byte-order mark";
  EXPECT_TRUE(IsUtf8(text));
  const Lines lines = test::CrLfLines(text);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("/* ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[0].substr(lines[0].size() - 3), " */") << lines[0];
  EXPECT_THAT(lines[0], HasSubstr("Trellan"));
  EXPECT_EQ(lines[1], "");
  const Lines code = CssCode(lines);
  for (std::size_t i = 0; i < code.size(); ++i) {
    for (unsigned char c : code[i])
      EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "line " << i + 1 << ": " << lines[i];
    EXPECT_THAT(lines[i], Not(HasSubstr("\t"))) << "tab in line " << i + 1;
    EXPECT_EQ(lines[i].find_last_not_of(' ') + 1, lines[i].size())
        << "trailing blank in line " << i + 1;
  }
}

// Block structure: rules at the top level stand at column 0, everything in
// a media or keyframes block two more; a multi-line rule's declarations are
// indented by two more than its selector, with the colons in one column
// (switched-off declarations included), and `}` stands under the selector.
TEST(Stylesheet, IndentationAndColonColumns) {
  const Lines lines = test::CrLfLines(StylesheetText());
  const Lines code = CssCode(lines);
  struct Block {
    bool rule;           // a rule of declarations, not a media or keyframes block
    std::size_t indent;  // of its opening line
    std::size_t colon;   // colon column of its declarations, 0 until known
  };
  std::vector<Block> open;
  bool in_selector_list = false;
  int multi_line_rules = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::string c = Trimmed(code[i]);
    const std::string where = "line " + std::to_string(i + 1) + ": " + line;
    if (Trimmed(line).empty()) {
      EXPECT_TRUE(open.empty() || !open.back().rule) << "blank line inside a rule, " << where;
      continue;
    }
    const std::size_t depth_indent = open.empty() ? 0 : open.back().indent + 2;
    if (!open.empty() && open.back().rule) {
      Block& rule = open.back();
      if (c == "}") {
        EXPECT_EQ(Indent(line), rule.indent) << where;
        open.pop_back();
        continue;
      }
      // a declaration, or a switched-off one: "/* name : value; ... */"
      const std::string body = line.substr(std::min(line.size(), rule.indent + 2));
      EXPECT_EQ(Indent(line), rule.indent + 2) << where;
      const bool off = body.rfind("/* ", 0) == 0;
      // a switched-off declaration is a whole comment; an active one may
      // carry a trailing comment
      const std::string declaration = off ? body : Trimmed(code[i]);
      ASSERT_TRUE(
          IsDeclaration(off ? declaration : declaration.substr(0, declaration.size() - 1)) &&
          (off || declaration.back() == ';'))
          << where;
      const std::size_t colon = rule.indent + 2 + body.find(':');
      if (rule.colon == 0) rule.colon = colon;
      EXPECT_EQ(colon, rule.colon) << "colon out of column, " << where;
      continue;
    }
    if (c == "}") {
      ASSERT_FALSE(open.empty()) << where;
      EXPECT_EQ(Indent(line), open.back().indent) << where;
      open.pop_back();
      continue;
    }
    EXPECT_EQ(Indent(line), depth_indent) << where;
    if (c.empty()) continue;  // a comment line
    if (c.back() == ',') {
      in_selector_list = true;
      continue;
    }
    if (c.back() == '{') {
      const bool at_rule = c.rfind("@media", 0) == 0 || c.rfind("@keyframes", 0) == 0;
      EXPECT_TRUE(at_rule || c.front() != '@') << where;
      if (!at_rule) ++multi_line_rules;
      open.push_back({!at_rule, Indent(line), 0});
      in_selector_list = false;
      continue;
    }
    // a rule on one line: "selector { name: value; ... }"
    EXPECT_FALSE(in_selector_list) << where;
    EXPECT_TRUE(IsOneLineRule(c)) << where;
  }
  EXPECT_TRUE(open.empty()) << "unclosed block";
  EXPECT_GT(multi_line_rules, 40);
}

TEST(Stylesheet, SectionsInOrder) {
  const std::string text = StylesheetText();
  const std::string start_banner = [] {
    std::string s = "/***";
    for (int i = 0; i < 11; ++i) s += "MEN\xC3\x9C*START**";
    return s + "*/";
  }();
  const std::string end_banner = [] {
    std::string s = "/***";
    for (int i = 0; i < 10; ++i) s += "MEN\xC3\x9C*ENDE**";
    return s + "*/";
  }();
  const std::vector<std::string> openings = {
      "/* GANZE SEITE: FARBE, SCHRIFT USW. */\r\n",
      "/* \xC3\x9C"
      "BERSCHRIFTEN: SCHRIFTART, FARBE */\r\n",
      "/* LINKS */\r\n",
      "/*  BREITE MEDIEN */\r\n",
      "/*  SPALTENSATZ */\r\n",
      "/* FORMULARE  */\r\n",
      "/* MAIN = SEITENINHALT  */\r\n",
      start_banner + "\r\n",
      "/* HEADER (Men\xC3\xBC ) */\r\n",
      "/* SPRACHWAHL MIT WELT-EMOJI IM IMPRESSUM */\r\n",
      "/* MENU */\r\n",
      "/* MENU ICON */\r\n",
      "/* MEN\xC3\x9C-KNOPF (BTN) */\r\n",
      "/* RESPONSIVE: ANPASSUNG F\xC3\x9CR GROESSERE BILDSCHIRME */\r\n"
      "@media (min-width: 55em) {  /* Breite >= 880px */\r\n",
      "/* RESPONSIVE: ANPASSUNG F\xC3\x9CR GROSSE HORIZONTALE BILDSCHIRME */\r\n"
      "@media all and (orientation: landscape) and (min-width: 64em) {  /*  1024px */\r\n",
      "/* FORMULARE Mobil, keine Tastatur */\r\n@media (pointer: coarse) {\r\n",
      end_banner + "\r\n\r\n\r\n@media print {  /* A4 */\r\n",
      "/* KLASSEN F\xC3\x9CR BILDER */\r\n",
      "/* BILD f\xC3\xBCr kleine Galerie */\r\n",
      "/* Container mit Legende */\r\n",
      "/* Container f\xC3\xBCr MAP */\r\n",
      "@media screen and (orientation:portrait) and (max-width:600px) {",
      "/* ILLUSTRATION 40% von ViewPort */\r\n",
      "/* ZOOM-FUNKTION F\xC3\x9CR BILDER */\r\n",
      "/*  BESONDERE LINKS */\r\n",
      "/* ALLGEMEINE FORMATIERUNGEN",
      "/* automatische Silbentrennung (unzuverl\xC3\xA4ssig!) */\r\n",
      "/* vorformatierte Schrift (nichtproportional, dicktengleich) */\r\n",
      "/* MATHEMATIK */\r\n/* mathe Klasse f\xC3\xBCr Mathematik: Serifenschrift */\r\n",
      "/* TASTEN DARSTELLEN */\r\n",
  };
  std::size_t at = 0;
  for (const auto& opening : openings) {
    const auto found = text.find(opening, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << opening;
    EXPECT_TRUE(found == 0 || text.compare(found - 2, 2, "\r\n") == 0) << opening;
    at = found + opening.size();
  }
  // the usage example shares the heading's comment
  const auto heading = text.find("/* ALLGEMEINE FORMATIERUNGEN");
  const auto heading_end = text.find("*/", heading);
  EXPECT_THAT(text.substr(heading, heading_end - heading), HasSubstr("<span class=\"f_rot\">"));
}

TEST(ZoomScript, FileFormAndFunctionOrder) {
  const std::string text = ZoomScriptText();
  ASSERT_GE(text.size(), 3u);
  EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF")
      << "the run adds the byte-order mark, not the template";
  EXPECT_TRUE(IsUtf8(text));
  const Lines lines = test::CrLfLines(text);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "// JS-Funktionen f\xC3\xBCr IMG-Bilder-Zoom (class=\"bild zoom\")");
  EXPECT_EQ(lines[1].rfind("// ", 0), 0u) << lines[1];
  EXPECT_THAT(lines[1], HasSubstr("Trellan"));
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "\"use strict\";");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "var y = 0, zoomShown = \"\";");

  std::vector<std::string> functions;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("function ", 0) == 0)
      functions.push_back(lines[i].substr(9, lines[i].find('(') - 9));
    else if (lines[i].rfind("document.addEventListener(\"DOMContentLoaded\"", 0) == 0)
      functions.push_back("DOMContentLoaded");
    else
      continue;
    EXPECT_TRUE(i > 0 && (lines[i - 1].empty() || lines[i - 1].rfind("// ", 0) == 0))
        << "no blank line before " << lines[i];
  }
  EXPECT_EQ(functions,
            (std::vector<std::string>{
                "zeig", "zeig_zu", "zoomLimitEnde", "zoomLimit", "nextImg", "prevImg", "prevImgUp",
                "nextImgDn", "firstImg", "lastImg", "zoomLinks", "zoomRechts", "DOMContentLoaded",
                "createZoomDiv", "zeigLegende", "zeigKarte", "Alert", "zahlCH"}));
  // the section comments stand directly above their functions
  EXPECT_THAT(text, HasSubstr("// Funktionen f\xC3\xBCr MAP/AREA\r\nfunction zeigLegende("));
  EXPECT_THAT(text, HasSubstr("// HTML5-Ersatz f\xC3\xBCr js-alert()\r\nfunction Alert("));
  EXPECT_THAT(text, HasSubstr("// Zahl im CH-Format ausgeben (12345.6789 \xE2\x86\x92 "
                              "12'345.6789)\r\nfunction zahlCH("));
}

TEST(ZoomScript, IndentedByTwoAndCommented) {
  const Lines lines = test::CrLfLines(ZoomScriptText());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    EXPECT_THAT(line, Not(HasSubstr("\t"))) << "tab in line " << i + 1;
    EXPECT_EQ(line.find_last_not_of(' ') + 1, line.size()) << "trailing blank in line " << i + 1;
    if (!line.empty() && line[0] == ' ') {
      EXPECT_EQ(Indent(line) % 2, 0u) << "line " << i + 1 << ": " << line;
    }
  }
  // each German step comment stands behind a statement of its own step
  const std::vector<std::pair<std::string, std::string>> comments = {
      {"backgroundImage",
       "// gro\xC3\x9F"
       "es Bild"},
      {"\"tabindex\"", "// anw\xC3\xA4hlbar mit TAB-Taste"},
      {"\"lazy\"", "// erst laden sobald sichtbar"},
      {"console.clear()", "// kein _t.* Thumbnail da -> Bild umbenennen!"},
      {"\"_t.\"", "// _t.* Thumbnail-Endung versuchen, nicht bei .svg"},
      {"length > 0", "// Bilder vorhanden? -> Zoom-DIV erstellen"},
      {"length == 1", "// Nur 1 Zoom-Bild?"},
  };
  for (const auto& [code, comment] : comments) {
    int found = 0;
    for (const auto& line : lines) {
      const auto at = line.find("  " + comment);
      if (at == std::string::npos) continue;
      ++found;
      EXPECT_EQ(at + 2 + comment.size(), line.size()) << "comment not at the end: " << line;
      EXPECT_THAT(line.substr(0, at), HasSubstr(code)) << line;
    }
    EXPECT_EQ(found, 1) << comment;
  }
}

}  // namespace
}  // namespace trellan
