#include "mediatools/context_menu.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <set>
#include <string>

#include "mediatools/context_menu_text.h"
#include "system/handles.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_site.h"

namespace trellan {
namespace {

using test::MessageBoxAnswerer;

constexpr const char* kShellKey = "SOFTWARE\\Classes\\Directory\\shell";
constexpr const char* kThumbCommand =
    "SOFTWARE\\Classes\\Directory\\shell\\JPG-Thumb (IrfanView)\\command";
constexpr const char* kWebCommand =
    "SOFTWARE\\Classes\\Directory\\shell\\JPG-Web (IrfanView)\\command";

// The program folders that a 32-bit process sees in the test prefix.
constexpr const char* kViewer64 = "C:\\Program Files\\IrfanView\\I_view64.exe";
constexpr const char* kViewer32 = "C:\\Program Files (x86)\\IrfanView\\I_view32.exe";

// Children of this test program: the not-found question is answered in a
// process of its own, because it ends that process.
constexpr const char* kAnswerVariable = "TRELLAN_TEST_VIEWER_ANSWER";
constexpr const char* kBoxRecordVariable = "TRELLAN_TEST_BOX_RECORD";
constexpr const char* kUrlRecordVariable = "TRELLAN_TEST_URL_RECORD";
constexpr DWORD kReturnedInstead = 3;  // the child's code when the switch came back

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

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

struct DefaultValue {
  DWORD type = REG_NONE;
  std::string data;  // up to the terminating zero
  bool operator==(const DefaultValue&) const = default;
};

DefaultValue ReadDefault(const std::string& path) {
  DefaultValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return value;
  std::string data(4096, '\0');
  DWORD size = static_cast<DWORD>(data.size());
  if (RegQueryValueExA(key, "", nullptr, &value.type, reinterpret_cast<BYTE*>(data.data()),
                       &size) == ERROR_SUCCESS) {
    data.resize(size);
    if (!data.empty() && data.back() == '\0') data.pop_back();
    value.data = data;
  }
  RegCloseKey(key);
  return value;
}

struct KeyCounts {
  DWORD sub_keys = 0;
  DWORD values = 0;
};

KeyCounts CountsOf(const std::string& path) {
  KeyCounts counts;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return counts;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &counts.sub_keys, nullptr, nullptr,
                   &counts.values, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return counts;
}

std::set<std::string> ShellVerbs() {
  std::set<std::string> verbs;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return verbs;
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    verbs.insert(name);
  }
  RegCloseKey(key);
  return verbs;
}

void RemoveConverterKeys() {
  RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Classes\\Directory\\shell\\JPG-Thumb (IrfanView)");
  RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Classes\\Directory\\shell\\JPG-Web (IrfanView)");
}

void PlaceFile(const std::string& path) {
  const std::string folder = path.substr(0, path.rfind('\\'));
  CreateDirectoryA(folder.c_str(), nullptr);
  test::WriteFileBytes(path, "MZ");
  ASSERT_TRUE(test::FileExists(path)) << path;
}

void RemoveViewers() {
  for (const char* folder : {"C:\\Program Files\\IrfanView", "C:\\Program Files (x86)\\IrfanView"})
    test::RemoveTree(folder);
}

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::string TempFile(const char* name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

// Runs one disabled test of this program in a child process; its exit code,
// or WAIT_TIMEOUT when it had to be stopped.
DWORD RunChild(const std::string& test_name) {
  std::string command = "\"" + ThisProgram() +
                        "\" --gtest_also_run_disabled_tests --gtest_filter=" + test_name;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return static_cast<DWORD>(-1);
  DWORD code = WAIT_TIMEOUT;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  else
    TerminateProcess(process.hProcess, WAIT_TIMEOUT);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

// The child has ended; a page it had opened started this program's URL
// recorder before that, so once every other instance of this program has
// ended, a record would be there.
void WaitForOtherInstances() {
  const std::string self = ThisProgram();
  const std::string exe_name = self.substr(self.rfind('\\') + 1);
  for (DWORD id : test::ProcessesNamed(exe_name.c_str())) {
    if (id == GetCurrentProcessId()) continue;
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (!process) continue;
    EXPECT_EQ(WaitForSingleObject(process, 20000), WAIT_OBJECT_0) << "instance " << id;
    CloseHandle(process);
  }
}

bool WaitForFile(const std::string& path, DWORD timeout_ms) {
  for (DWORD waited = 0; waited < timeout_ms; waited += 100) {
    if (test::FileExists(path)) return true;
    Sleep(100);
  }
  return test::FileExists(path);
}

class ContextMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveConverterKeys();
    RemoveViewers();
  }
  void TearDown() override {
    RemoveConverterKeys();
    RemoveViewers();
  }
};

TEST_F(ContextMenu, OnNamesThe64BitViewerWhenBothAreInstalled) {
  PlaceFile(kViewer64);
  PlaceFile(kViewer32);
  MessageBoxAnswerer boxes;
  SwitchContextMenu(true);

  EXPECT_TRUE(boxes.seen().empty());
  EXPECT_EQ(ReadDefault(kThumbCommand), (DefaultValue{REG_SZ, ThumbFor(kViewer64)}));
  EXPECT_EQ(ReadDefault(kWebCommand), (DefaultValue{REG_SZ, WebFor(kViewer64)}));
}

TEST_F(ContextMenu, OnNamesThe32BitViewerWhenOnlyItIsInstalled) {
  PlaceFile(kViewer32);
  MessageBoxAnswerer boxes;
  SwitchContextMenu(true);

  EXPECT_TRUE(boxes.seen().empty());
  EXPECT_EQ(ReadDefault(kThumbCommand), (DefaultValue{REG_SZ, ThumbFor(kViewer32)}));
  EXPECT_EQ(ReadDefault(kWebCommand), (DefaultValue{REG_SZ, WebFor(kViewer32)}));
}

TEST_F(ContextMenu, OnTwiceLeavesOnePairOfCommands) {
  PlaceFile(kViewer64);
  SwitchContextMenu(true);
  SwitchContextMenu(true);

  std::set<std::string> converter_verbs;
  for (const std::string& verb : ShellVerbs())
    if (verb.starts_with("JPG-")) converter_verbs.insert(verb);
  EXPECT_EQ(converter_verbs,
            (std::set<std::string>{"JPG-Thumb (IrfanView)", "JPG-Web (IrfanView)"}));
  for (const char* command : {kThumbCommand, kWebCommand}) {
    const std::string verb_key = std::string(command).substr(0, std::string(command).rfind('\\'));
    EXPECT_EQ(CountsOf(verb_key).sub_keys, 1u) << verb_key;
    EXPECT_EQ(CountsOf(verb_key).values, 0u) << verb_key;
    EXPECT_EQ(CountsOf(command).sub_keys, 0u) << command;
    EXPECT_EQ(CountsOf(command).values, 1u) << command;
  }
  EXPECT_EQ(ReadDefault(kThumbCommand).data, ThumbFor(kViewer64));
  EXPECT_EQ(ReadDefault(kWebCommand).data, WebFor(kViewer64));
}

TEST_F(ContextMenu, OffRemovesBothCommandsEvenWithoutViewer) {
  PlaceFile(kViewer64);
  SwitchContextMenu(true);
  ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, kWebCommand));
  const std::string other_verb = std::string(kShellKey) + "\\Andere";
  RegKey other;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, other_verb.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, other.out(), nullptr),
            ERROR_SUCCESS);
  RemoveViewers();

  MessageBoxAnswerer boxes;
  SwitchContextMenu(false);

  EXPECT_TRUE(boxes.seen().empty());
  for (const std::string& verb : ShellVerbs()) EXPECT_FALSE(verb.starts_with("JPG-")) << verb;
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, other_verb));
  RegDeleteKeyA(HKEY_CURRENT_USER, other_verb.c_str());
}

