#include "mediatools/context_menu_text.h"

#include <gtest/gtest.h>

#include <string>

#include "identity.h"

namespace trellan {
namespace {

constexpr const char* kViewer64 = "C:\\Program Files\\IrfanView\\I_view64.exe";

TEST(ConverterCommandLines, QuoteTheViewerAndConvertIntoPx4web) {
  EXPECT_EQ(ThumbnailCommandLine(kViewer64),
            "\"C:\\Program Files\\IrfanView\\I_view64.exe\" \"%1\\*.*\" /silent "
            "/resize_long=400 /aspectratio /resample /jpgq=70 "
            "/convert=\"%1\\px4web\\$N_t.jpg\"");
  EXPECT_EQ(WebCommandLine(kViewer64),
            "\"C:\\Program Files\\IrfanView\\I_view64.exe\" \"%1\\*.*\" /silent "
            "/resize_long=1600 /aspectratio /resample /jpgq=70 "
            "/convert=\"%1\\px4web\\$N.jpg\"");
}

TEST(ConverterCommandLines, KeepALongViewerPathWhole) {
  // Longer than 512 characters: the command stays whole, never cut into
  // one that cannot run.
  const std::string viewer = "D:\\" + std::string(600, 'x') + "\\I_view32.exe";
  const std::string command = WebCommandLine(viewer);
  EXPECT_EQ(command.substr(0, viewer.size() + 2), "\"" + viewer + "\"");
  EXPECT_TRUE(command.ends_with("/convert=\"%1\\px4web\\$N.jpg\"")) << command;
  EXPECT_EQ(command.size(), viewer.size() + WebCommandLine("").size());
}

TEST(ViewerMissingText, HasSevenLinesSeparatedByBareCarriageReturns) {
  EXPECT_EQ(ViewerMissingText(), std::string("Diese Funktion erfordert die Installation\r"
                                             "von IrfanView (Bildbetrachter/konverter).\r"
                                             "\r") +
                                     kProgramCaption +
                                     "\r"
                                     "nach erfolgter Installation erneut starten.\r"
                                     "\r"
                                     "IrfanView jetzt herunterladen?");
}

}  // namespace
}  // namespace trellan
