// The dialog as it opens: window, controls, fonts, icon, system menu,
// keyboard order; and the program file's resources.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/dialog_template.h"
#include "identity.h"
#include "tests/driver/dialog_fixture.h"

namespace trellan::driver {
namespace {

// The dialog's size is given in system-font units divided by the scale
// factors, truncated toward zero.
TEST(DialogTemplate, SizeShrinksWithThePixelsPerInch) {
  const struct {
    double scale;
    short cx, cy;
  } cases[] = {{1.0, 200, 230}, {1.25, 160, 184}, {1.5, 133, 153}, {2.0, 100, 115}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scale);
    const DialogTemplate dialog = MainDialogTemplate({c.scale, c.scale});
    EXPECT_EQ(dialog.header.cx, c.cx);
    EXPECT_EQ(dialog.header.cy, c.cy);
    EXPECT_EQ(dialog.header.cdit, 0);
    EXPECT_EQ(dialog.menu | dialog.window_class | dialog.title, 0);
  }
  const DialogTemplate wide = MainDialogTemplate({1.5, 1.0});
  EXPECT_EQ(wide.header.cx, 133);
  EXPECT_EQ(wide.header.cy, 230);
}

struct ExpectedControl {
  const char* window_class;
  int id;
  std::string text;
  DWORD style;
  DWORD ex_style;
  RECT rect;  // left, top, right, bottom
  const char* font;
};

constexpr DWORD kLabel = 0x50020000, kPush = 0x50010300, kLine = 0x50010080, kCheck = 0x50030003;

std::vector<ExpectedControl> ExpectedControls() {
  const std::string intro =
      std::string(kProgramCaption) +
      "\r\n\r\nErstellt ein universelles HTML5/CSS-basiertes Men\xFCsystem, "
      "zusammen mit allen ben\xF6tigten Dateien als Grundger\xFCst f\xFCr eine Webseite. "
      "Die Seiten sind \"responsive\", d.h. sie passen sich an das Ausgabeger\xE4t an (PC, "
      "Tablet, Telefon). Die Formatierungen befinden sich in der Datei \"style.css\" und "
      "\"zoom.js\" erledigt den Bilder-Zoom.";
  // The intro label's height is checked on its own (it must end above the
  // bottom row): here it stands as 0.
  return {
      {"STATIC", 0, intro, kLabel, 0, {10, 292, 310, 0}, "ANSI_VAR_FONT"},
      {"STATIC", 112, "i", 0x50000003, 0, {330, 295, 362, 327}, "none"},
      {"BUTTON", 1, "&OK...", kPush, 0, {320, 355, 380, 415}, "ANSI_VAR_FONT"},
      {"BUTTON", 2, "&Ende", kPush, 0, {320, 425, 380, 445}, "ANSI_VAR_FONT"},
      {"STATIC", 0, "Alle Daten&felder:", kLabel, 0, {10, 428, 130, 448}, "ANSI_VAR_FONT"},
      {"BUTTON", 109, "&Neu", kPush, 0, {110, 425, 170, 445}, "ANSI_VAR_FONT"},
      {"BUTTON", 110, "&Laden", kPush, 0, {170, 425, 230, 445}, "ANSI_VAR_FONT"},
      {"BUTTON", 111, "&Sichern", kPush, 0, {230, 425, 290, 445}, "ANSI_VAR_FONT"},
      {"STATIC", 0, "&Titel:", kLabel, 0, {10, 7, 160, 27}, "ANSI_VAR_FONT"},
      {"EDIT",
       101,
       "Seitentitel eingeben",
       kLine,
       WS_EX_CLIENTEDGE,
       {80, 5, 390, 25},
       "DEFAULT_GUI_FONT"},
      {"STATIC", 0, "&Autor:", kLabel, 0, {10, 42, 160, 62}, "ANSI_VAR_FONT"},
      {"EDIT", 102, "Vorname Name", kLine, WS_EX_CLIENTEDGE, {80, 40, 390, 60}, "DEFAULT_GUI_FONT"},
      {"STATIC", 0, "\"&Keywords\":", kLabel, 0, {10, 77, 160, 97}, "ANSI_VAR_FONT"},
      {"EDIT",
       103,
       "Schl\xFCsselw\xF6rter f\xFCr Suchmaschinen eingeben",
       kLine,
       WS_EX_CLIENTEDGE,
       {80, 75, 390, 95},
       "DEFAULT_GUI_FONT"},
      {"STATIC",
       0,
       "&Men\xFCpunkte:\r\nEinen Men\xFCpunkt pro Zeile\r\neingeben  --->\r\n\r\n"
       "Vermeide lange Men\xFCpunkte\r\n(< 20 Buchstaben)",
       kLabel,
       0,
       {10, 122, 160, 262},
       "ANSI_VAR_FONT"},
      {"EDIT",
       104,
       "Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum",
       0x50211144,
       WS_EX_CLIENTEDGE,
       {180, 120, 390, 280},
       "DEFAULT_GUI_FONT"},
      {"BUTTON", 106, "Nur STYLE.&CSS erstellen", kCheck, 0, {10, 212, 170, 232}, "ANSI_VAR_FONT"},
      {"BUTTON",
       105,
       "Zielordner mit E&xplorer \xF6"
       "ffnen",
       kCheck,
       0,
       {10, 242, 170, 262},
       "ANSI_VAR_FONT"},
  };
}

std::vector<std::vector<std::string>> ProbeLines(const std::string& reply) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(reply);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::istringstream columns(line);
    for (std::string field; std::getline(columns, field, '\t');) fields.push_back(field);
    lines.push_back(fields);
  }
  return lines;
}

