#include "generator/run_texts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "generator/text_output.h"

namespace trellan {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(RunTexts, OverwriteQuestionNamesTheFolder) {
  EXPECT_EQ(OverwriteQuestionText("C:\\D\\CSS-Musterseite\\"),
            "Im Ordner\r\n\xAB"
            "C:\\D\\CSS-Musterseite\\\xBB\r\nhat es bereits HTML-Dateien."
            "\r\n\r\nHTML-Dateien wirklich \xFC"
            "berschreiben?");
  EXPECT_STREQ(kOverwriteCaption,
               "\xDC"
               "berschreiben best\xE4tigen");
}

TEST(RunTexts, ClosingNoticeUsesBareCarriageReturns) {
  EXPECT_STREQ(kDoneNoticeText,
               "Gew\xFCnschte Dateie(n) erstellt.\r\r"
               "[Dialog schlie\xDFt automatich in 3 Sek.]");
}

FailedFile Failed(std::string target, WriteCause cause = WriteCause::ReadOnly,
                  std::uint32_t error = 5) {
  return {std::move(target), {cause, error}};
}

constexpr const char* kHeading = "Folgende Dateien konnten nicht geschrieben werden:\r\n";
constexpr const char* kReadOnlyOrOpen =
    "Vielleicht sind sie schreibgesch\xFCtzt oder in einem anderen Programm ge\xF6"
    "ffnet.";
constexpr const char* kDiskFull = "Auf dem Datentr\xE4ger ist kein Platz mehr.";

TEST(RunTexts, FailedFilesAreListedUpToTwentyEachCauseNamed) {
  std::vector<FailedFile> failed;
  for (int i = 1; i <= 25; ++i) failed.push_back(Failed("f" + std::to_string(i)));
  std::string expected = kHeading;
  for (int i = 1; i <= 20; ++i) expected += "\r\nf" + std::to_string(i);
  EXPECT_EQ(FailedFilesNoticeText(failed), expected + "\r\n\x85\r\n\r\n" + kReadOnlyOrOpen);

  // A cause past the twentieth file is still named.
  failed.push_back(Failed("f26", WriteCause::DiskFull, 112));
  EXPECT_EQ(FailedFilesNoticeText(failed),
            expected + "\r\n\x85\r\n\r\n" + kReadOnlyOrOpen + "\r\n\r\n\x85\r\n\r\n" + kDiskFull);
}

// Read-only and open files share their sentence; every other cause makes a
// group of its own, in the order of its first file.
TEST(RunTexts, FailedFilesAreGroupedByTheSentenceOfTheirCause) {
  const std::vector<FailedFile> failed = {
      Failed("index.html", WriteCause::ReadOnly), Failed("s02.html", WriteCause::DiskFull, 112),
      Failed("s03.html", WriteCause::InUse, 32), Failed("style.css", WriteCause::DiskFull, 39)};
  EXPECT_EQ(FailedFilesNoticeText(failed),
            std::string(kHeading) + "\r\nindex.html\r\ns03.html\r\n\r\n" + kReadOnlyOrOpen +
                "\r\n\r\ns02.html\r\nstyle.css\r\n\r\n" + kDiskFull);
  EXPECT_EQ(FailedFilesNoticeText({Failed("media\\karte.png", WriteCause::InUse)}),
            std::string(kHeading) + "\r\nmedia\\karte.png\r\n\r\n" + kReadOnlyOrOpen);
}

// Every cause is named, each by a sentence of its own but read-only and
// open files, and an unknown one by its code.
TEST(RunTexts, EveryCauseHasASentenceOfItsOwn) {
  std::set<std::string> sentences;
  for (int cause = static_cast<int>(WriteCause::ReadOnly);
       cause <= static_cast<int>(WriteCause::Other); ++cause) {
    const std::string sentence = WriteCauseSentence({static_cast<WriteCause>(cause), 1117});
    EXPECT_EQ(sentence.back(), '.') << cause;
    sentences.insert(sentence);
  }
  EXPECT_EQ(sentences.size(), static_cast<std::size_t>(WriteCause::Other) - 1);
  EXPECT_EQ(WriteCauseSentence({WriteCause::Other, 1117}), "Windows meldet den Fehler 1117.");
  EXPECT_EQ(WriteCauseSentence({}), "");
}

TEST(RunTexts, ClosingNoticeFollowsWhatCouldNotBeWritten) {
  constexpr std::string_view kFolder = "Q:\\Desktop\\CSS-Musterseite\\";
  const std::vector<FailedFile> failed = {Failed("s02.html"),
                                          Failed("media\\karte.png", WriteCause::DiskFull, 112)};
  EXPECT_EQ(ClosingNoticeFor({}, kFolder), (ClosingNotice{NoticeKind::Done, kDoneNoticeText}));
  EXPECT_EQ(ClosingNoticeFor({false, failed}, kFolder),
            (ClosingNotice{NoticeKind::FilesMissing, FailedFilesNoticeText(failed)}));
  const ClosingNotice no_folder = {
      NoticeKind::FolderMissing,
      "Der Ordner\r\n\xABQ:\\Desktop\\CSS-Musterseite\\\xBB\r\nkonnte nicht erstellt werden; "
      "es wurde nichts geschrieben.\r\n\r\nVielleicht ist das Laufwerk nicht verbunden oder "
      "schreibgesch\xFCtzt."};
  EXPECT_EQ(ClosingNoticeFor({true, {}}, kFolder), no_folder);
  EXPECT_EQ(ClosingNoticeFor({true, failed}, kFolder), no_folder) << "the folder names the cause";
}

TEST(RunTexts, ExplorerSelectsTheQuotedFolder) {
  EXPECT_EQ(ExplorerCommandLine("C:\\Users\\u 1\\Desktop\\CSS-Musterseite\\"),
            "Explorer /e,/root,/select,\"C:\\Users\\u 1\\Desktop\\CSS-Musterseite\\\"");
}

TEST(TextOutput, TemplatesGetCrLfAndValuesOnce) {
  std::string out;
  AppendTemplate(out, "a {{x}}\n{{y}}{{unknown}}\n\n", {{"x", "{{y}}\n"}, {"y", "&"}});
  // The value's own LF is not converted and its {{y}} is not filled in.
  EXPECT_EQ(out, "a {{y}}\n\r\n&{{unknown}}\r\n\r\n");
  EXPECT_EQ(WithCrLf("x\ny\n"), "x\r\ny\r\n");
  EXPECT_EQ(WithCrLf("{{ no end"), "{{ no end");
  EXPECT_EQ(WithCrLfLineEnds("a\nb\rc\r\nd\n\r\r\n"), "a\r\nb\r\nc\r\nd\r\n\r\n\r\n");
}

}  // namespace
}  // namespace trellan