TEST_F(ContextMenu, OffWithoutCommandsDoesNothingVisible) {
  MessageBoxAnswerer boxes;
  SwitchContextMenu(false);
  SwitchContextMenu(false);
  EXPECT_TRUE(boxes.seen().empty());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kThumbCommand));
}

// The not-found question, answered in a child process.
class ViewerMissing : public ContextMenu {
 protected:
  void SetUp() override {
    ContextMenu::SetUp();
    box_record_ = TempFile("trellan-viewer-box.txt");
    url_record_ = TempFile("trellan-viewer-url.txt");
    DeleteFileA(box_record_.c_str());
    DeleteFileA(url_record_.c_str());
    SetEnvironmentVariableA(kBoxRecordVariable, box_record_.c_str());
    SetEnvironmentVariableA(kUrlRecordVariable, url_record_.c_str());
    RedirectWebLinks();
  }
  void TearDown() override {
    RestoreWebLinks();
    SetEnvironmentVariableA(kAnswerVariable, nullptr);
    DeleteFileA(box_record_.c_str());
    DeleteFileA(url_record_.c_str());
    ContextMenu::TearDown();
  }

  // https links open this program's URL recorder instead of a browser; and
  // should that fail, Wine's browser launcher has no browser to start.
  // Wine reads the link handler from the machine's classes only.
  void RedirectWebLinks() {
    saved_handler_ = ReadRegValue(HKEY_CLASSES_ROOT, kHttpsCommand, "");
    saved_browsers_ = ReadRegValue(HKEY_CURRENT_USER, kWineBrowser, "Browsers");
    WriteRegValue(HKEY_CURRENT_USER, kWineBrowser, "Browsers", "trellan-test-no-browser");
    WriteRegValue(HKEY_CLASSES_ROOT, kHttpsCommand, "",
                  "\"" + ThisProgram() +
                      "\" --gtest_also_run_disabled_tests "
                      "--gtest_filter=DISABLED_UrlRecorder.WritesItsCommandLine \"%1\"");
  }
  void RestoreWebLinks() {
    if (saved_handler_.empty())
      RegDeleteKeyValueA(HKEY_CLASSES_ROOT, kHttpsCommand, "");
    else
      WriteRegValue(HKEY_CLASSES_ROOT, kHttpsCommand, "", saved_handler_);
    if (saved_browsers_.empty())
      RegDeleteKeyValueA(HKEY_CURRENT_USER, kWineBrowser, "Browsers");
    else
      WriteRegValue(HKEY_CURRENT_USER, kWineBrowser, "Browsers", saved_browsers_);
  }

