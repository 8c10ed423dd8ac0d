#pragma once
// The site check's rules as data. The tables are in check_rules.cpp: the
// kinds of finding with their severity, title and usual fix sentence; the
// fix sentences for the cases where the usual one does not fit; the
// severities as the report names them; which attributes are references;
// the placeholder metas. A new kind of finding is a value of FindingKind
// and a row of its table; a new reference attribute is a row.
//
// A fix sentence may name values in braces ("{path}"); FixText fills them
// in, each cut at kMaxSubjectBytes.
#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "sitecheck/site_check.h"

// The site check's German texts are UTF-8 in its source files, which all
// include this header, and go into the report as they are.
static_assert(std::string_view("ü").size() == 2, "the source must be read as UTF-8");

namespace trellan::sitecheck {

inline constexpr std::size_t kSeverityCount = 3;

struct SeverityRow {
  Severity severity;
  std::string_view name;    // in the report's tables and the counts
  std::string_view plural;  // in the counts
  std::string_view css_class;
  std::string_view meaning;  // the report's legend
};

// Every severity, errors first.
std::span<const SeverityRow> Severities();
const SeverityRow& RowOf(Severity severity);

struct FindingKindRow {
  FindingKind kind;
  Severity severity;
  std::string_view title;
  std::string_view fix;  // the usual fix sentence
};

const FindingKindRow& RowOf(FindingKind kind);

// Fix sentences for the cases where the usual one of a kind does not fit.
enum class OtherFix {
  FileElsewhere,
  FolderWithoutIndex,
  SlashAfterFile,
  StartPageCase,
  FragmentOnThisPage,
  ConvertToJpeg,
  UseWebCopy,
  ShrinkWebCopy,
  SimplifyGraphic,
  PageTooLarge,
  PageUnreadable,
  OtherEncoding,
  FragmentLimit,
  AttributeLimit,
  PasswordPageName,
};

// A value for a "{name}" of a fix sentence.
using FixValue = std::pair<std::string_view, std::string_view>;

std::string FixText(FindingKind kind, std::initializer_list<FixValue> values = {});
std::string FixText(OtherFix fix, std::initializer_list<FixValue> values = {});

// How an attribute refers to a file.
enum class ReferenceForm {
  Url,
  Srcset,       // a list of image candidates, each a URL
  Css,          // declarations whose url(...) are URLs
  NotFollowed,  // none, or one the check leaves open
};

ReferenceForm ReferenceFormOf(std::string_view element, std::string_view attribute);

struct PlaceholderMeta {
  std::string_view name;  // of <meta name="..."> in any ASCII case
  std::string_view placeholder;
  FindingKind kind;
};

std::span<const PlaceholderMeta> PlaceholderMetas();

// The sample's other placeholders and sample texts.
inline constexpr std::string_view kTitlePlaceholder = "Seitentitel eingeben";
inline constexpr std::string_view kSampleEmail = "vorname.name@example.com";
inline constexpr std::string_view kSamplePassword = "GeHe1m24";
inline constexpr std::array<std::string_view, 3> kSampleLanguagePages = {
    "index-en.html", "index-fr.html", "index-es.html"};

// What a reference to a folder means, in this order.
inline constexpr std::array<std::string_view, 2> kFolderIndexNames = {"index.html", "index.htm"};
inline constexpr std::array<std::string_view, 8> kPictureExtensions = {
    "jpg", "jpeg", "jfif", "png", "gif", "webp", "svg", "bmp"};
// The formats the site's thumbnail script turns into "_w" web copies.
inline constexpr std::array<std::string_view, 4> kWebCopyExtensions = {"jpg", "jfif", "webp",
                                                                       "gif"};

}  // namespace trellan::sitecheck