std::string Hex(HWND window) {
  std::ostringstream out;
  out << std::hex << reinterpret_cast<UINT_PTR>(window);
  return out.str();
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

class OpenDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    Start();
  }
  // Per control window: font name and the height its text needs.
  std::map<std::string, std::pair<std::string, int>> ProbeControls() {
    std::map<std::string, std::pair<std::string, int>> found;
    const auto reply = program_->Probe(ProbeKind::kControls);
    if (!reply) return found;
    for (const auto& fields : ProbeLines(*reply))
      if (fields.size() == 3) found[fields[0]] = {fields[1], std::stoi(fields[2])};
    return found;
  }
};

TEST_F(OpenDialog, ControlsFollowTheirTableInCreationOrder) {
  const std::vector<Control> controls = program_->Controls();
  const std::vector<ExpectedControl> expected = ExpectedControls();
  const auto probed = ProbeControls();
  ASSERT_EQ(controls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("control " + std::to_string(i + 1));
    const Control& control = controls[i];
    const ExpectedControl& want = expected[i];
    EXPECT_EQ(Upper(control.window_class), want.window_class);
    EXPECT_EQ(control.id, want.id);
    EXPECT_EQ(control.text, want.text);
    EXPECT_EQ(control.style, want.style) << std::hex << control.style;
    EXPECT_EQ(control.ex_style, want.ex_style) << std::hex << control.ex_style;
    EXPECT_EQ(control.rect.left, want.rect.left);
    EXPECT_EQ(control.rect.top, want.rect.top);
    EXPECT_EQ(control.rect.right, want.rect.right);
    if (want.rect.bottom) {
      EXPECT_EQ(control.rect.bottom, want.rect.bottom);
    }
    ASSERT_TRUE(probed.count(Hex(control.window)));
    EXPECT_EQ(probed.at(Hex(control.window)).first, want.font);
  }
  // No control carries the unused identifiers.
  EXPECT_EQ(program_->Item(107), nullptr);
  EXPECT_EQ(program_->Item(108), nullptr);
}