  static std::string ReadRegValue(HKEY root, const char* path, const char* name) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(root, path, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
      return {};
    return data;
  }
  static void WriteRegValue(HKEY root, const char* path, const char* name,
                            const std::string& data) {
    RegSetKeyValueA(root, path, name, REG_SZ, data.c_str(), static_cast<DWORD>(data.size() + 1));
  }

  // Answers the question in a child and checks what it showed and that it
  // ended the child with code 1, writing no command.
  void AnswerInChild(int answer) {
    SetEnvironmentVariableA(kAnswerVariable, std::to_string(answer).c_str());
    EXPECT_EQ(RunChild("DISABLED_ViewerMissingChild.AnswersTheQuestion"), 1u);

    const std::string record = test::ReadFileBytes(box_record_);
    ASSERT_FALSE(record.empty()) << "the child showed no question";
    const std::size_t caption_end = record.find('\n');
    const std::size_t text_end = record.rfind('\n');
    ASSERT_LT(caption_end, text_end) << record;
    const std::string caption = record.substr(0, caption_end);
    const std::string text = record.substr(caption_end + 1, text_end - caption_end - 1);
    EXPECT_EQ(caption, "IrfanView nicht gefunden");
    // Yes, No and Cancel, Yes preselected.
    EXPECT_EQ(record.substr(text_end + 1), "6 7 2 default 6");
    // The exact wording is checked natively; here, that the box shows it.
    EXPECT_EQ(text, ViewerMissingText());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kThumbCommand));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kWebCommand));
  }

  static constexpr const char* kHttpsCommand = "https\\shell\\open\\command";
  static constexpr const char* kWineBrowser = "Software\\Wine\\WineBrowser";
  std::string box_record_;
  std::string url_record_;
  std::string saved_handler_;
  std::string saved_browsers_;
};

