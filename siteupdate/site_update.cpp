#include "siteupdate/site_update.h"

#include <algorithm>
#include <utility>

#include "generator/menu_items.h"
#include "generator/page_writer.h"
#include "generator/site_plan.h"
#include "generator/text_output.h"
#include "sitecheck/site_url.h"
#include "sitecheck/text_codec.h"
#include "siteupdate/update_texts.h"
#include "utils/ascii.h"
#include "utils/percent.h"
#include "utils/utf8.h"

namespace trellan::siteupdate {

namespace {

bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsSpaceOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpaceOrControl(text.back())) text.remove_suffix(1);
  return text;
}

// A menu text as the learner sees it: without the blanks an editor put
// around it and without the globe marker, also as an editor rewrites it
// (a span of class "lang" at its end, its character decoded, a blank
// before it).
std::string_view WithoutGlobe(std::string_view label) {
  label = Trimmed(label);
  if (label.ends_with("</span>")) {
    const std::size_t span = label.rfind("<span");
    const std::size_t tag_end = label.find('>', span);
    if (span != std::string_view::npos &&
        label.substr(span, tag_end - span).find("lang") != std::string_view::npos)
      label = Trimmed(label.substr(0, span));
  }
  return label;
}

// Within a link's value as written, the range of its file name: the last
// name of its path, before "?query" and "#fragment", without the blanks a
// browser strips.
ByteRange FileNameIn(std::string_view value) {
  std::size_t end = 0;
  while (end < value.size() && value[end] != '?' && value[end] != '#') ++end;
  while (end > 0 && IsSpaceOrControl(value[end - 1])) --end;
  std::size_t begin = end;
  while (begin > 0 && value[begin - 1] != '/' && value[begin - 1] != '\\') --begin;
  while (begin < end && IsSpaceOrControl(value[begin])) ++begin;
  return {begin, end};
}

// The site folder's file that a link (its value as written) leads to, or ""
// for any other target.
std::string SiteFileOf(std::string_view page_path, std::string_view written) {
  sitecheck::Reference reference = sitecheck::ResolveReference(
      page_path,
      sitecheck::DecodeCharacterReferences(written, sitecheck::ReferenceContext::Attribute));
  if (reference.kind != sitecheck::ReferenceKind::Local || reference.same_page ||
      reference.names_folder || reference.path.find('/') != std::string::npos)
    return {};
  return std::move(reference.path);
}

bool IsDate(std::string_view text) {
  if (text.size() != 10) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dash = i == 4 || i == 7;
    if (dash != (text[i] == '-') || (!dash && (text[i] < '0' || text[i] > '9'))) return false;
  }
  return true;
}

// An editor may have saved the page with LF line ends only; the new lines
// follow the page.
bool HasLfLineEnds(std::string_view page) {
  const std::size_t lf = page.find('\n');
  return lf != std::string_view::npos && (lf == 0 || page[lf - 1] != '\r');
}

// The page writer's navigation lines for `position`, without the last line
// end: the page's own line end after the replaced range stays.
std::string NavigationFor(const SiteText& site, int position, bool lf_only) {
  std::string lines;
  AppendNavigation(lines, site, position);
  lines.resize(lines.size() - 2);
  if (lf_only) std::erase(lines, '\r');
  return lines;
}

// A page of the site before the update.
struct OldPage {
  std::size_t file = 0;  // index into the pages
  int number = 0;        // from its file name
  PageParts parts = {};
  // Its own menu text as written (the globe marker included): from its
  // small-screen title, else from the menu of the site's other pages.
  std::optional<std::string> label = {};
  int position = 0;  // its place in the new menu, 1-based; 0: it leaves the site
};

class Planner {
 public:
  Planner(const std::vector<SitePage>& pages, const GenerationRequest& request,
          std::string_view today)
      : pages_(pages), site_(SiteTextOf(request)), today_(today) {
    std::vector<int> file_of(kLastStalePage + 1, -1);
    for (std::size_t i = 0; i < pages.size(); ++i) {
      const int number =
          pages[i].path.find('/') == std::string::npos ? PageNumberOf(pages[i].path) : 0;
      if (number == 0) continue;
      file_of[static_cast<std::size_t>(number)] = static_cast<int>(i);
      if (!pages[i].bytes) plan_.blocked_by.push_back(pages[i].path);
    }
    for (int number = 1; number <= kLastStalePage; ++number)
      if (const int file = file_of[static_cast<std::size_t>(number)]; file >= 0)
        old_.push_back({static_cast<std::size_t>(file), number});
  }

