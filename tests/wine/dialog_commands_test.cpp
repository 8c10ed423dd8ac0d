// The about box on F1, the system-menu commands and what the fields'
// notifications do (nothing).
#include <gtest/gtest.h>

#include <string>

#include "identity.h"
#include "tests/driver/dialog_fixture.h"

namespace trellan::driver {
namespace {

const std::string kAboutText =
    std::string(kProgramCaption) + "\r\n\r\n" +
    "Erstellt ein universelles HTML5/CSS-basiertes Men\xFCsystem, zusammen mit allen "
    "ben\xF6tigten Dateien als Grundger\xFCst f\xFCr eine Webseite. Die Seiten sind "
    "\"responsive\", d.h. sie passen sich an das Ausgabeger\xE4t an (PC, Tablet, Telefon). "
    "Die Formatierungen befinden sich in der Datei \"style.css\" und \"zoom.js\" erledigt den "
    "Bilder-Zoom.\r\n\r\n"
    "Ich setzte dieses Programm in meinem Infomatik-Unterricht ein. Die Lernenden erstellten "
    "damit ein funktionierendes Grundger\xFCst f\xFCr ihre pers\xF6nlichen Homepages. "
    "Die kommentierten Dummy-Inhalte k\xF6nnen leicht ersetzt werden.";

constexpr const char* kContextCaption = "JPG-Kontextmen\xFC-Eintrag";
constexpr const char* kContextQuestion =
    "Kontextmen\xFC-Eintr\xE4ge f\xFCr Ordner\r\r- JPG-Thumb (IrfanView)\r\tund\r"
    "- JPG-Web (IrfanView)\r\raktivieren?\r\r[Ja]\tAktivieren\r[Nein]\tDeaktivieren";

constexpr const char* kThumbKey = "SOFTWARE\\Classes\\Directory\\shell\\JPG-Thumb (IrfanView)";
constexpr const char* kWebKey = "SOFTWARE\\Classes\\Directory\\shell\\JPG-Web (IrfanView)";

class Commands : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    Start();
  }
  // The handle of the program's icon, as its UI thread sees it.
  std::string ProgramIcon() {
    const auto reply = program_->Probe(ProbeKind::kIcons);
    if (!reply) return {};
    const auto tab = reply->find('\t', reply->find("resource"));
    return reply->substr(tab + 1, reply->find('\t', tab + 1) - tab - 1);
  }
  static std::string Hex(HICON icon) {
    char text[24];
    wsprintfA(text, "%lx", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(icon)));
    return text;
  }
};

TEST_F(Commands, F1ShowsTheAboutBoxOnceAtATime) {
  ASSERT_TRUE(program_->PressKey(VK_F1));
  const std::optional<Box> about = program_->WaitForBox(kProgramCaption);
  ASSERT_TRUE(about);
  EXPECT_EQ(about->text, kAboutText);
  EXPECT_EQ(about->owner, program_->dialog());
  EXPECT_EQ(about->buttons, std::vector<int>{IDOK});
  EXPECT_EQ(Hex(about->icon), ProgramIcon());

  // F1 in the box reaches the dialog too; it must not open a second box.
  ASSERT_TRUE(program_->PressKeyAndWait(VK_F1));
  ASSERT_EQ(program_->Boxes().size(), 1u);
  ASSERT_TRUE(program_->Answer(*about, IDOK));

  // Once it is closed, F1 opens it again.
  ASSERT_TRUE(program_->PressKey(VK_F1));
  const std::optional<Box> again = program_->WaitForBox(kProgramCaption);
  ASSERT_TRUE(again);
  ASSERT_TRUE(program_->Answer(*again, IDOK));
}

TEST_F(Commands, ContextMenuQuestionThenCancelChangesNothing) {
  RegDeleteTreeA(HKEY_CURRENT_USER, kThumbKey);
  RegDeleteTreeA(HKEY_CURRENT_USER, kWebKey);
  ASSERT_TRUE(program_->PostSysCommand(113));
  const std::optional<Box> question = program_->WaitForBox(kContextCaption);
  ASSERT_TRUE(question);
  EXPECT_EQ(question->text, kContextQuestion);
  EXPECT_EQ(question->owner, program_->dialog());
  EXPECT_EQ(question->buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(question->default_button, IDCANCEL);
  EXPECT_EQ(Hex(question->icon), ProgramIcon());
  ASSERT_TRUE(program_->Answer(*question, IDCANCEL));
  ASSERT_TRUE(program_->Sync());
  EXPECT_FALSE(test::KeyExists(kThumbKey));
  EXPECT_FALSE(test::KeyExists(kWebKey));
  EXPECT_TRUE(program_->Boxes().empty());
  EXPECT_TRUE(program_->IsRunning());
}

TEST_F(Commands, FieldAndCheckBoxNotificationsStartNothing) {
  for (int id : {101, 102, 103, 104, 105, 106, 107, 108, 112})
    for (int code : {EN_CHANGE, EN_SETFOCUS, BN_CLICKED})
      ASSERT_TRUE(PostMessageA(program_->dialog(), WM_COMMAND,
                               MAKEWPARAM(id, static_cast<WORD>(code)),
                               reinterpret_cast<LPARAM>(program_->Item(id))));
  // The commands were taken before the ping: a box one of them opened
  // would be there now.
  ASSERT_TRUE(program_->Sync());
  EXPECT_TRUE(program_->Boxes().empty());
  EXPECT_TRUE(program_->IsRunning());
  EXPECT_FALSE(test::FileExists(test::SiteFolder() + "index.html"));
  EXPECT_FALSE(ReadStored("PageTitle"));
}

}  // namespace
}  // namespace trellan::driver
