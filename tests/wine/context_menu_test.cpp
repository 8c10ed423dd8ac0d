// The image viewer's context-menu keys in the registry, switched in this
// process. The question, the download page and the exit code that follow a
// missing viewer are the dialog's: mediatools_e2e_test shows them.
#include "system/context_menu_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "system/handles.h"
#include "tests/support/test_site.h"

namespace trellan {
namespace {

constexpr const char* kShellKey = "SOFTWARE\\Classes\\Directory\\shell";
constexpr const char* kThumbVerb = "SOFTWARE\\Classes\\Directory\\shell\\JPG-Thumb (IrfanView)";
constexpr const char* kWebVerb = "SOFTWARE\\Classes\\Directory\\shell\\JPG-Web (IrfanView)";

// The program folders that a 32-bit process sees in the test prefix.
constexpr const char* kViewer64 = "C:\\Program Files\\IrfanView\\I_view64.exe";
constexpr const char* kViewer32 = "C:\\Program Files (x86)\\IrfanView\\I_view32.exe";

std::string ThumbFor(const std::string& viewer) {
  return "\"" + viewer +
         "\" \"%1\\*.*\" /silent /resize_long=400 /aspectratio /resample /jpgq=70 "
         "/convert=\"%1\\px4web\\$N_t.jpg\"";
}

std::string WebFor(const std::string& viewer) {
  return "\"" + viewer +
         "\" \"%1\\*.*\" /silent /resize_long=1600 /aspectratio /resample /jpgq=70 "
         "/convert=\"%1\\px4web\\$N.jpg\"";
}

struct DefaultValue {
  DWORD type = REG_NONE;
  std::string data;  // up to the terminating zero
  bool operator==(const DefaultValue&) const = default;
};

DefaultValue CommandOf(const std::string& verb) {
  DefaultValue value;
  RegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, (verb + "\\command").c_str(), 0, KEY_READ, key.out()) !=
      ERROR_SUCCESS)
    return value;
  std::string data(4096, '\0');
  DWORD size = static_cast<DWORD>(data.size());
  if (RegQueryValueExA(key.get(), "", nullptr, &value.type, reinterpret_cast<BYTE*>(data.data()),
                       &size) == ERROR_SUCCESS) {
    data.resize(size);
    if (!data.empty() && data.back() == '\0') data.pop_back();
    value.data = data;
  }
  return value;
}

struct KeyCounts {
  DWORD sub_keys = 0;
  DWORD values = 0;
  bool operator==(const KeyCounts&) const = default;
};

KeyCounts CountsOf(const std::string& path) {
  KeyCounts counts;
  RegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.out()) == ERROR_SUCCESS)
    RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &counts.sub_keys, nullptr, nullptr,
                     &counts.values, nullptr, nullptr, nullptr, nullptr);
  return counts;
}

// The verbs under the shell key whose names start with "JPG-".
std::set<std::string> ConverterVerbs() {
  std::set<std::string> verbs;
  RegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellKey, 0, KEY_READ, key.out()) != ERROR_SUCCESS)
    return verbs;
  std::string name(256, '\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumKeyExA(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    if (name.starts_with("JPG-")) verbs.insert(name.substr(0, length));
  }
  return verbs;
}

void PlaceFile(const std::string& path) {
  CreateDirectoryA(path.substr(0, path.rfind('\\')).c_str(), nullptr);
  test::WriteFileBytes(path, "MZ");
  ASSERT_TRUE(test::FileExists(path)) << path;
}

void CreateKey(const std::string& path) {
  RegKey key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            key.out(), nullptr),
            ERROR_SUCCESS)
      << path;
}

class ContextMenu : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kThumbVerb);
    RegDeleteTreeA(HKEY_CURRENT_USER, kWebVerb);
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kShellKey) + "\\Andere").c_str());
    for (const char* folder :
         {"C:\\Program Files\\IrfanView", "C:\\Program Files (x86)\\IrfanView"})
      test::RemoveTree(folder);
  }
};

