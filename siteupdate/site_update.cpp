#include "siteupdate/site_update.h"

#include <algorithm>
#include <map>
#include <utility>

#include "generator/menu_items.h"
#include "generator/page_writer.h"
#include "generator/site_plan.h"
#include "generator/text_output.h"
#include "sitecheck/site_url.h"
#include "sitecheck/text_codec.h"

namespace trellan::siteupdate {

namespace {

std::string_view WithoutGlobe(std::string_view label) {
  if (label.ends_with(kGlobeMarker)) label.remove_suffix(kGlobeMarker.size());
  return label;
}

bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Within a link's value as written, the range of its file name: the last
// name of its path, before "?query" and "#fragment", without the blanks a
// browser strips. Nullopt when that name, decoded, is not `name` (it was
// spelled with references that cannot be told apart from the path).
std::optional<ByteRange> FileNameRange(std::string_view page, ByteRange raw,
                                       std::string_view name) {
  const std::string_view value = TextAt(page, raw);
  std::size_t end = std::min(value.find('?'), value.find('#'));
  if (end == std::string_view::npos) end = value.size();
  while (end > 0 && IsSpaceOrControl(value[end - 1])) --end;
  const std::size_t slash = value.substr(0, end).find_last_of("/\\");
  std::size_t begin = slash == std::string_view::npos ? 0 : slash + 1;
  while (begin < end && IsSpaceOrControl(value[begin])) ++begin;
  const std::string decoded = sitecheck::PercentDecode(sitecheck::DecodeCharacterReferences(
      value.substr(begin, end - begin), sitecheck::ReferenceContext::kAttribute));
  if (!sitecheck::AsciiEqualIgnoringCase(decoded, name)) return std::nullopt;
  return ByteRange{raw.begin + begin, raw.begin + end};
}

// The site folder's file that a link leads to, or "" for any other target.
std::string SiteFileOf(std::string_view page_path, std::string_view value) {
  sitecheck::Reference reference = sitecheck::ResolveReference(page_path, value);
  if (reference.kind != sitecheck::ReferenceKind::kLocal || reference.same_page ||
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
  const SitePage* file = nullptr;
  int number = 0;  // from its file name
  PageParts parts = {};
  // Its own menu text as written (the globe marker included): from its
  // small-screen title, else from the menu of the site's other pages.
  std::optional<std::string> label = {};
  int position = 0;  // its place in the new menu, 1-based; 0: it leaves the site
};

// What the site's pages say of the texts the last run wrote, from index.html.
struct OldTexts {
  std::optional<std::string> title;
  std::optional<std::string> author;
  std::optional<std::string> keywords;
};

class Planner {
 public:
  Planner(const std::vector<SitePage>& pages, const GenerationRequest& request,
          std::string_view today)
      : site_(SiteTextOf(request)), today_(today) {
    for (const SitePage& page : pages) {
      const int number = page.path.find('/') == std::string::npos ? PageNumberOf(page.path) : 0;
      if (number > 0 && !page.bytes) plan_.blocked_by.push_back(page.path);
      if (number > 0) old_.push_back({&page, number});
      if (number == 0) own_.push_back(&page);
    }
    std::sort(old_.begin(), old_.end(),
              [](const OldPage& a, const OldPage& b) { return a.number < b.number; });
  }

  UpdatePlan Plan() {
    if (!plan_.blocked_by.empty()) return std::move(plan_);
    for (OldPage& page : old_) page.parts = ReadPageParts(*page.file->bytes);
    ReadOldTexts();
    ReadLabels();
    Match();
    PlanRenames();
    for (OldPage& page : old_)
      if (page.position > 0) PlanKeptPage(page);
    PlanNewPages();
    for (const OldPage& page : old_) PlanOldName(page);
    for (const SitePage* page : own_) PlanOwnPage(*page);
    std::sort(plan_.summary.updated.begin(), plan_.summary.updated.end());
    return std::move(plan_);
  }

 private:
  void ReadOldTexts() {
    if (old_.empty() || old_.front().number != 1) return;
    const std::string_view index = *old_.front().file->bytes;
    const PageParts& parts = old_.front().parts;
    if (parts.title) old_texts_.title = std::string(TextAt(index, *parts.title));
    if (parts.author) old_texts_.author = std::string(TextAt(index, parts.author->raw));
    if (parts.keywords) old_texts_.keywords = std::string(TextAt(index, parts.keywords->raw));
  }

  // The old menu comes from index.html's navigation, or the first page's
  // that can be read: it names the pages whose own navigation is broken.
  void ReadLabels() {
    std::map<int, std::string> menu;
    for (const OldPage& page : old_) {
      if (page.parts.navigation != Navigation::Found) continue;
      for (const MenuLink& link : page.parts.menu) {
        const int number = PageNumberOf(SiteFileOf(page.file->path, link.href));
        if (number > 0) menu.try_emplace(number, TextAt(*page.file->bytes, link.label));
      }
      break;
    }
    for (OldPage& page : old_) {
      if (page.parts.navigation == Navigation::Found && page.parts.own_label)
        page.label = std::string(TextAt(*page.file->bytes, *page.parts.own_label));
      else if (const auto found = menu.find(page.number); found != menu.end())
        page.label = found->second;
    }
  }

  // An entry keeps the page whose menu text it has. Each other entry takes
  // the first page left that stood where it stands: after the page of the
  // entry before it and before the page of the next entry matched by text.
  // So a renamed entry keeps its page, and a new one between two matched
  // entries gets a new page.
  void Match() {
    const std::size_t count = site_.items.size();
    std::vector<OldPage*> page_of(count, nullptr);
    for (std::size_t j = 0; j < count; ++j) {
      for (OldPage& page : old_) {
        if (page.position == 0 && page.label && WithoutGlobe(*page.label) == site_.items[j]) {
          page.position = static_cast<int>(j) + 1;
          page_of[j] = &page;
          break;
        }
      }
    }
    const std::vector<OldPage*> by_text = page_of;
    for (std::size_t j = 0; j < count; ++j) {
      if (page_of[j] != nullptr) continue;
      int after = 0;
      for (std::size_t i = j; i-- > 0;)
        if (page_of[i] != nullptr) {
          after = page_of[i]->number;
          break;
        }
      int before = kLastStalePage + 1;
      for (std::size_t i = j + 1; i < count; ++i)
        if (by_text[i] != nullptr) {
          before = by_text[i]->number;
          break;
        }
      for (OldPage& page : old_) {
        if (page.position == 0 && page.number > after && page.number < before) {
          page.position = static_cast<int>(j) + 1;
          page_of[j] = &page;
          break;
        }
      }
      if (page_of[j] == nullptr) new_positions_.push_back(static_cast<int>(j) + 1);
    }
  }

  void PlanRenames() {
    for (const OldPage& page : old_) {
      if (page.position == 0)
        renames_.push_back({page.file->path, {}});
      else if (page.position != page.number)
        renames_.push_back({page.file->path, PageFileName(page.position)});
    }
  }

  // The edits of the parts the page writer generated, those that change
  // something: the navigation, the title, author and keywords where they
  // still are what the last run wrote, the heading where it still holds the
  // page's menu text, and then the revised date.
  std::vector<Edit> GeneratedEdits(const OldPage& page) const {
    std::vector<Edit> edits;
    const PageParts& parts = page.parts;
    if (parts.navigation != Navigation::Found) return edits;
    const std::string_view bytes = *page.file->bytes;
    const int position = page.position;
    const auto change = [&](ByteRange range, std::string replacement) {
      if (TextAt(bytes, range) != replacement) edits.push_back({range, std::move(replacement)});
    };
    change(parts.nav, NavigationFor(site_, position, HasLfLineEnds(bytes)));
    if (parts.title && old_texts_.title && WasGeneratedTitle(page, TextAt(bytes, *parts.title)))
      change(*parts.title, PageTitle(site_, position));
    const auto meta = [&](const std::optional<MetaValue>& value,
                          const std::optional<std::string>& old, const std::string& now) {
      if (value && value->double_quoted && old && TextAt(bytes, value->raw) == *old)
        change(value->raw, now);
    };
    meta(parts.author, old_texts_.author, site_.author);
    meta(parts.keywords, old_texts_.keywords, site_.keywords);
    if (parts.heading && page.label && TextAt(bytes, *parts.heading) == *page.label)
      change(*parts.heading, MenuLabel(site_, static_cast<std::size_t>(position - 1)));
    if (!edits.empty() && parts.revised && parts.revised->double_quoted &&
        IsDate(TextAt(bytes, parts.revised->raw)))
      change(parts.revised->raw, std::string(today_));
    return edits;
  }

  // The title as the last run wrote it for the page's place; one written
  // with the globe marker in it counts as well.
  bool WasGeneratedTitle(const OldPage& page, std::string_view title) const {
    if (page.number == 1) return title == *old_texts_.title;
    if (!page.label) return false;
    const std::string prefix = *old_texts_.title + ": ";
    return title.starts_with(prefix) &&
           (title.substr(prefix.size()) == *page.label ||
            title.substr(prefix.size()) == WithoutGlobe(*page.label));
  }

  void PlanKeptPage(const OldPage& page) {
    const std::string_view bytes = *page.file->bytes;
    std::vector<Edit> edits = GeneratedEdits(page);
    const bool text = page.parts.navigation != Navigation::NotText;
    const bool nav = page.parts.navigation == Navigation::Found;
    if (!nav) plan_.summary.kept.push_back({page.file->path, page.parts.navigation});
    if (text) AddLinkEdits(edits, page.file->path, bytes, page.parts, nav ? page.parts.nav : ByteRange{});
    const std::string name =
        page.position == page.number ? page.file->path : PageFileName(page.position);
    std::string new_bytes = ApplyEdits(bytes, std::move(edits));
    if (name != page.file->path || new_bytes != bytes) {
      plan_.summary.updated.push_back(name);
      Write(name, std::move(new_bytes), page.position);
    }
    const std::string& new_label = site_.items[static_cast<std::size_t>(page.position - 1)];
    const std::string old_label(page.label ? WithoutGlobe(*page.label) : new_label);
    if (name != page.file->path || old_label != new_label)
      plan_.summary.moved.push_back({page.file->path, name, old_label, new_label});
  }

  void PlanNewPages() {
    for (const int position : new_positions_) {
      const std::string name = PageFileName(position);
      std::string bytes(kUtf8Bom);
      bytes += RenderPage(site_, position, today_);
      Write(name, std::move(bytes), position);
      plan_.summary.created.push_back({name, site_.items[static_cast<std::size_t>(position - 1)]});
    }
  }

  // A page that leaves the site, or moves to another name, is removed from
  // its name unless another page is written there.
  void PlanOldName(const OldPage& page) {
    if (page.position == 0)
      plan_.summary.removed.push_back(
          {page.file->path, std::string(page.label ? WithoutGlobe(*page.label) : "")});
    if (page.position != page.number && !written_numbers_[static_cast<std::size_t>(page.number)])
      plan_.removals.push_back(OriginalOf(*page.file));
  }

  void PlanOwnPage(const SitePage& page) {
    if (!page.bytes) {
      plan_.summary.unread.push_back(page.path);
      return;
    }
    const PageParts parts = ReadPageParts(*page.bytes);
    if (parts.navigation == Navigation::NotText) return;
    std::vector<Edit> edits;
    AddLinkEdits(edits, page.path, *page.bytes, parts, {});
    if (edits.empty()) return;
    plan_.summary.linking.push_back(page.path);
    plan_.writes.push_back({page.path, ApplyEdits(*page.bytes, std::move(edits)), OriginalOf(page)});
  }

  void AddLinkEdits(std::vector<Edit>& edits, std::string_view path, std::string_view bytes,
                    const PageParts& parts, ByteRange skip) {
    int to_removed = 0;
    for (Edit& edit : LinkEdits(bytes, parts, path, renames_, skip, to_removed))
      edits.push_back(std::move(edit));
    if (to_removed == 0) return;
    plan_.summary.links_to_removed += to_removed;
    plan_.summary.pages_with_links_to_removed.emplace_back(path);
  }

  // A page of the site written at `position`: it replaces the page that
  // has that number now, if any.
  void Write(std::string name, std::string bytes, int position) {
    written_numbers_[static_cast<std::size_t>(position)] = true;
    std::optional<std::size_t> original;
    for (const OldPage& page : old_)
      if (page.number == position) original = OriginalOf(*page.file);
    plan_.writes.push_back({std::move(name), std::move(bytes), original});
  }

  std::size_t OriginalOf(const SitePage& page) {
    const auto [found, added] = original_index_.try_emplace(&page, plan_.originals.size());
    if (added) plan_.originals.push_back({page.path, *page.bytes});
    return found->second;
  }

  SiteText site_;
  std::string_view today_;
  std::vector<OldPage> old_;
  std::vector<const SitePage*> own_;
  OldTexts old_texts_;
  std::vector<int> new_positions_;
  std::vector<Rename> renames_;
  std::vector<bool> written_numbers_ = std::vector<bool>(kLastStalePage + 1, false);
  std::map<const SitePage*, std::size_t> original_index_;
  UpdatePlan plan_;
};

}  // namespace

std::string ApplyEdits(std::string_view page, std::vector<Edit> edits) {
  std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
    return a.range.begin < b.range.begin;
  });
  std::string out;
  out.reserve(page.size());
  std::size_t done = 0;
  for (const Edit& edit : edits) {
    if (edit.range.begin < done || edit.range.end < edit.range.begin || edit.range.end > page.size())
      continue;
    out.append(page.substr(done, edit.range.begin - done));
    out += edit.bytes;
    done = edit.range.end;
  }
  out.append(page.substr(done));
  return out;
}

std::vector<Edit> LinkEdits(std::string_view page, const PageParts& parts,
                            std::string_view page_path, const std::vector<Rename>& renames,
                            ByteRange skip, int& to_removed) {
  std::vector<Edit> edits;
  if (renames.empty()) return edits;
  for (const LinkValue& link : parts.links) {
    if (link.raw.begin >= skip.begin && link.raw.end <= skip.end && skip.begin < skip.end) continue;
    const std::string target = SiteFileOf(page_path, link.value);
    if (target.empty()) continue;
    const auto rename = std::find_if(renames.begin(), renames.end(), [&](const Rename& r) {
      return sitecheck::AsciiEqualIgnoringCase(r.from, target);
    });
    if (rename == renames.end()) continue;
    if (rename->to.empty()) {
      ++to_removed;
    } else if (const auto name = FileNameRange(page, link.raw, rename->from)) {
      edits.push_back({*name, rename->to});
    }
  }
  return edits;
}

std::string RewriteLinks(std::string_view page, std::string_view page_path,
                         const std::vector<Rename>& renames) {
  int to_removed = 0;
  return ApplyEdits(page, LinkEdits(page, ReadPageParts(page), page_path, renames, {}, to_removed));
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
