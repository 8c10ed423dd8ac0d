#pragma once
// The form values handed to a generation run.
#include <string>

namespace trellan {

struct GenerationRequest {
  // In the ANSI code page, as read from the dialog (title, author and
  // keywords at most 512 characters, the menu text at most 8191, its lines
  // separated by CR LF). The run converts them to UTF-8 at its start.
  std::string title;
  std::string author;
  std::string keywords;
  std::string menu_text;
  bool css_only = false;
  bool open_folder = false;
};

}  // namespace trellan
