// The placeholders stage: the sample's title and meta texts still in
// place, and its e-mail address and password in text and attribute values.
#include <vector>

#include "sitecheck/check_rules.h"
#include "sitecheck/check_stages.h"
#include "sitecheck/check_text.h"
#include "sitecheck/text_codec.h"
#include "utils/ascii.h"

namespace trellan::sitecheck {

namespace {

// Where the sample e-mail address starts in `text`, in any ASCII case,
// found from each '@' so that the search stays linear.
std::vector<std::size_t> SampleEmailPositions(std::string_view text) {
  std::vector<std::size_t> positions;
  const std::size_t local = kSampleEmail.find('@');
  for (auto at = text.find('@'); at != std::string_view::npos; at = text.find('@', at + 1))
    if (at >= local && AsciiStartsWithIgnoringCase(text.substr(at - local), kSampleEmail))
      positions.push_back(at - local);
  return positions;
}

std::vector<std::size_t> SamplePasswordPositions(std::string_view text) {
  std::vector<std::size_t> positions;
  for (auto at = text.find(kSamplePassword); at != std::string_view::npos;
       at = text.find(kSamplePassword, at + 1))
    positions.push_back(at);
  return positions;
}

}  // namespace

void CheckPlaceholderMeta(CheckState& state, std::size_t page, const HtmlToken& tag) {
  const auto* name = tag.Attribute("name");
  const auto* content = tag.Attribute("content");
  if (name == nullptr || content == nullptr) return;
  for (const auto& meta : PlaceholderMetas()) {
    if (AsciiEqualIgnoringCase(*name, meta.name) &&
        content->find(meta.placeholder) != std::string::npos)
      state.sink.Add(state.PathOf(page), meta.kind, tag.line, "", *content);
  }
}

void CheckTitle(CheckState& state, std::size_t page, const HtmlToken& text) {
  const std::string title = OneLine(DecodeCharacterReferences(text.text, ReferenceContext::Text));
  if (title.find(kTitlePlaceholder) == std::string::npos) return;
  state.sink.Add(state.PathOf(page), FindingKind::PlaceholderTitle, text.line, "", title);
}

// In text each finding is at its own line, in an attribute value at the
// tag's line.
void CheckSampleTexts(CheckState& state, std::size_t page, int line, std::string_view text,
                      bool in_text) {
  // Positions come in ascending order, so the lines are counted onwards.
  std::size_t counted_to = 0;
  int counted_line = line;
  const auto line_of = [&](std::size_t at) {
    if (!in_text) return line;
    if (at < counted_to) {  // the next text's positions start again
      counted_to = 0;
      counted_line = line;
    }
    counted_line += CountLineBreaks(text.substr(counted_to, at - counted_to));
    counted_to = at;
    return counted_line;
  };
  const std::string& path = state.PathOf(page);
  for (const std::size_t at : SampleEmailPositions(text))
    state.sink.Add(path, FindingKind::SampleEmail, line_of(at), "", kSampleEmail);
  for (const std::size_t at : SamplePasswordPositions(text))
    state.sink.Add(path, FindingKind::SamplePassword, line_of(at), "", kSamplePassword);
}

}  // namespace trellan::sitecheck
