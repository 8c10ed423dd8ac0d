// libFuzzer target for what is read back from the registry: the six values
// of the form as raw data of any length and termination (or missing), read
// as RegistrySettings reads them and loaded into the form.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "settings/form_settings.h"
#include "settings/stored_value.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {

using trellan::fuzz::Require;

// The registry as RegistrySettings sees it, over raw value data: a text is
// read with room for `max_characters` and the zero.
class RawStore final : public trellan::SettingsStore {
 public:
  std::string ReadText(const char* name, std::size_t max_characters) const override {
    const auto found = raw.find(name);
    return found == raw.end() ? std::string()
                              : trellan::StoredTextOf(found->second, max_characters + 1);
  }
  std::uint32_t ReadNumber(const char* name) const override {
    const auto found = raw.find(name);
    return found == raw.end() ? 0 : trellan::StoredNumberOf(found->second);
  }
  void WriteText(const char*, const std::string&) override { Require(false); }
  void WriteNumber(const char*, std::uint32_t) override { Require(false); }

  std::map<std::string, std::string> raw;
};

// What a text value must load as, from the rule: the data up to a zero, at
// most `capacity` characters; missing, empty or starting with a blank or a
// control character gives the default.
std::string ExpectedText(const RawStore& store, const char* name, std::size_t capacity,
                         const std::string& default_text) {
  const auto found = store.raw.find(name);
  if (found == store.raw.end()) return default_text;
  std::string text = found->second.substr(0, found->second.find('\0'));
  if (text.size() > capacity) text.resize(capacity);
  if (text.empty() || static_cast<unsigned char>(text[0]) <= 32) return default_text;
  return text;
}

// A box is checked only by a stored 1: up to four bytes, the first 1, the
// others 0.
bool ExpectedFlag(const RawStore& store, const char* name) {
  const auto found = store.raw.find(name);
  if (found == store.raw.end()) return false;
  const std::string& bytes = found->second;
  return !bytes.empty() && bytes.size() <= 4 && bytes[0] == 1 &&
         bytes.find_first_not_of('\0', 1) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  RawStore store;
  for (const char* name :
       {"PageTitle", "PageAuthor", "PageKeywords", "PageMenue", "CSSOnly", "Explore"})
    if (input.ConsumeBool()) store.raw[name] = input.ConsumeRandomLengthString(10000);

  // The decoding alone, at any capacity.
  const std::string raw = input.ConsumeRandomLengthString(2000);
  const std::size_t capacity = input.ConsumeIntegralInRange<std::size_t>(0, 2100);
  const std::string text = trellan::StoredTextOf(raw, capacity);
  Require(capacity == 0 ? text.empty() : text.size() <= capacity - 1);
  Require(text.find('\0') == std::string::npos && raw.starts_with(text));

  const trellan::FormSettings form = trellan::LoadFormSettings(store);
  const trellan::FormSettings defaults = trellan::DefaultFormSettings();
  Require(form.title == ExpectedText(store, "PageTitle", 1024, defaults.title));
  Require(form.author == ExpectedText(store, "PageAuthor", 1024, defaults.author));
  Require(form.keywords == ExpectedText(store, "PageKeywords", 1024, defaults.keywords));
  Require(form.menu_text == ExpectedText(store, "PageMenue", 8191, defaults.menu_text));
  Require(form.css_only == ExpectedFlag(store, "CSSOnly"));
  Require(form.open_folder == ExpectedFlag(store, "Explore"));
  return 0;
}
