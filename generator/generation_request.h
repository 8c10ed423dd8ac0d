#pragma once
// What a generation run is asked to do, once the dialog has asked its
// questions.
#include <string>

namespace trellan {

struct GenerationRequest {
  // In UTF-8: the dialog converts its ANSI texts once, at the run's edge.
  // The menu text's lines are separated by CR LF.
  std::string title;
  std::string author;
  std::string keywords;
  std::string menu_text;
  // Only the stylesheet, the script and the server files are written.
  bool css_only = false;
  // The dialog's decision: its box is checked, or Shift or Control is down.
  bool open_explorer = false;
};

}  // namespace trellan