  UpdatePlan Plan() {
    if (!plan_.blocked_by.empty()) return std::move(plan_);
    for (OldPage& page : old_) page.parts = ReadPageParts(Bytes(page));
    ReadLabels();
    Match();
    for (const OldPage& page : old_) {
      if (page.position == 0)
        renames_.push_back({Path(page), {}});
      else if (page.position != page.number)
        renames_.push_back({Path(page), PageFileName(page.position)});
    }
    for (int position = 1; position <= static_cast<int>(site_.items.size()); ++position) {
      const auto page = std::find_if(old_.begin(), old_.end(),
                                     [&](const OldPage& old) { return old.position == position; });
      if (page == old_.end())
        PlanNewPage(position);
      else
        PlanKeptPage(*page);
    }
    for (const OldPage& page : old_) PlanOldName(page);
    for (std::size_t i = 0; i < pages_.size(); ++i)
      if (!IsSitePage(i)) PlanOwnPage(i);
    return std::move(plan_);
  }

 private:
  const std::string& Path(const OldPage& page) const { return pages_[page.file].path; }
  std::string_view Bytes(const OldPage& page) const { return *pages_[page.file].bytes; }
  bool IsSitePage(std::size_t file) const {
    return std::any_of(old_.begin(), old_.end(),
                       [&](const OldPage& page) { return page.file == file; });
  }
  OldPage* PageNumbered(int number) {
    for (OldPage& page : old_)
      if (page.number == number) return &page;
    return nullptr;
  }

  // A page's menu text is its small-screen title; the menu of index.html,
  // or of the first page whose navigation can be read, names the pages
  // whose own navigation is broken.
  void ReadLabels() {
    for (OldPage& page : old_)
      if (page.parts.navigation == Navigation::Found && page.parts.own_label)
        page.label = std::string(TextAt(Bytes(page), *page.parts.own_label));
    for (const OldPage& page : old_) {
      if (page.parts.navigation != Navigation::Found) continue;
      for (const MenuLink& link : page.parts.menu) {
        OldPage* named =
            PageNumbered(PageNumberOf(SiteFileOf(Path(page), TextAt(Bytes(page), link.href))));
        if (named != nullptr && !named->label)
          named->label = std::string(TextAt(Bytes(page), link.label));
      }
      break;
    }
  }

  // An entry keeps the page whose menu text it has. Each other entry takes
  // the first page left that stood where it stands: after the page of the
  // entry before it and before the page of the next entry matched by text.
  // So a renamed entry keeps its page, and a new one between two matched
  // entries gets a new page.
  void Match() {
    const std::size_t count = site_.items.size();
    std::vector<int> number_of(count, 0);  // the old page's number, 0 for none
    for (std::size_t j = 0; j < count; ++j)
      for (OldPage& page : old_)
        if (page.position == 0 && page.label &&
            WithoutGlobe(*page.label) == Trimmed(site_.items[j])) {
          page.position = static_cast<int>(j) + 1;
          number_of[j] = page.number;
          break;
        }
    const std::vector<int> by_text = number_of;
    for (std::size_t j = 0; j < count; ++j) {
      if (number_of[j] != 0) continue;
      int after = 0;
      for (std::size_t i = j; i-- > 0 && after == 0;) after = number_of[i];
      int before = 0;
      for (std::size_t i = j + 1; i < count && before == 0; ++i) before = by_text[i];
      if (before == 0) before = kLastStalePage + 1;
      for (OldPage& page : old_)
        if (page.position == 0 && page.number > after && page.number < before) {
          page.position = static_cast<int>(j) + 1;
          number_of[j] = page.number;
          break;
        }
    }
  }

  // The edits of the parts the page writer generated, those that change
  // something: the navigation, the title, author and keywords where they
  // still are what the last run wrote (as index.html shows it), the heading
  // where it still holds the page's menu text, and then the revised date.
  std::vector<Edit> GeneratedEdits(const OldPage& page) const {
    std::vector<Edit> edits;
    const PageParts& parts = page.parts;
    if (parts.navigation != Navigation::Found) return edits;
    const std::string_view bytes = Bytes(page);
    const int position = page.position;
    const auto change = [&](ByteRange range, std::string replacement) {
      if (TextAt(bytes, range) != replacement) edits.push_back({range, std::move(replacement)});
    };
    change(parts.nav, NavigationFor(site_, position, HasLfLineEnds(bytes)));
    // Without index.html nothing says what the last run wrote.
    const OldPage& index = old_.front();
    if (index.number == 1) {
      if (parts.title && index.parts.title && WasGeneratedTitle(page, TextAt(bytes, *parts.title)))
        change(*parts.title, PageTitle(site_, position));
      const auto meta = [&](const std::optional<MetaValue>& value,
                            const std::optional<MetaValue>& site_value, const std::string& now) {
        if (value && value->double_quoted && site_value &&
            TextAt(bytes, value->raw) == TextAt(Bytes(index), site_value->raw))
          change(value->raw, now);
      };
      meta(parts.author, index.parts.author, site_.author);
      meta(parts.keywords, index.parts.keywords, site_.keywords);
    }
    if (parts.heading && page.label && TextAt(bytes, *parts.heading) == *page.label)
      change(*parts.heading, MenuLabel(site_, static_cast<std::size_t>(position - 1)));
    if (!edits.empty() && parts.revised && parts.revised->double_quoted &&
        IsDate(TextAt(bytes, parts.revised->raw)))
      change(parts.revised->raw, std::string(today_));
    return edits;
  }