// The intro label must leave the bottom row ("Alle Daten&felder:", "&Neu",
// "&Laden", "&Sichern") uncovered, and every label must show its whole text.
TEST_F(OpenDialog, LabelsShowAllTheirTextAndTheIntroEndsAboveTheBottomRow) {
  const std::vector<Control> controls = program_->Controls();
  const auto probed = ProbeControls();
  ASSERT_FALSE(controls.empty());
  const Control& intro = controls.front();
  ASSERT_EQ(intro.text.rfind(std::string(kProgramCaption) + "\r\n", 0), 0u);
  for (int id : {109, 110, 111}) {
    RECT button{};
    GetWindowRect(program_->Item(id), &button);
    MapWindowPoints(nullptr, program_->dialog(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_LE(intro.rect.bottom, button.top) << "covers button " << id;
  }
  EXPECT_LE(intro.rect.bottom, controls[4].rect.top) << "covers \"Alle Daten&felder:\"";
  for (const Control& control : controls) {
    if (Upper(control.window_class) != "STATIC" || control.id == 112) continue;
    SCOPED_TRACE(control.text.substr(0, 20));
    ASSERT_TRUE(probed.count(Hex(control.window)));
    const int needed = probed.at(Hex(control.window)).second;
    EXPECT_GT(needed, 0);
    EXPECT_LE(needed, control.rect.bottom - control.rect.top);
  }
}

// A real mouse click in the middle of "&Neu" reaches the button.
TEST_F(OpenDialog, BottomRowTakesRealClicks) {
  ASSERT_TRUE(program_->SetText(101, "Mein Titel"));
  RECT button{};
  GetWindowRect(program_->Item(109), &button);
  MapWindowPoints(nullptr, program_->dialog(), reinterpret_cast<POINT*>(&button), 2);
  // A fresh X display may swallow the first click while it activates the
  // window; a covered button would never take one.
  bool reset = false;
  for (int attempt = 0; attempt < 3 && !reset; ++attempt) {
    ASSERT_TRUE(
        program_->ClickAt({(button.left + button.right) / 2, (button.top + button.bottom) / 2}));
    reset = WaitFor([&] { return program_->Text(101) == "Seitentitel eingeben"; }, 3000);
  }
  EXPECT_TRUE(reset) << program_->Text(101);
}

TEST_F(OpenDialog, WindowHasItsStyleCaptionSizeAndIcon) {
  const HWND dialog = program_->dialog();
  const DWORD style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE));
  EXPECT_EQ(style & 0x10CA2804u, 0x10CA2804u) << std::hex << style;
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u) << std::hex << style;
  EXPECT_EQ(ex_style & 0x00040001u, 0x00040001u) << std::hex << ex_style;
  char caption[64] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  EXPECT_STREQ(caption, kProgramCaption);

  // The controls are placed in pixels for a 400 x 460 client area.
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right - client.left, 400);
  EXPECT_EQ(client.bottom - client.top, 460);
  RECT frame{}, work{};
  GetWindowRect(dialog, &frame);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 1);

  // One icon, the resource "I", is the class icon and the icon control's.
  const auto reply = program_->Probe(ProbeKind::kIcons);
  ASSERT_TRUE(reply);
  std::map<std::string, std::vector<std::string>> icons;
  for (const auto& fields : ProbeLines(*reply)) icons[fields[0]] = fields;
  ASSERT_EQ(icons.size(), 3u) << *reply;
  EXPECT_NE(icons["resource"][1], "0");
  EXPECT_EQ(icons["class"][1], icons["resource"][1]);
  EXPECT_EQ(icons["control"][1], icons["resource"][1]);
  EXPECT_EQ(icons["resource"][2], "32x32");
}

TEST_F(OpenDialog, SystemMenuEndsWithTheProgramsCommands) {
  const auto reply = program_->Probe(ProbeKind::kSystemMenu);
  ASSERT_TRUE(reply);
  const auto items = ProbeLines(*reply);
  const std::vector<std::vector<std::string>> kOwn = {
      {"114", "string", "&Media: Bildergalerie..."},
      {"113", "string", "&Kontextmen\xFC JPG..."},
      {"115", "string",
       "Website &pr\xFC"
       "fen..."},
      {"116", "string",
       "Men\xFC in Website &\xFC"
       "bernehmen..."},
      {"117", "string", "Formular aus Website &lesen"},
      {"118", "string", "Website &hochladen..."},
  };
  ASSERT_GT(items.size(), kOwn.size());
  EXPECT_EQ(std::vector(items.end() - static_cast<std::ptrdiff_t>(kOwn.size()), items.end()), kOwn);
  EXPECT_NE(items[items.size() - kOwn.size() - 1][1], "separator")
      << "no separator of the program's own";
}

// Tab goes round the form in creation order: "&OK...", "&Ende", "&Neu",
// "&Laden", "&Sichern", the four fields, the two check boxes.
TEST_F(OpenDialog, FocusStartsInTheTitleAndTabFollowsCreationOrder) {
  EXPECT_EQ(program_->FocusId(), 101);
  int previous = 101;
  for (int next : {102, 103, 104, 106, 105, 1, 2, 109, 110, 111, 101}) {
    ASSERT_TRUE(program_->PressKey(VK_TAB));
    EXPECT_TRUE(WaitFor([&] { return program_->FocusId() == next; }, 5000))
        << "Tab from " << previous << " expected " << next << ", focus on " << program_->FocusId();
    previous = next;
  }
}

