#include "generator/run_texts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

TEST(RunTexts, FailedFilesAreListedUpToTwenty) {
  std::vector<std::string> failed;
  for (int i = 1; i <= 25; ++i) failed.push_back("f" + std::to_string(i));
  const std::string text = FailedFilesNoticeText(failed);
  EXPECT_THAT(text, HasSubstr("\r\nf1\r\n"));
  EXPECT_THAT(text, HasSubstr("\r\nf20\r\n\x85"));
  EXPECT_THAT(text, Not(HasSubstr("f21")));
  const std::string one = FailedFilesNoticeText({"media\\karte.png"});
  EXPECT_THAT(one, HasSubstr("\r\nmedia\\karte.png\r\n"));
  EXPECT_THAT(one, Not(HasSubstr("\x85")));
}

TEST(RunTexts, ClosingNoticeFollowsWhatCouldNotBeWritten) {
  constexpr std::string_view kFolder = "Q:\\Desktop\\CSS-Musterseite\\";
  const std::vector<std::string> failed = {"s02.html", "media\\karte.png"};
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
