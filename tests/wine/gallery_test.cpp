#include "app/media_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "system/gallery_files.h"
#include "system/system.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_site.h"

namespace trellan {
namespace {

using ::testing::HasSubstr;

using test::MessageBoxAnswerer;

void RemoveSite() {
  std::string folder = test::SiteFolder();
  folder.pop_back();
  test::RemoveTree(folder);
}

std::string MediaFolder() { return test::SiteFolder() + "media"; }
std::string ListPath() { return test::SiteFolder() + "_Bilder.txt"; }

// Created through the UTF-16 API, so that names outside the ANSI code page
// exist as well.
void CreatePicture(const std::wstring& name) {
  const HANDLE file =
      CreateFileW((trellan::AnsiToWide(MediaFolder()) + L"\\" + name).c_str(), GENERIC_WRITE, 0,
                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "pic", 3, &written, nullptr);
  CloseHandle(file);
}

// The text in the editor's edit field, read across processes.
std::string EditorText(HWND notepad) {
  const HWND edit = FindWindowExA(notepad, nullptr, "EDIT", nullptr);
  if (!edit) return {};
  std::string text(64 * 1024, '\0');
  DWORD_PTR length = 0;
  SendMessageTimeoutA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &length);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// Waits for a Notepad window that shows the list file.
HWND WaitForListInNotepad(DWORD timeout_ms) {
  for (DWORD waited = 0; waited < timeout_ms; waited += 100) {
    for (HWND window : test::NotepadWindows())
      if (test::WindowTitle(window).find("_Bilder.txt") != std::string::npos) return window;
    Sleep(100);
  }
  return nullptr;
}

// One figure block, as the gallery on a page expects it.
std::string Block(const std::string& src, const std::string& caption) {
  return "<figure>\r\n"
         "  <img class=\"bild zoom\"\r\n"
         "   src=\"media/" +
         src +
         "\"\r\n"
         "   title=\"" +
         caption +
         "\"\r\n"
         "   alt=\"" +
         caption +
         "\">\r\n"
         "  <figcaption>" +
         caption +
         "</figcaption>\r\n"
         "</figure>\r\n"
         "\r\n";
}

std::vector<std::string> SplitBlocks(const std::string& list) {
  std::vector<std::string> blocks;
  const std::string end = "</figure>\r\n\r\n";
  std::size_t start = 0;
  while (start < list.size()) {
    const std::size_t at = list.find(end, start);
    if (at == std::string::npos) {
      blocks.push_back(list.substr(start));  // a broken tail shows up as a mismatch
      break;
    }
    blocks.push_back(list.substr(start, at + end.size() - start));
    start = at + end.size();
  }
  return blocks;
}

class Gallery : public ::testing::Test {
 protected:
  void SetUp() override {
    test::CloseAllNotepads();
    RemoveSite();
    ASSERT_FALSE(test::FileExists(test::SiteFolder()));
    owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  }
  void TearDown() override {
    test::CloseAllNotepads();
    DestroyWindow(owner_);
    RemoveSite();
  }

  void ExpectNoticeAndNotepad(const MessageBoxAnswerer& boxes) {
    ASSERT_EQ(boxes.seen().size(), 1u);
    const test::SeenBox& box = boxes.seen()[0];
    EXPECT_EQ(box.caption, "Media: Bildergalerie");
    EXPECT_EQ(box.text, "Die HTML-Bildergalerie wurde vorbereitet:\r\r" + ListPath() +
                            "\r\rDie Datei wird mit dem Editor ge\xF6"
                            "ffnet, der Inhalt kann "
                            "dann \xFC"
                            "ber die Zwischenablage \xFC"
                            "bernommen werden.");
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box.owner, owner_);
    const HWND notepad = WaitForListInNotepad(15000);
    ASSERT_NE(notepad, nullptr) << "Notepad did not open _Bilder.txt";
    notepad_text_ = EditorText(notepad);
  }

