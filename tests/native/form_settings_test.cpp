// The form as a value: its defaults, what loads from the store and what is
// written back, in which order.
#include "settings/form_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace trellan {
namespace {

// The store in memory; it cuts a text to what was asked for, as the
// registry read does, and logs every write.
class MemoryStore final : public SettingsStore {
 public:
  std::string ReadText(const char* name, std::size_t max_characters) const override {
    const auto found = texts.find(name);
    return found == texts.end() ? std::string() : found->second.substr(0, max_characters);
  }
  void WriteText(const char* name, const std::string& text) override {
    texts[name] = text;
    writes.push_back(name);
  }
  std::uint32_t ReadNumber(const char* name) const override {
    const auto found = numbers.find(name);
    return found == numbers.end() ? 0 : found->second;
  }
  void WriteNumber(const char* name, std::uint32_t number) override {
    numbers[name] = number;
    writes.push_back(name);
  }

  std::map<std::string, std::string> texts;
  std::map<std::string, std::uint32_t> numbers;
  std::vector<std::string> writes;
};

const FormSettings kDefaults = {"Seitentitel eingeben",
                                "Vorname Name",
                                "Schl\xFCsselw\xF6rter f\xFCr Suchmaschinen eingeben",
                                "Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum",
                                false,
                                false};

TEST(FormSettings, NothingStoredLoadsTheDefaults) {
  EXPECT_EQ(DefaultFormSettings(), kDefaults);
  EXPECT_EQ(LoadFormSettings(MemoryStore()), kDefaults);
}

// Only a first character above 32 makes a stored text count; a box is
// checked only by a stored 1.
TEST(FormSettings, TextsStartingBlankOrControlAndNumbersOtherThanOneLoadAsDefaults) {
  MemoryStore store;
  store.texts = {{"PageTitle", " Titel"},
                 {"PageAuthor", "\xC4nne"},
                 {"PageKeywords", "\tTab"},
                 {"PageMenue", ""}};
  store.numbers = {{"CSSOnly", 2}, {"Explore", 1}};
  FormSettings expected = kDefaults;
  expected.author = "\xC4nne";
  expected.open_folder = true;
  EXPECT_EQ(LoadFormSettings(store), expected);
  store.texts["PageMenue"] = "\x01Heim";
  store.numbers = {{"CSSOnly", 1}, {"Explore", 0xFFFFFFFF}};
  expected.css_only = true;
  expected.open_folder = false;
  EXPECT_EQ(LoadFormSettings(store), expected);
}

// What "&Sichern" can store comes back whole: 1024 characters of a line (a
// line field hands over 512), 8191 of the menu.
TEST(FormSettings, LoadReadsLinesUpTo1024AndTheMenuUpTo8191Characters) {
  MemoryStore store;
  store.texts = {{"PageTitle", std::string(3000, 't')}, {"PageMenue", std::string(9000, 'm')}};
  const FormSettings form = LoadFormSettings(store);
  EXPECT_EQ(form.title, std::string(1024, 't'));
  EXPECT_EQ(form.menu_text, std::string(8191, 'm'));
}

TEST(FormSettings, SaveWritesEveryValueInOrderAndLoadGivesItBack) {
  const FormSettings form = {
      "\xC4pfel & Birnen", "Eva M\xFCller", "Obst, Garten", "Heim\r\nKontakt", true, false};
  MemoryStore store;
  SaveFormSettings(store, form);
  EXPECT_EQ(store.writes, (std::vector<std::string>{"PageTitle", "PageAuthor", "PageKeywords",
                                                    "PageMenue", "CSSOnly", "Explore"}));
  EXPECT_EQ(store.numbers, (std::map<std::string, std::uint32_t>{{"CSSOnly", 1}, {"Explore", 0}}));
  EXPECT_EQ(LoadFormSettings(store), form);
}

TEST(FormSettings, StoreCssOnlyWritesOnlyThatValueAsOneOrZero) {
  MemoryStore store;
  StoreCssOnly(store, true);
  EXPECT_EQ(store.numbers, (std::map<std::string, std::uint32_t>{{"CSSOnly", 1}}));
  StoreCssOnly(store, false);
  EXPECT_EQ(store.numbers, (std::map<std::string, std::uint32_t>{{"CSSOnly", 0}}));
  EXPECT_EQ(store.writes.size(), 2u);
}

}  // namespace
}  // namespace trellan
