#pragma once
// The text conversions of the site check: character references decoded as
// browsers decode them, names folded as Windows compares them, and UTF-8
// made safe for the report. All of them take any
// bytes (invalid UTF-8 included) and run in linear time.
#include <string>
#include <string_view>

namespace trellan::sitecheck {

// Where a character reference stands: in an attribute value, a named
// reference without ';' that is followed by a letter, digit or '=' stays
// literal (so "?a=1&copy=2" keeps its "&copy"), as in browsers.
enum class ReferenceContext { Text, Attribute };

// Decodes numeric references (decimal and hex, ';' optional; 0, surrogates
// and values above U+10FFFF become U+FFFD, 0x80-0x9F are read as
// Windows-1252 as browsers do) and the named references of a common set: the
// markup ones (amp lt gt quot apos nbsp), the German and other Latin-1
// letters and signs, the usual punctuation (ndash hellip euro ...), and
// every name that stands for an ASCII character (lowbar sol colon num ...),
// so that a link written with them is judged by its real target. An
// unknown name stays literal.
std::string DecodeCharacterReferences(std::string_view text, ReferenceContext context);

// Folds a UTF-8 name for a case-insensitive comparison as NTFS makes it, for
// the scripts learners meet: ASCII, Latin-1, Latin Extended-A, Greek and
// Cyrillic capitals become small letters. Other characters and invalid bytes
// stay as they are, so they compare exactly.
std::string FoldCase(std::string_view utf8);

// Valid UTF-8 that an HTML document may hold: every invalid byte, every
// control character other than tab, LF and CR, and every noncharacter
// becomes U+FFFD.
std::string ToCleanUtf8(std::string_view bytes);

// Windows-1252 as browsers decode it (the five unassigned bytes stay
// their C1 controls), in UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

// Line breaks in `text`: CR LF, a lone CR and a lone LF each count once.
int CountLineBreaks(std::string_view text);

}  // namespace trellan::sitecheck
