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

void AppendMenuItems(std::string& out, const SiteText& site, int page) {
  for (std::size_t j = 0; j < site.items.size(); ++j) {
    const std::string href = PageFileName(static_cast<int>(j) + 1);
    const std::string label = MenuLabel(site, j);
    const bool active = static_cast<int>(j) + 1 == page;
    AppendTemplate(out, active ? embedded::kPageMenuItemActive : embedded::kPageMenuItem,
                   {{"href", href}, {"label", label}});
  }
}

void AppendIntro(std::string& out, int page) {
  const std::string number = std::to_string(page);
  AppendTemplate(out, page == 1 ? embedded::kPageIntroFirst : embedded::kPageIntroOther,
                 {{"page", number}});
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
  const std::string item = MenuLabel(site, static_cast<std::size_t>(page - 1));
  AppendTemplate(out, embedded::kPageNavTop, {{"item", item}});
  AppendMenuItems(out, site, page);
  AppendTemplate(out, embedded::kPageNavEnd);
}

std::string RenderPage(const SiteText& site, int page, std::string_view today) {
  const int count = static_cast<int>(site.items.size());
  const std::string item = MenuLabel(site, static_cast<std::size_t>(page - 1));

  std::string out;
  AppendTemplate(out, embedded::kPageHead,
                 {{"author", site.author},
                  {"keywords", site.keywords},
                  {"revised", today},
                  {"title", PageTitle(site, page)}});
  AppendNavigation(out, site, page);
  AppendTemplate(out, embedded::kPageMainTop, {{"item", item}});
  for (Block block : PageBlocks(page, count)) {
    if (block == Block::PageIntro)
      AppendIntro(out, page);
    else
      out += BlockLines(block);
  }
  if (page == count) AppendTemplate(out, embedded::kPageDisclaimerEnd);
  AppendTemplate(out, embedded::kPageBottom);
  return out;
}

}  // namespace trellan
