// The media tools through the real program: the two system-menu entries,
// the boxes they show, the list file, Notepad, the registry, and when the
// image viewer is missing the download page and the exit code.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mediatools/context_menu_text.h"
#include "tests/driver/dialog_fixture.h"

namespace trellan::driver {
namespace {

constexpr WPARAM kContextMenuCommand = 113;
constexpr WPARAM kGalleryCommand = 114;
constexpr const char* kGalleryCaption = "Media: Bildergalerie";
constexpr const char* kQuestionCaption = "JPG-Kontextmen\xFC-Eintrag";
constexpr const char* kMissingCaption = "IrfanView nicht gefunden";
constexpr const char* kThumbVerb = "SOFTWARE\\Classes\\Directory\\shell\\JPG-Thumb (IrfanView)";
constexpr const char* kWebVerb = "SOFTWARE\\Classes\\Directory\\shell\\JPG-Web (IrfanView)";
constexpr const char* kViewer64 = "C:\\Program Files\\IrfanView\\I_view64.exe";

std::string ListPath() { return test::SiteFolder() + "_Bilder.txt"; }

// The command line Explorer would run, or nothing when the key is missing.
std::optional<std::string> CommandOf(const std::string& verb_key) {
  char data[2048] = {};
  DWORD size = sizeof data - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, (verb_key + "\\command").c_str(), "", RRF_RT_REG_SZ, nullptr,
                   data, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(data);
}

HWND NotepadWithList() {
  for (HWND window : test::NotepadWindows())
    if (test::WindowTitle(window).find("_Bilder.txt") != std::string::npos) return window;
  return nullptr;
}

void RemoveSite() {
  std::string folder = test::SiteFolder();
  folder.pop_back();
  test::RemoveTree(folder);
}

void CreatePicture(const std::wstring& name) {
  const std::wstring path = trellan::AnsiToWide(test::SiteFolder()) + L"media\\" + name;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
}

class MediaTools : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }

  static void Clean() {
    test::CloseAllNotepads();
    ForgetStoredForm();
    RemoveSite();
    RegDeleteTreeA(HKEY_CURRENT_USER, kThumbVerb);
    RegDeleteTreeA(HKEY_CURRENT_USER, kWebVerb);
    test::RemoveTree("C:\\Program Files\\IrfanView");
    test::RemoveTree("C:\\Program Files (x86)\\IrfanView");
  }

  static void PlaceViewer() {
    CreateDirectoryA("C:\\Program Files\\IrfanView", nullptr);
    test::WriteFileBytes(kViewer64, "MZ");
  }

  // Chooses the context-menu entry of the system menu and answers its question.
  static void AnswerContextMenuQuestion(TrellanProcess& program, int answer) {
    ASSERT_TRUE(program.PostSysCommand(kContextMenuCommand));
    const std::optional<Box> question = program.WaitForBox(kQuestionCaption);
    ASSERT_TRUE(question);
    ASSERT_TRUE(program.Answer(*question, answer));
  }