  // The title as the last run wrote it for the page's place (the site
  // title is index.html's); one written with the globe marker counts too.
  bool WasGeneratedTitle(const OldPage& page, std::string_view title) const {
    const std::string_view site_title = TextAt(Bytes(old_.front()), *old_.front().parts.title);
    if (page.number == 1) return true;
    if (!page.label || !title.starts_with(site_title) ||
        !title.substr(site_title.size()).starts_with(": "))
      return false;
    const std::string_view label = title.substr(site_title.size() + 2);
    return label == *page.label || label == WithoutGlobe(*page.label);
  }

  void PlanKeptPage(const OldPage& page) {
    const std::string_view bytes = Bytes(page);
    const Navigation navigation = page.parts.navigation;
    std::vector<Edit> edits = GeneratedEdits(page);
    if (navigation != Navigation::Found)
      plan_.summary.kept.push_back(KeptLine(Path(page), navigation));
    if (navigation != Navigation::NotText)
      AddLinkEdits(edits, Path(page), bytes, page.parts,
                   navigation == Navigation::Found ? page.parts.nav : ByteRange{});
    const std::string name =
        page.position == page.number ? Path(page) : PageFileName(page.position);
    std::string new_bytes = ApplyEdits(bytes, std::move(edits));
    if (name != Path(page) || new_bytes != bytes) {
      plan_.summary.updated.push_back(name);
      Write(name, std::move(new_bytes), page.position);
    }
    const std::string& new_label = site_.items[static_cast<std::size_t>(page.position - 1)];
    const std::string old_label(page.label ? WithoutGlobe(*page.label) : Trimmed(new_label));
    if (name != Path(page) || old_label != Trimmed(new_label))
      plan_.summary.moved.push_back(MovedLine(Path(page), name, old_label, new_label));
  }

  void PlanNewPage(int position) {
    const std::string name = PageFileName(position);
    std::string bytes(kUtf8Bom);
    bytes += RenderPage(site_, position, today_);
    Write(name, std::move(bytes), position);
    plan_.summary.created.push_back(
        MovedLine(name, name, site_.items[static_cast<std::size_t>(position - 1)], {}));
  }

  // A page that leaves the site, or moves to another name, is removed from
  // its name unless a page is written there: every place of the new menu
  // is written that another page moves to or a new page takes.
  void PlanOldName(const OldPage& page) {
    if (page.position == 0)
      plan_.summary.removed.push_back(
          MovedLine(Path(page), Path(page), page.label ? WithoutGlobe(*page.label) : "", {}));
    if (page.position != page.number && page.number > static_cast<int>(site_.items.size()))
      plan_.originals[static_cast<std::size_t>(OriginalOf(page.file))].removed = true;
  }

  void PlanOwnPage(std::size_t file) {
    const SitePage& page = pages_[file];
    if (!page.bytes) {
      plan_.summary.unread.push_back(page.path);
      return;
    }
    if (renames_.empty()) return;  // a learner's page changes only where it links a renamed one
    const PageParts parts = ReadPageParts(*page.bytes);
    if (parts.navigation == Navigation::NotText) return;
    std::vector<Edit> edits;
    AddLinkEdits(edits, page.path, *page.bytes, parts, {});
    if (edits.empty()) return;
    plan_.summary.linking.push_back(page.path);
    const int original = OriginalOf(file);
    plan_.writes.push_back({page.path, ApplyEdits(*page.bytes, std::move(edits)), original});
  }

  void AddLinkEdits(std::vector<Edit>& edits, std::string_view path, std::string_view bytes,
                    const PageParts& parts, ByteRange skip) {
    const int to_removed = AppendLinkEdits(edits, bytes, parts, path, renames_, skip);
    if (to_removed == 0) return;
    plan_.summary.links_to_removed += to_removed;
    plan_.summary.with_links_to_removed.emplace_back(path);
  }

