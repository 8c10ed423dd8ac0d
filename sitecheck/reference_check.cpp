// The references stage: where each reference of a page leads (a file, a
// folder's index page, a fragment, outside the site), what is missing or
// differs in case, and the sample's links.
#include "sitecheck/check_rules.h"
#include "sitecheck/check_stages.h"
#include "sitecheck/check_text.h"
#include "sitecheck/site_url.h"
#include "sitecheck/text_codec.h"
#include "utils/ascii.h"

namespace trellan::sitecheck {

namespace {

struct Place {
  std::size_t page;
  int line;
  std::string_view value;  // the reference as written
};

Finding* Add(CheckState& state, const Place& at, FindingKind kind, std::string_view key) {
  return state.sink.Add(state.PathOf(at.page), kind, at.line, key, at.value);
}

// What the check leaves open at a reference, once per page and reason.
void NotChecked(CheckState& state, const Place& at, std::string_view reason, OtherFix fix,
                std::initializer_list<FixValue> values) {
  if (Finding* finding =
          state.sink.Add(state.PathOf(at.page), FindingKind::PartNotChecked, at.line, reason, ""))
    finding->fix = FixText(fix, values);
}

void AddFragment(CheckState& state, const Place& at, std::size_t target,
                 const std::string& fragment) {
  auto& fragments = state.pages[at.page].fragments;
  if (fragments.size() < kMaxFragmentChecksPerPage) {
    fragments.push_back({target, fragment, at.line, std::string(at.value)});
  } else if (!state.reading.fragments_limited) {
    state.reading.fragments_limited = true;
    NotChecked(state, at, "fragments", OtherFix::FragmentLimit, {});
  }
}

std::string MissingFileFix(const CheckState& state, const std::string& path) {
  if (const auto same_name = state.index.FileNamed(FoldCase(BaseName(path))))
    return FixText(OtherFix::FileElsewhere, {{"path", state.index[*same_name].path}});
  return FixText(FindingKind::MissingTarget, {{"path", path}});
}

// What a reference to an existing folder shows: its index page, in the
// exact case only when the folder's name was too; not found when it has
// none.
Lookup FolderTarget(CheckState& state, const Place& at, const std::string& folder, bool exact) {
  const Lookup index = state.index.FindFolderIndex(folder);
  if (index.found) return Lookup{index.entry, true, exact && index.exact};
  if (Finding* finding = Add(state, at, FindingKind::MissingTarget, folder + "/"))
    finding->fix =
        FixText(OtherFix::FolderWithoutIndex, {{"folder", folder.empty() ? "." : folder}});
  return index;
}

void CheckLocalTarget(CheckState& state, const Place& at, const Reference& reference) {
  Lookup target = state.index.Find(reference.path);
  if (!target.found) {
    if (Finding* finding = Add(state, at, FindingKind::MissingTarget, reference.path))
      finding->fix = MissingFileFix(state, reference.path);
    return;
  }
  if (reference.path.empty() || state.index[target.entry].is_folder) {
    target = FolderTarget(state, at, reference.path, target.exact);
    if (!target.found) return;
  } else if (reference.names_folder) {
    if (Finding* finding = Add(state, at, FindingKind::MissingTarget, reference.path + "/"))
      finding->fix = FixText(OtherFix::SlashAfterFile);
    return;
  }
  const std::string& actual = state.index[target.entry].path;
  if (!target.exact) {
    if (Finding* finding = Add(state, at, FindingKind::CaseMismatch, reference.path))
      finding->fix = FixText(FindingKind::CaseMismatch, {{"path", actual}});
  }
  if (const auto linked = state.PageOfEntry(target.entry)) {
    state.pages[at.page].links.insert(*linked);
    if (reference.has_fragment) AddFragment(state, at, *linked, reference.fragment);
  } else if (IsPicturePath(actual)) {
    CheckPictureSize(state, at.page, at.line, target.entry);
  } else if (ExtensionOf(actual) == "css") {
    QueueStylesheet(state, target.entry);
  }
}

// The sample's dummy files and its language pages while they do not exist.
bool IsSampleLink(const CheckState& state, const Reference& reference) {
  return FoldCase(BaseName(reference.path)).starts_with("dummy.") ||
         (!state.index.Find(reference.path).found &&
          IsOneOf(FoldCase(reference.path), kSampleLanguagePages));
}

void CheckReference(CheckState& state, const Place& at) {
  const ReadingState& reading = state.reading;
  const std::string& base = reading.base;
  Reference reference = ResolveReference(base.empty() ? state.PathOf(at.page) : base, at.value);
  switch (reference.kind) {
    case ReferenceKind::Ignored: return;
    case ReferenceKind::External: ++state.pages[at.page].external_links; return;
    case ReferenceKind::OutsideSite: Add(state, at, FindingKind::OutsideSite, at.value); return;
    case ReferenceKind::Local: break;
  }
  if (reading.base_elsewhere) return;  // said once, at the <base>
  if (!reading.undecoded_encoding.empty() && !IsAscii(at.value))
    return NotChecked(state, at, "encoding", OtherFix::OtherEncoding,
                      {{"encoding", reading.undecoded_encoding}});
  // In a stylesheet, url(#id) names an element of the page that uses it.
  if (reference.same_page && state.pages[at.page].stylesheet) return;
  // With a <base href>, "#part" and "?query" lead to the base's target.
  if (reference.same_page && !base.empty()) {
    reference.same_page = false;
    reference.names_folder = base.ends_with('/');
    reference.path = base.substr(0, base.size() - (reference.names_folder ? 1 : 0));
  }
  if (reference.same_page) {
    if (reference.has_fragment) AddFragment(state, at, at.page, reference.fragment);
  } else if (IsSampleLink(state, reference)) {
    Add(state, at, FindingKind::SampleLink, "");
  } else {
    CheckLocalTarget(state, at, reference);
  }
}

}  // namespace

void CheckReferences(CheckState& state, std::size_t page, const HtmlToken& tag,
                     const HtmlAttribute& attribute) {
  switch (ReferenceFormOf(tag.name, attribute.name)) {
    case ReferenceForm::NotFollowed: return;
    case ReferenceForm::Url: CheckReference(state, {page, tag.line, attribute.value}); return;
    case ReferenceForm::Srcset:
      for (const auto url : SrcsetUrls(attribute.value))
        CheckReference(state, {page, tag.line, url});
      return;
    case ReferenceForm::Css: CheckCss(state, page, tag.line, attribute.value, false); return;
  }
}

void CheckUrl(CheckState& state, std::size_t page, int line, std::string_view url) {
  CheckReference(state, {page, line, url});
}

}  // namespace trellan::sitecheck
