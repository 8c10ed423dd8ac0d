#include "mediatools/context_menu_text.h"

#include "identity.h"

namespace trellan {

namespace {

// Everything after the viewer path; the viewer's own option syntax.
constexpr std::string_view kThumbnailTail =
    "\" \"%1\\*.*\" /silent /resize_long=400 /aspectratio /resample /jpgq=70 "
    "/convert=\"%1\\px4web\\$N_t.jpg\"";
constexpr std::string_view kWebTail =
    "\" \"%1\\*.*\" /silent /resize_long=1600 /aspectratio /resample /jpgq=70 "
    "/convert=\"%1\\px4web\\$N.jpg\"";

std::string QuotedViewerCommand(std::string_view viewer_path, std::string_view tail) {
  std::string command = "\"";
  command += viewer_path;
  command += tail;
  return command;
}

}  // namespace

std::string ThumbnailCommandLine(std::string_view viewer_path) {
  return QuotedViewerCommand(viewer_path, kThumbnailTail);
}

std::string WebCommandLine(std::string_view viewer_path) {
  return QuotedViewerCommand(viewer_path, kWebTail);
}

std::string ViewerMissingText() {
  std::string text =
      "Diese Funktion erfordert die Installation\r"
      "von IrfanView (Bildbetrachter/konverter).\r"
      "\r";
  text += kProgramCaption;
  text +=
      "\r"
      "nach erfolgter Installation erneut starten.\r"
      "\r"
      "IrfanView jetzt herunterladen?";
  return text;
}

}  // namespace trellan