  // A page of the site written at `position`: it replaces the page that
  // has that number now, if any.
  void Write(std::string name, std::string bytes, int position) {
    const OldPage* there = PageNumbered(position);
    const int original = there != nullptr ? OriginalOf(there->file) : -1;
    plan_.writes.push_back({std::move(name), std::move(bytes), original});
  }

  int OriginalOf(std::size_t file) {
    int& original = original_of_[file];
    if (original < 0) {
      original = static_cast<int>(plan_.originals.size());
      plan_.originals.push_back({pages_[file].path, *pages_[file].bytes});
    }
    return original;
  }

  const std::vector<SitePage>& pages_;
  SiteText site_;
  std::string_view today_;
  std::vector<OldPage> old_;  // by number
  std::vector<Rename> renames_;
  std::vector<int> original_of_ = std::vector<int>(pages_.size(), -1);
  UpdatePlan plan_;
};

}  // namespace

std::string ApplyEdits(std::string_view page, std::vector<Edit> edits) {
  // In page order. The links' edits come in page order already, and only a
  // few others among them, so inserting each in its place costs little.
  for (std::size_t i = 1; i < edits.size(); ++i)
    for (std::size_t j = i; j > 0 && edits[j - 1].range.begin > edits[j].range.begin; --j)
      std::swap(edits[j - 1], edits[j]);
  std::string out;
  out.reserve(page.size());
  std::size_t done = 0;
  for (const Edit& edit : edits) {
    if (edit.range.begin < done || edit.range.end < edit.range.begin ||
        edit.range.end > page.size())
      continue;
    out.append(page.substr(done, edit.range.begin - done));
    out += edit.bytes;
    done = edit.range.end;
  }
  out.append(page.substr(done));
  return out;
}

int AppendLinkEdits(std::vector<Edit>& edits, std::string_view page, const PageParts& parts,
                    std::string_view page_path, const std::vector<Rename>& renames,
                    ByteRange skip) {
  int to_removed = 0;
  if (renames.empty()) return 0;
  std::string decoded;
  for (const ByteRange link : parts.links) {
    if (link.begin >= skip.begin && link.end <= skip.end && skip.begin < skip.end) continue;
    // Most links name no renamed page: the file name as written tells, and
    // only a name that matches is resolved against the page.
    const std::string_view value = TextAt(page, link);
    const ByteRange range = FileNameIn(value);
    std::string_view name = TextAt(value, range);
    if (std::any_of(name.begin(), name.end(), [](char c) { return c == '%' || c == '&'; })) {
      decoded = PercentDecode(
          sitecheck::DecodeCharacterReferences(name, sitecheck::ReferenceContext::Attribute));
      name = decoded;
    }
    const auto rename = std::find_if(renames.begin(), renames.end(), [&](const Rename& r) {
      return AsciiEqualIgnoringCase(r.from, name);
    });
    if (rename == renames.end() ||
        !AsciiEqualIgnoringCase(SiteFileOf(page_path, value), rename->from))
      continue;
    if (rename->to.empty())
      ++to_removed;
    else
      edits.push_back({{link.begin + range.begin, link.begin + range.end}, rename->to});
  }
  return to_removed;
}

std::string RewriteLinks(std::string_view page, std::string_view page_path,
                         const std::vector<Rename>& renames) {
  std::vector<Edit> edits;
  AppendLinkEdits(edits, page, ReadPageParts(page), page_path, renames, {});
  return ApplyEdits(page, std::move(edits));
}

UpdatePlan PlanUpdate(const std::vector<SitePage>& pages, const GenerationRequest& request,
                      std::string_view today) {
  return Planner(pages, request, today).Plan();
}

SiteForm ReadSiteForm(std::string_view index_page) {
  const PageParts parts = ReadPageParts(index_page);
  SiteForm form;
  const auto text = [&](ByteRange range) { return std::string(TextAt(index_page, range)); };
  if (parts.title) form.title = text(*parts.title);
  if (parts.author) form.author = text(parts.author->raw);
  if (parts.keywords) form.keywords = text(parts.keywords->raw);
  if (parts.navigation == Navigation::Found && !parts.menu.empty()) {
    std::string menu;
    for (const MenuLink& link : parts.menu) {
      if (&link != &parts.menu.front()) menu += "\r\n";
      menu += WithoutGlobe(TextAt(index_page, link.label));
    }
    form.menu_text = std::move(menu);
  }
  return form;
}

}  // namespace trellan::siteupdate