TEST_F(ContextMenu, OnNamesTheFirstViewerFound) {
  const struct {
    std::vector<const char*> installed;
    const char* named;
  } cases[] = {{{kViewer64, kViewer32}, kViewer64}, {{kViewer32}, kViewer32}};
  for (const auto& c : cases) {
    Clean();
    for (const char* viewer : c.installed) PlaceFile(viewer);
    EXPECT_EQ(SwitchContextMenu(true), ContextMenuOutcome::Added) << c.named;
    EXPECT_EQ(CommandOf(kThumbVerb), (DefaultValue{REG_SZ, ThumbFor(c.named)}));
    EXPECT_EQ(CommandOf(kWebVerb), (DefaultValue{REG_SZ, WebFor(c.named)}));
  }
}

TEST_F(ContextMenu, OnTwiceLeavesOnePairOfCommands) {
  PlaceFile(kViewer64);
  EXPECT_EQ(SwitchContextMenu(true), ContextMenuOutcome::Added);
  EXPECT_EQ(SwitchContextMenu(true), ContextMenuOutcome::Added);

  EXPECT_EQ(ConverterVerbs(),
            (std::set<std::string>{"JPG-Thumb (IrfanView)", "JPG-Web (IrfanView)"}));
  for (const std::string verb : {kThumbVerb, kWebVerb}) {
    EXPECT_EQ(CountsOf(verb), (KeyCounts{1, 0})) << verb;
    EXPECT_EQ(CountsOf(verb + "\\command"), (KeyCounts{0, 1})) << verb;
  }
  EXPECT_EQ(CommandOf(kThumbVerb).data, ThumbFor(kViewer64));
  EXPECT_EQ(CommandOf(kWebVerb).data, WebFor(kViewer64));
}

TEST_F(ContextMenu, OnWithoutViewerWritesNothing) {
  // Each viewer in the other's folder is no viewer.
  PlaceFile("C:\\Program Files\\IrfanView\\I_view32.exe");
  PlaceFile("C:\\Program Files (x86)\\IrfanView\\I_view64.exe");
  EXPECT_EQ(SwitchContextMenu(true), ContextMenuOutcome::ViewerMissing);
  EXPECT_TRUE(ConverterVerbs().empty());
}

// Off does not look for the viewer and leaves keys of others alone; a verb
// key that holds another's key cannot go, which it says.
TEST_F(ContextMenu, OffRemovesBothCommandsWithoutViewerAndKeepsOthersKeys) {
  const struct {
    std::string others_key;
    ContextMenuOutcome outcome;
    std::set<std::string> verbs_left;
  } cases[] = {
      {std::string(kShellKey) + "\\Andere", ContextMenuOutcome::Removed, {}},
      {std::string(kWebVerb) + "\\fremd", ContextMenuOutcome::Failed, {"JPG-Web (IrfanView)"}}};
  for (const auto& c : cases) {
    Clean();
    PlaceFile(kViewer64);
    ASSERT_EQ(SwitchContextMenu(true), ContextMenuOutcome::Added);
    CreateKey(c.others_key);
    test::RemoveTree("C:\\Program Files\\IrfanView");

    EXPECT_EQ(SwitchContextMenu(false), c.outcome) << c.others_key;
    EXPECT_EQ(ConverterVerbs(), c.verbs_left);
    EXPECT_FALSE(test::KeyExists(std::string(kWebVerb) + "\\command"));
    EXPECT_TRUE(test::KeyExists(c.others_key));
  }
}

TEST_F(ContextMenu, OffWithoutCommandsIsRemovedAgain) {
  EXPECT_EQ(SwitchContextMenu(false), ContextMenuOutcome::Removed);
  EXPECT_EQ(SwitchContextMenu(false), ContextMenuOutcome::Removed);
  EXPECT_TRUE(ConverterVerbs().empty());
}

}  // namespace
}  // namespace trellan
