#pragma once
// The complete text of one page of the sample site.
#include <string>
#include <string_view>
#include <vector>

namespace trellan {

// The run's texts in UTF-8, as they go into the pages.
struct SiteText {
  std::string title;
  std::string author;
  std::string keywords;
  // The menu entries' own texts; the last one is shown with the globe marker.
  std::vector<std::string> items;
};

// The sample content blocks, in the order in which a page carries them.
enum class Block {
  PageIntro,
  WelcomeText,
  SearchEngineLinks,
  ImageDemos,
  ColumnText,
  MediaDemos,
  MarkupDemos,
  LayoutTable,
  DocumentLinks,
  PageFooter,
  Disclaimer,
  LanguageList,
};

// "index.html" for page 1, "s02.html" ... "s99.html" for the others.
std::string PageFileName(int page);

// The blocks below the heading of page `page` (1-based) of `count` pages.
// The last page is the disclaimer page.
std::vector<Block> PageBlocks(int page, int count);

// The menu label of entry `index` (0-based): the entry's text, and for the
// last entry the globe marker after it.
std::string MenuLabel(const SiteText& site, std::size_t index);

// The text of page `page`'s title element (1-based): the site title, after
// it ": " and the entry's own text on every page but the first.
std::string PageTitle(const SiteText& site, int page);

// The navigation lines of page `page` (1-based), from "<nav>" to the line
// of "</nav>", each ended by CR LF.
void AppendNavigation(std::string& out, const SiteText& site, int page);

// Page `page` (1-based) with CR LF line ends, without the byte-order mark.
// `today` goes into the revised meta line.
std::string RenderPage(const SiteText& site, int page, std::string_view today);

}  // namespace trellan