TEST_F(OpenDialog, AltLettersOfTheLabelsFocusTheirFields) {
  const struct {
    char letter;
    int field;
  } cases[] = {{'T', 101}, {'A', 102}, {'K', 103}, {'M', 104}, {'T', 101}};
  ASSERT_TRUE(program_->PressKey(VK_TAB));  // away from the title
  ASSERT_TRUE(WaitFor([&] { return program_->FocusId() == 102; }, 5000));
  for (const auto& c : cases) {
    ASSERT_TRUE(program_->PressKey(static_cast<UINT>(c.letter), true));
    EXPECT_TRUE(WaitFor([&] { return program_->FocusId() == c.field; }, 5000))
        << "Alt+" << c.letter << ": focus on " << program_->FocusId();
  }
}

// The program file's resources, read as data.
class ProgramFile : public ::testing::Test {
 protected:
  std::string exe_ = PathFromEnvironment("TRELLAN_EXE");
};

TEST_F(ProgramFile, CarriesOne32x32SixteenColourIconNamedI) {
  const HMODULE file = LoadLibraryExA(exe_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(file, nullptr) << exe_;
  const HRSRC group = FindResourceA(file, "i", reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
  ASSERT_NE(group, nullptr);
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(file, group)));
  ASSERT_NE(bytes, nullptr);
  // GRPICONDIR: reserved, type, count; then 14-byte entries.
  const auto word = [bytes](int offset) { return bytes[offset] | (bytes[offset + 1] << 8); };
  EXPECT_EQ(word(2), 1);  // icons
  EXPECT_EQ(word(4), 1);  // one image
  EXPECT_EQ(bytes[6], 32);
  EXPECT_EQ(bytes[7], 32);
  EXPECT_EQ(bytes[8], 16);    // colours
  EXPECT_EQ(word(6 + 6), 4);  // bits per pixel
  FreeLibrary(file);
}

std::string VersionText(const std::vector<char>& info, const std::string& name) {
  struct Translation {
    WORD language, code_page;
  };
  Translation* translation = nullptr;
  UINT size = 0;
  if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &size) ||
      size < sizeof *translation)
    return "<no translation>";
  char path[128];
  wsprintfA(path, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->code_page,
            name.c_str());
  char* text = nullptr;
  if (!VerQueryValueA(info.data(), path, reinterpret_cast<void**>(&text), &size) || !text)
    return "<missing>";
  return text;
}

TEST_F(ProgramFile, CarriesTheVersionRecord) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(exe_.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe_.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixed_size = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixed_size));
  // The project's version, as the numbers of the fixed part.
  constexpr DWORD kVersion[] = {TRELLAN_VERSION_NUMBERS};
  EXPECT_EQ(fixed->dwFileVersionMS, kVersion[0] << 16 | kVersion[1]);
  EXPECT_EQ(fixed->dwFileVersionLS, kVersion[2] << 16 | kVersion[3]);
  EXPECT_EQ(fixed->dwProductVersionMS, kVersion[0] << 16 | kVersion[1]);
  EXPECT_EQ(fixed->dwProductVersionLS, kVersion[2] << 16 | kVersion[3]);
  const std::map<std::string, std::string> texts = {{"FileVersion", kVersionText},
                                                    {"ProductVersion", kVersionText},
                                                    {"ProductName", "Trellan"},
                                                    {"FileDescription", "Trellan"},
                                                    {"InternalName", "Trellan"},
                                                    {"OriginalFilename", "Trellan.exe"},
                                                    {"Comments", "MI-Unterricht (Informatik)"}};
  for (const auto& [name, text] : texts) EXPECT_EQ(VersionText(info, name), text) << name;
  for (const char* name : {"LegalCopyright", "LegalTrademarks", "CompanyName"}) {
    const std::string text = VersionText(info, name);
    EXPECT_FALSE(text.empty() || text[0] == '<') << name;
  }
}

}  // namespace
}  // namespace trellan::driver