TEST_F(ViewerMissing, HandlerForWebLinksIsTheRecorder) {
  // The checks below rely on it: a real browser must never start.
  char command[1024] = {};
  DWORD size = sizeof command - 1;
  ASSERT_EQ(RegGetValueA(HKEY_CLASSES_ROOT, kHttpsCommand, "", RRF_RT_REG_SZ, nullptr, command,
                         &size),
            ERROR_SUCCESS);
  EXPECT_NE(std::string(command).find("DISABLED_UrlRecorder"), std::string::npos) << command;
}

TEST_F(ViewerMissing, NoEndsTheProgramWithCodeOneAndOpensNoPage) {
  // Each viewer in the other's folder is no viewer.
  PlaceFile("C:\\Program Files\\IrfanView\\I_view32.exe");
  PlaceFile("C:\\Program Files (x86)\\IrfanView\\I_view64.exe");
  AnswerInChild(IDNO);
  WaitForOtherInstances();
  EXPECT_FALSE(test::FileExists(url_record_));
}

TEST_F(ViewerMissing, CancelEndsTheProgramWithCodeOneAndOpensNoPage) {
  AnswerInChild(IDCANCEL);
  WaitForOtherInstances();
  EXPECT_FALSE(test::FileExists(url_record_));
}

TEST_F(ViewerMissing, YesOpensTheDownloadPageAndEndsWithCodeOne) {
  AnswerInChild(IDYES);
  ASSERT_TRUE(WaitForFile(url_record_, 20000)) << "no page was opened";
  const std::string opened = test::ReadFileBytes(url_record_);
  EXPECT_NE(opened.find(std::string(" \"") + kViewerDownloadPage + "\""), std::string::npos)
      << opened;
}

// Child: answers the not-found question as the parent says and records
// the box before the switch ends this process.
MessageBoxAnswerer* g_child_answerer = nullptr;
std::string g_child_record;

// Runs before the answerer's own hook (it was installed later) and writes
// down the box the answerer has just seen.
LRESULT CALLBACK RecordBox(int code, WPARAM wparam, LPARAM lparam) {
  const LRESULT result = CallNextHookEx(nullptr, code, wparam, lparam);
  if (code == HCBT_ACTIVATE && g_child_answerer && !g_child_answerer->seen().empty()) {
    const test::SeenBox& box = g_child_answerer->seen().back();
    std::string buttons;
    for (const int id : box.buttons) buttons += std::to_string(id) + " ";
    test::WriteFileBytes(g_child_record, box.caption + "\n" + box.text + "\n" + buttons +
                                             "default " + std::to_string(box.default_button));
  }
  return result;
}

TEST(DISABLED_ViewerMissingChild, AnswersTheQuestion) {
  const char* answer = std::getenv(kAnswerVariable);
  const char* record = std::getenv(kBoxRecordVariable);
  ASSERT_TRUE(answer && record);
  g_child_record = record;
  MessageBoxAnswerer boxes({std::atoi(answer)});
  g_child_answerer = &boxes;
  const HHOOK recorder = SetWindowsHookExA(WH_CBT, RecordBox, nullptr, GetCurrentThreadId());
  SwitchContextMenu(true);
  UnhookWindowsHookEx(recorder);
  g_child_answerer = nullptr;
  ExitProcess(kReturnedInstead);
}

// Child: stands in for the browser and writes down how it was started.
TEST(DISABLED_UrlRecorder, WritesItsCommandLine) {
  const char* record = std::getenv(kUrlRecordVariable);
  ASSERT_NE(record, nullptr);
  test::WriteFileBytes(std::string(record) + ".part", GetCommandLineA());
  MoveFileA((std::string(record) + ".part").c_str(), record);
}

}  // namespace
}  // namespace trellan