  // Answers the viewer-missing question and expects the program to end
  // with 1, having written no command and stored no form value.
  static void ExpectMissingViewerEndsProgram(int answer) {
    std::optional<TrellanProcess> program = StartTrellan();
    ASSERT_TRUE(program);
    AnswerContextMenuQuestion(*program, IDYES);
    const std::optional<Box> missing = program->WaitForBox(kMissingCaption);
    ASSERT_TRUE(missing);
    // The exact wording is checked natively; here, that the box shows it.
    EXPECT_EQ(missing->text, ViewerMissingText());
    EXPECT_EQ(missing->buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(missing->default_button, IDYES);
    ASSERT_TRUE(program->Answer(*missing, answer));
    EXPECT_EQ(program->WaitForExit(), std::optional<DWORD>(1));
    EXPECT_FALSE(test::KeyExists(kThumbVerb));
    EXPECT_FALSE(test::KeyExists(kWebVerb));
    EXPECT_FALSE(ReadStored("PageTitle"));
  }
};

TEST_F(MediaTools, GalleryEntryWritesTheListThenOpensItInNotepad) {
  ASSERT_TRUE(CreateDirectoryA(test::SiteFolder().c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((test::SiteFolder() + "media").c_str(), nullptr));
  CreatePicture(L"sch\u00F6ne aussicht.jpeg");
  CreatePicture(L"Mein_Bild.JPG");
  CreatePicture(L"Mein_Bild_t.jpg");
  std::optional<TrellanProcess> program = StartTrellan();
  ASSERT_TRUE(program);

  ASSERT_TRUE(program->PostSysCommand(kGalleryCommand));
  const std::optional<Box> notice = program->WaitForBox(kGalleryCaption);
  ASSERT_TRUE(notice);
  EXPECT_EQ(notice->text, "Die HTML-Bildergalerie wurde vorbereitet:\r\r" + ListPath() +
                              "\r\rDie Datei wird mit dem Editor ge\xF6"
                              "ffnet, der Inhalt "
                              "kann dann \xFC"
                              "ber die Zwischenablage \xFC"
                              "bernommen werden.");
  EXPECT_EQ(notice->buttons, std::vector<int>{IDOK});
  EXPECT_EQ(notice->owner, program->dialog());
  // The list is complete before the notice, Notepad comes only after it.
  EXPECT_EQ(test::ReadFileBytes(ListPath()),
            "<figure>\r\n"
            "  <img class=\"bild zoom\"\r\n"
            "   src=\"media/Mein_Bild.JPG\"\r\n"
            "   title=\"Mein Bild\"\r\n"
            "   alt=\"Mein Bild\">\r\n"
            "  <figcaption>Mein Bild</figcaption>\r\n"
            "</figure>\r\n"
            "\r\n"
            "<figure>\r\n"
            "  <img class=\"bild zoom\"\r\n"
            "   src=\"media/sch%C3%B6ne%20aussicht.jpeg\"\r\n"
            "   title=\"Sch\xC3\xB6ne aussicht\"\r\n"
            "   alt=\"Sch\xC3\xB6ne aussicht\">\r\n"
            "  <figcaption>Sch\xC3\xB6ne aussicht</figcaption>\r\n"
            "</figure>\r\n"
            "\r\n");
  EXPECT_TRUE(test::ProcessesNamed("notepad.exe").empty())
      << "Notepad started before the notice was closed";

  ASSERT_TRUE(program->Answer(*notice, IDOK));
  EXPECT_TRUE(WaitFor([] { return NotepadWithList() != nullptr; }, 15000))
      << "Notepad did not open _Bilder.txt";
  // The dialog goes on as before.
  ASSERT_TRUE(program->Click(IDCANCEL));
  EXPECT_EQ(program->WaitForExit(), std::optional<DWORD>(0));
}

TEST_F(MediaTools, ContextMenuYesWritesCommandsCancelKeepsThemNoRemovesThem) {
  PlaceViewer();
  std::optional<TrellanProcess> program = StartTrellan();
  ASSERT_TRUE(program);
  const std::string thumb =
      "\"C:\\Program Files\\IrfanView\\I_view64.exe\" \"%1\\*.*\" /silent /resize_long=400 "
      "/aspectratio /resample /jpgq=70 /convert=\"%1\\px4web\\$N_t.jpg\"";
  const std::string web =
      "\"C:\\Program Files\\IrfanView\\I_view64.exe\" \"%1\\*.*\" /silent /resize_long=1600 "
      "/aspectratio /resample /jpgq=70 /convert=\"%1\\px4web\\$N.jpg\"";

  AnswerContextMenuQuestion(*program, IDYES);
  ASSERT_TRUE(program->Sync());
  EXPECT_EQ(CommandOf(kThumbVerb), thumb);
  EXPECT_EQ(CommandOf(kWebVerb), web);
  EXPECT_TRUE(program->Boxes().empty());

  AnswerContextMenuQuestion(*program, IDCANCEL);
  ASSERT_TRUE(program->Sync());
  EXPECT_EQ(CommandOf(kThumbVerb), thumb);
  EXPECT_EQ(CommandOf(kWebVerb), web);

  AnswerContextMenuQuestion(*program, IDNO);
  ASSERT_TRUE(program->Sync());
  EXPECT_FALSE(test::KeyExists(kThumbVerb));
  EXPECT_FALSE(test::KeyExists(kWebVerb));
  EXPECT_TRUE(program->Boxes().empty());

  ASSERT_TRUE(program->Click(IDCANCEL));
  EXPECT_EQ(program->WaitForExit(), std::optional<DWORD>(0));
}

// Web addresses open the stand-in browser, which records how it was
// started; and should that fail, Wine's browser launcher has none to
// start. Wine reads the link handler from the machine's classes only.
class MissingViewer : public MediaTools {
 protected:
  void SetUp() override {
    MediaTools::SetUp();
    std::string temp(MAX_PATH + 1, '\0');
    temp.resize(GetTempPathA(MAX_PATH + 1, temp.data()));
    record_ = temp + "trellan-opened-url.txt";
    DeleteFileA(record_.c_str());
    saved_handler_ = ReadRegString(HKEY_CLASSES_ROOT, kHttpsCommand, "");
    saved_browsers_ = ReadRegString(HKEY_CURRENT_USER, kWineBrowser, "Browsers");
    WriteRegString(HKEY_CURRENT_USER, kWineBrowser, "Browsers", "trellan-test-no-browser");
    const std::string handler =
        "\"" + PathFromEnvironment("TRELLAN_URL_RECORDER") + "\" \"" + record_ + "\" \"%1\"";
    WriteRegString(HKEY_CLASSES_ROOT, kHttpsCommand, "", handler);
    // The tests rely on it: a real browser must never start.
    ASSERT_EQ(ReadRegString(HKEY_CLASSES_ROOT, kHttpsCommand, ""), handler);
  }
  void TearDown() override {
    Restore(HKEY_CLASSES_ROOT, kHttpsCommand, "", saved_handler_);
    Restore(HKEY_CURRENT_USER, kWineBrowser, "Browsers", saved_browsers_);
    DeleteFileA(record_.c_str());
    MediaTools::TearDown();
  }

  static void Restore(HKEY root, const char* key, const char* name, const std::string& saved) {
    if (saved.empty())
      RegDeleteKeyValueA(root, key, name);
    else
      WriteRegString(root, key, name, saved);
  }

  // A page the program opened started the recorder before the program
  // ended; once every recorder has ended, its record is there.
  static bool RecordersEnded() {
    return WaitFor([] { return test::ProcessesNamed("url_recorder.exe").empty(); });
  }

  static constexpr const char* kHttpsCommand = "https\\shell\\open\\command";
  static constexpr const char* kWineBrowser = "Software\\Wine\\WineBrowser";
  std::string record_;
  std::string saved_handler_;
  std::string saved_browsers_;
};

TEST_F(MissingViewer, AnsweredYesOpensTheDownloadPageAndEndsTheProgramWithOne) {
  ExpectMissingViewerEndsProgram(IDYES);
  ASSERT_TRUE(WaitFor([&] { return test::FileExists(record_); })) << "no page was opened";
  EXPECT_THAT(test::ReadFileBytes(record_),
              ::testing::HasSubstr(std::string(" \"") + kViewerDownloadPage + "\""));
}

TEST_F(MissingViewer, AnsweredNoOrCancelEndsTheProgramWithOneAndOpensNoPage) {
  for (const int answer : {IDNO, IDCANCEL}) {
    ExpectMissingViewerEndsProgram(answer);
    ASSERT_TRUE(RecordersEnded());
    EXPECT_FALSE(test::FileExists(record_)) << "a page was opened after " << answer;
  }
}

}  // namespace
}  // namespace trellan::driver
