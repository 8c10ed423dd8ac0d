// The system services against the prefix's real registry, files and
// processes.
#include "system/system.h"

#include <gtest/gtest.h>

#include <string>

#include "identity.h"
#include "system/registry_settings.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_site.h"

namespace trellan {
namespace {

constexpr const char* kTestKey = "SOFTWARE\\TrellanTests\\Services";
constexpr const char* kUserShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

void DeleteTestKeys() { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\TrellanTests"); }

// Saves one registry value and puts it back (or removes it) afterwards.
class SavedValue {
 public:
  SavedValue(const char* key, const char* name) : key_(key), name_(name) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &handle) == ERROR_SUCCESS) {
      DWORD size = sizeof data_;
      existed_ = RegQueryValueExA(handle, name, nullptr, &type_, data_, &size) == ERROR_SUCCESS;
      size_ = size;
      RegCloseKey(handle);
    }
  }
  ~SavedValue() {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_, 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return;
    if (existed_)
      RegSetValueExA(handle, name_, 0, type_, data_, size_);
    else
      RegDeleteValueA(handle, name_);
    RegCloseKey(handle);
  }
  void Set(DWORD type, const std::string& text) const {
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(handle, name_, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(handle);
  }
  void Remove() const {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_, 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return;
    RegDeleteValueA(handle, name_);
    RegCloseKey(handle);
  }

 private:
  const char* key_;
  const char* name_;
  bool existed_ = false;
  DWORD type_ = 0;
  BYTE data_[2048] = {};
  DWORD size_ = 0;
};

std::string Environment(const char* name) {
  char buffer[1024] = {};
  GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return buffer;
}

TEST(Registry, StringsAndNumbersRoundTripAndCreateTheirKeys) {
  DeleteTestKeys();
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kTestKey, "Missing"), "");
  EXPECT_EQ(ReadRegDword(HKEY_CURRENT_USER, kTestKey, "Missing"), 0u);

  WriteRegString(HKEY_CURRENT_USER, kTestKey, "Text",
                 "Gr\xFC\xDF"
                 "e");
  WriteRegDword(HKEY_CURRENT_USER, kTestKey, "Number", 1);
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kTestKey, "Text"),
            "Gr\xFC\xDF"
            "e");
  EXPECT_EQ(ReadRegDword(HKEY_CURRENT_USER, kTestKey, "Number"), 1u);
  EXPECT_EQ(ReadRegDword(HKEY_CURRENT_USER, kTestKey, "Missing"), 0u);

  // Stored as REG_SZ with its terminating zero.
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kTestKey, "Text", RRF_RT_ANY, &type, nullptr, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 6u);
  DeleteTestKeys();
}

TEST(Registry, EmptyValueNameWritesTheDefaultValueOfNewKeys) {
  DeleteTestKeys();
  const char* deep = "SOFTWARE\\TrellanTests\\Services\\a\\b\\command";
  WriteRegString(HKEY_CURRENT_USER, deep, "", "prog.exe \"%1\"");
  char value[64] = {};
  LONG size = sizeof value;
  ASSERT_EQ(RegQueryValueA(HKEY_CURRENT_USER, deep, value, &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, "prog.exe \"%1\"");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, deep, ""), "prog.exe \"%1\"");
  DeleteTestKeys();
}

TEST(Registry, OverlongTextIsCutToTheCapacity) {
  DeleteTestKeys();
  const std::string long_text(3000, 'x');
  WriteRegString(HKEY_CURRENT_USER, kTestKey, "Long", long_text);
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kTestKey, "Long"), std::string(1024, 'x'));
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kTestKey, "Long", 8192), long_text);
  // An empty value reads like a missing one; a value starting with a blank stays.
  WriteRegString(HKEY_CURRENT_USER, kTestKey, "Empty", "");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kTestKey, "Empty"), "");
  WriteRegString(HKEY_CURRENT_USER, kTestKey, "Blank", " x");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kTestKey, "Blank"), " x");
  DeleteTestKeys();
}

// The form's store: texts as REG_SZ and numbers as REG_DWORD under the
// program's key, created on the first write; a text read cut to the
// characters asked for.
TEST(RegistrySettings, TextsAndNumbersRoundTripUnderTheProgramsKey) {
  RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
  RegistrySettings store;
  EXPECT_EQ(store.ReadText("PageTitle", 1024), "");
  EXPECT_EQ(store.ReadNumber("CSSOnly"), 0u);
  store.WriteText("PageTitle",
                  "Gr\xFC\xDF"
                  "e");
  store.WriteText("PageMenue", std::string(9000, 'm'));
  store.WriteNumber("CSSOnly", 1);
  EXPECT_EQ(store.ReadText("PageTitle", 1024),
            "Gr\xFC\xDF"
            "e");
  EXPECT_EQ(store.ReadText("PageMenue", 8191), std::string(8191, 'm'));
  EXPECT_EQ(store.ReadNumber("CSSOnly"), 1u);
  DWORD type = 0;
  RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "PageTitle", RRF_RT_ANY, &type, nullptr, nullptr);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "CSSOnly", RRF_RT_ANY, &type, nullptr, nullptr);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
}

TEST(ShellFolderPath, ExpandsTheUserShellFolderValue) {
  SavedValue user(kUserShellFolders, "Desktop");
  user.Set(REG_EXPAND_SZ, "%USERPROFILE%\\Desktop");
  EXPECT_EQ(ShellFolderPath("Desktop"), Environment("USERPROFILE") + "\\Desktop");
  // A value that starts with a blank is not taken as missing.
  user.Set(REG_SZ, " C:\\Blank");
  EXPECT_EQ(ShellFolderPath("Desktop"), " C:\\Blank");
}

