#include "generator/page_writer.h"

#include <array>

#include "embedded_files.h"
#include "generator/menu_items.h"
#include "generator/text_output.h"

namespace trellan {

namespace {

std::string_view BlockText(Block block) {
  using namespace embedded;
  switch (block) {
    case Block::PageIntro: break;  // depends on the page number
    case Block::WelcomeText: return kBlockWelcomeText;
    case Block::SearchEngineLinks: return kBlockSearchEngineLinks;
    case Block::ImageDemos: return kBlockImageDemos;
    case Block::ColumnText: return kBlockColumnText;
    case Block::MediaDemos: return kBlockMediaDemos;
    case Block::MarkupDemos: return kBlockMarkupDemos;
    case Block::LayoutTable: return kBlockLayoutTable;
    case Block::DocumentLinks: return kBlockDocumentLinks;
    case Block::PageFooter: return kBlockPageFooter;
    case Block::Disclaimer: return kBlockDisclaimer;
    case Block::LanguageList: return kBlockLanguageList;
  }
  return {};
}

// A block with CR LF line ends, converted on first use: the blocks are most
// of every page's bytes and the same on every page of every run.
const std::string& BlockLines(Block block) {
  static std::array<std::string, static_cast<std::size_t>(Block::LanguageList) + 1> converted;
  std::string& lines = converted[static_cast<std::size_t>(block)];
  if (lines.empty()) lines = WithCrLf(BlockText(block));
  return lines;
}

// The parts of the page around the blocks.
enum class Part {
  Head,
  NavTop,
  MenuItem,
  MenuItemActive,
  NavEnd,
  MainTop,
  IntroFirst,
  IntroOther,
  DisclaimerEnd,
  Bottom,
};

std::string_view PartText(Part part) {
  using namespace embedded;
  switch (part) {
    case Part::Head: return kPageHead;
    case Part::NavTop: return kPageNavTop;
    case Part::MenuItem: return kPageMenuItem;
    case Part::MenuItemActive: return kPageMenuItemActive;
    case Part::NavEnd: return kPageNavEnd;
    case Part::MainTop: return kPageMainTop;
    case Part::IntroFirst: return kPageIntroFirst;
    case Part::IntroOther: return kPageIntroOther;
    case Part::DisclaimerEnd: return kPageDisclaimerEnd;
    case Part::Bottom: break;
  }
  return kPageBottom;
}

// A part with CR LF line ends, its {{name}}s kept, converted on first use.
const std::string& PartLines(Part part) {
  static std::array<std::string, static_cast<std::size_t>(Part::Bottom) + 1> converted;
  std::string& lines = converted[static_cast<std::size_t>(part)];
  if (lines.empty()) lines = WithCrLf(PartText(part));
  return lines;
}

void AppendMenu(std::string& out, const SiteText& site, int page) {
  for (std::size_t j = 0; j < site.items.size(); ++j) {
    const std::string href = PageFileName(static_cast<int>(j) + 1);
    const std::string label = MenuLabel(site, j);
    const bool active = static_cast<int>(j) + 1 == page;
    AppendFilled(out, PartLines(active ? Part::MenuItemActive : Part::MenuItem),
                 {{"href", href}, {"label", label}});
  }
}

void AppendIntro(std::string& out, int page) {
  const std::string number = std::to_string(page);
  AppendFilled(out, PartLines(page == 1 ? Part::IntroFirst : Part::IntroOther), {{"page", number}});
}

}  // namespace

std::string PageFileName(int page) {
  if (page == 1) return "index.html";
  std::string number = std::to_string(page);
  if (number.size() < 2) number.insert(0, 1, '0');
  return "s" + number + ".html";
}

std::vector<Block> PageBlocks(int i, int n) {
  if (i == n) return {Block::Disclaimer, Block::LanguageList};
  const bool last_but_one = i == n - 1;
  std::vector<Block> blocks{Block::PageIntro};
  if (i == 1) blocks.push_back(Block::WelcomeText);
  if (i > 2) blocks.push_back(Block::SearchEngineLinks);
  if (i == 2) blocks.push_back(Block::ImageDemos);
  if (i > 2 && !last_but_one) blocks.push_back(Block::ColumnText);
  if (last_but_one) blocks.push_back(Block::MediaDemos);
  if (i > 2 && !last_but_one) blocks.push_back(Block::MarkupDemos);
  if (i > 2) blocks.push_back(Block::LayoutTable);
  if (i != 2 && !last_but_one) blocks.push_back(Block::DocumentLinks);
  blocks.push_back(Block::PageFooter);
  return blocks;
}

// The globe marker is markup, which a title element would show literally,
// so the title uses the entry's own text.
std::string PageTitle(const SiteText& site, int page) {
  if (page == 1) return site.title;
  return site.title + ": " + site.items[static_cast<std::size_t>(page - 1)];
}

std::string MenuLabel(const SiteText& site, std::size_t index) {
  std::string label = site.items[index];
  if (index + 1 == site.items.size()) label += kGlobeMarker;
  return label;
}

void AppendNavigation(std::string& out, const SiteText& site, int page) {
  AppendFilled(out, PartLines(Part::NavTop),
               {{"item", MenuLabel(site, static_cast<std::size_t>(page - 1))}});
  AppendMenu(out, site, page);
  out += PartLines(Part::NavEnd);
}

std::string RenderPage(const SiteText& site, int page, std::string_view today) {
  const int count = static_cast<int>(site.items.size());
  const std::string item = MenuLabel(site, static_cast<std::size_t>(page - 1));
  const std::string title = PageTitle(site, page);

  const std::vector<Block> blocks = PageBlocks(page, count);
  // One allocation per page: the menu and the blocks are most of its bytes.
  std::size_t size = PartLines(Part::Head).size() + PartLines(Part::NavTop).size() +
                     PartLines(Part::NavEnd).size() + PartLines(Part::MainTop).size() +
                     PartLines(Part::Bottom).size() + title.size() + 2 * item.size() + 512;
  for (const std::string& label : site.items)
    size += PartLines(Part::MenuItemActive).size() + 2 * label.size() + 32;
  for (Block block : blocks) size += BlockLines(block).size();
  std::string out;
  out.reserve(size);
  AppendFilled(
      out, PartLines(Part::Head),
      {{"author", site.author}, {"keywords", site.keywords}, {"revised", today}, {"title", title}});
  AppendNavigation(out, site, page);
  AppendFilled(out, PartLines(Part::MainTop), {{"item", item}});
  for (Block block : blocks) {
    if (block == Block::PageIntro)
      AppendIntro(out, page);
    else
      out += BlockLines(block);
  }
  if (page == count) out += PartLines(Part::DisclaimerEnd);
  out += PartLines(Part::Bottom);
  return out;
}

}  // namespace trellan