  HWND owner_ = nullptr;
  std::string notepad_text_;
};

TEST_F(Gallery, ListsEveryPictureTypeInSearchOrderAndSkipsDerivedCopies) {
  ASSERT_TRUE(CreateDirectoryA(test::SiteFolder().c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(MediaFolder().c_str(), nullptr));
  // An older, longer list is replaced, not appended to or partly kept.
  test::WriteFileBytes(ListPath(), std::string(20000, 'x'));
  for (const wchar_t* name :
       {L"g.webp", L"f.gif", L"\u03A9mega.gif", L"e.png", L"\u00E4.png", L"d.svg", L"c.jfif",
        L"b.jpeg", L"sch\u00F6ne aussicht.jpeg", L"a1.jpg", L"Mein_Bild.JPG", L"Berg_T.jpg",
        L"a.jpg.jpg", L"x.png.jpg", L"see_t.jpg", L"berg_w.png", L"notes.txt", L"bild.jpg.bak"})
    CreatePicture(name);
  ASSERT_TRUE(CreateDirectoryA((MediaFolder() + "\\alt.jpg").c_str(), nullptr));
  test::WriteFileBytes(MediaFolder() + "\\alt.jpg\\innen.jpg", "pic");

  // Each search pattern's blocks, as (src, caption); within one pattern the
  // directory order counts, not this one.
  const std::vector<std::vector<std::pair<std::string, std::string>>> groups = {
      {{"a1.jpg", "A1"},
       {"Mein_Bild.JPG", "Mein Bild"},
       {"Berg_T.jpg", "Berg T"},
       {"a.jpg.jpg", "A.jpg"},
       {"x.png.jpg", "X"}},
      {{"b.jpeg", "B"}, {"sch%C3%B6ne%20aussicht.jpeg", "Sch\xC3\xB6ne aussicht"}},
      {{"c.jfif", "C"}},
      {{"d.svg", "D"}},
      {{"e.png", "E"}, {"%C3%A4.png", "\xC3\xA4"}},
      {{"f.gif", "F"}, {"%CE%A9mega.gif", "\xCE\xA9mega"}},
      {{"g.webp", "G"}},
  };
  std::map<std::string, std::size_t> group_of;
  for (std::size_t group = 0; group < groups.size(); ++group)
    for (const auto& [src, caption] : groups[group]) group_of[Block(src, caption)] = group;

  MessageBoxAnswerer boxes;
  BuildGallerySnippet(owner_);

  const std::string list = test::ReadFileBytes(ListPath());
  ASSERT_FALSE(list.starts_with("\xEF\xBB\xBF"));
  const std::vector<std::string> blocks = SplitBlocks(list);
  std::size_t previous_group = 0;
  for (const std::string& block : blocks) {
    const auto found = group_of.find(block);
    ASSERT_NE(found, group_of.end()) << "unexpected block:\n" << block;
    EXPECT_GE(found->second, previous_group) << "out of search order:\n" << block;
    previous_group = found->second;
  }
  EXPECT_EQ(blocks.size(), group_of.size());
  std::vector<std::string> unique = blocks;
  std::sort(unique.begin(), unique.end());
  EXPECT_EQ(std::unique(unique.begin(), unique.end()), unique.end()) << "a picture listed twice";

  ExpectNoticeAndNotepad(boxes);
  EXPECT_THAT(notepad_text_, HasSubstr("src=\"media/Mein_Bild.JPG\""));
}

TEST_F(Gallery, WithoutSiteFolderCreatesItAndAnEmptyList) {
  MessageBoxAnswerer boxes;
  BuildGallerySnippet(owner_);

  EXPECT_TRUE(test::FileExists(test::SiteFolder()));
  ASSERT_TRUE(test::FileExists(ListPath()));
  EXPECT_EQ(test::ReadFileBytes(ListPath()), "");
  ExpectNoticeAndNotepad(boxes);
}

TEST_F(Gallery, UnwritableListShowsNoNoticeAndStartsNoEditor) {
  ASSERT_TRUE(CreateDirectoryA(test::SiteFolder().c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(MediaFolder().c_str(), nullptr));
  CreatePicture(L"berg.jpg");
  // A folder in the list file's place: the file cannot be created.
  ASSERT_TRUE(CreateDirectoryA(ListPath().c_str(), nullptr));

  MessageBoxAnswerer boxes;
  BuildGallerySnippet(owner_);

  EXPECT_TRUE(boxes.seen().empty());
  EXPECT_TRUE(test::ProcessesNamed("notepad.exe").empty()) << "an editor was started";
  EXPECT_TRUE(test::ListFolder(ListPath()).empty());
  const GalleryList list = WriteGalleryList(test::SiteFolder(), "x");
  EXPECT_EQ(list.path, ListPath());
  EXPECT_FALSE(list.written);
}

}  // namespace
}  // namespace trellan