TEST(ShellFolderPath, FallsBackToTheShellFolderValueUnexpanded) {
  SavedValue user(kUserShellFolders, "Desktop");
  SavedValue plain(kShellFolders, "Desktop");
  user.Remove();
  plain.Set(REG_SZ, "D:\\Desk");
  EXPECT_EQ(ShellFolderPath("Desktop"), "D:\\Desk");
  user.Set(REG_SZ, "\tC:\\Tab");
  EXPECT_EQ(ShellFolderPath("Desktop"), "D:\\Desk");
  plain.Set(REG_SZ, "%USERPROFILE%\\X");
  EXPECT_EQ(ShellFolderPath("Desktop"), "%USERPROFILE%\\X");
  plain.Remove();
  EXPECT_EQ(ShellFolderPath("Desktop"), "");
}

TEST(ShellFolderPath, OverlongPathsNeverOverflow) {
  SavedValue user(kUserShellFolders, "Desktop");
  SavedValue plain(kShellFolders, "Desktop");
  user.Remove();
  plain.Set(REG_SZ, "C:\\" + std::string(900, 'd'));
  const std::string cut = ShellFolderPath("Desktop");
  EXPECT_EQ(cut.size(), 500u);
  EXPECT_EQ(cut, ("C:\\" + std::string(900, 'd')).substr(0, 500));
  // Expanding past 500 characters counts as not expandable.
  const std::string raw = "%APPDATA%\\" + std::string(480, 'e');
  ASSERT_GT(Environment("APPDATA").size() + 481, 500u);
  user.Set(REG_EXPAND_SZ, raw);
  plain.Set(REG_SZ, "D:\\Desk");
  EXPECT_EQ(ShellFolderPath("Desktop"), "D:\\Desk");
}

TEST(ExpandEnvironmentPath, ReplacesKnownNamesAndKeepsUnknownOnes) {
  std::string path = "%USERPROFILE%\\x";
  ExpandEnvironmentPath(path);
  EXPECT_EQ(path, Environment("USERPROFILE") + "\\x");
  std::string unknown = "%TRELLAN_NOT_SET%\\IrfanView";
  ExpandEnvironmentPath(unknown);
  EXPECT_EQ(unknown, "%TRELLAN_NOT_SET%\\IrfanView");
  std::string too_long = "%USERPROFILE%" + std::string(505, 'z');
  const std::string before = too_long;
  ExpandEnvironmentPath(too_long);
  EXPECT_EQ(too_long, before);
}

TEST(TodayText, IsTheLocalDateWithLeadingZeros) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char expected[16];
  std::snprintf(expected, sizeof expected, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
  EXPECT_EQ(TodayText(), expected);
}

TEST(PathExists, FilesAndFoldersExistMissingOnesDoNot) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = temp;
  EXPECT_TRUE(PathExists(folder));
  EXPECT_TRUE(PathExists(folder.substr(0, folder.size() - 1)));
  const std::string file = folder + "trellan-exists.txt";
  test::WriteFileBytes(file, "x");
  EXPECT_TRUE(PathExists(file));
  DeleteFileA(file.c_str());
  EXPECT_FALSE(PathExists(file));
}

TEST(RunCommandLine, StartsTheProgramWithoutWaiting) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string marker = std::string(temp) + "trellan-started.txt";
  DeleteFileA(marker.c_str());
  RunCommandLine("cmd.exe /c echo started> \"" + marker + "\"", SW_HIDE);
  for (int i = 0; i < 200 && test::ReadFileBytes(marker).empty(); ++i) Sleep(50);
  EXPECT_EQ(test::ReadFileBytes(marker), "started\r\n");
  DeleteFileA(marker.c_str());
  RunCommandLine("no-such-program-anywhere.exe", SW_SHOWNORMAL);  // silent
}

TEST(MessageBoxes, TimedNoticeAndIconBoxShowTheirTexts) {
  test::MessageBoxAnswerer answerer({IDOK, IDNO});
  EXPECT_EQ(TimedNotice(nullptr, "Text\r\rZwei", "Titel", MB_OK | MB_ICONINFORMATION, 0, 3333),
            IDOK);
  // The program's own icon comes from its resources; a test exe has none,
  // so the box shows without one, and still answers.
  EXPECT_EQ(IconMessageBox(nullptr, "Frage?", "Kopf", "i", MB_YESNOCANCEL | MB_USERICON), IDNO);
  ASSERT_EQ(answerer.seen().size(), 2u);
  EXPECT_EQ(answerer.seen()[0].caption, "Titel");
  EXPECT_EQ(answerer.seen()[0].text, "Text\r\rZwei");
  EXPECT_EQ(answerer.seen()[0].icon, LoadIconA(nullptr, IDI_INFORMATION));
  EXPECT_EQ(answerer.seen()[1].caption, "Kopf");
  EXPECT_EQ(answerer.seen()[1].buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
}

TEST(AnsiToUtf8, ConvertsWindows1252WithoutCutting) {
  EXPECT_EQ(AnsiToUtf8("Gr\xFC\xDF"
                       "e \x80"),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xE2\x82\xAC");
  EXPECT_EQ(AnsiToUtf8(""), "");
  const std::string umlauts(8191, '\xE4');
  EXPECT_EQ(AnsiToUtf8(umlauts).size(), 2u * 8191u);
}

}  // namespace
}  // namespace trellan
