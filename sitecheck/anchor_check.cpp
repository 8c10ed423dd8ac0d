// The ids stage: the ids and <a name> anchors of each page, ids given
// twice, and after all pages the "#fragment" of each reference against the
// anchors of its target page.
#include "sitecheck/check_rules.h"
#include "sitecheck/check_stages.h"
#include "utils/ascii.h"
#include "utils/percent.h"

namespace trellan::sitecheck {

namespace {

bool HasAnchor(const PageState& page, const std::string& name) {
  return page.ids.contains(name) || page.anchor_names.contains(name);
}

// "#" and "#top" need no anchor: browsers go to the top of the page.
bool NeedsNoAnchor(const std::string& fragment) {
  return fragment.empty() || AsciiEqualIgnoringCase(fragment, "top");
}

}  // namespace

void CollectAnchors(CheckState& state, std::size_t page, const HtmlToken& tag) {
  PageState& anchors = state.pages[page];
  if (const auto* id = tag.Attribute("id"); id != nullptr && !id->empty()) {
    const auto [first, inserted] = anchors.ids.try_emplace(*id, tag.line);
    if (!inserted) {
      Finding* finding =
          state.sink.Add(state.PathOf(page), FindingKind::DuplicateId, tag.line, *id, *id);
      if (finding != nullptr)
        finding->fix = FixText(FindingKind::DuplicateId,
                               {{"id", *id}, {"line", std::to_string(first->second)}});
    }
  }
  if (tag.name == "a") {
    if (const auto* name = tag.Attribute("name"); name != nullptr && !name->empty())
      anchors.anchor_names.insert(*name);
  }
}

void CheckFragments(CheckState& state) {
  for (std::size_t i = 0; i < state.pages.size(); ++i) {
    for (const auto& pending : state.pages[i].fragments) {
      const PageState& target = state.pages[pending.target_page];
      const std::string& fragment = pending.fragment;
      if (!target.checked || NeedsNoAnchor(fragment) || HasAnchor(target, fragment) ||
          HasAnchor(target, PercentDecode(fragment)))
        continue;
      const std::string& target_path = state.PathOf(pending.target_page);
      Finding* finding = state.sink.Add(state.PathOf(i), FindingKind::MissingFragment, pending.line,
                                        target_path + "#" + fragment, pending.subject);
      if (finding == nullptr) continue;
      finding->fix =
          pending.target_page == i
              ? FixText(OtherFix::FragmentOnThisPage, {{"id", fragment}})
              : FixText(FindingKind::MissingFragment, {{"page", target_path}, {"id", fragment}});
    }
  }
}

}  // namespace trellan::sitecheck
