#pragma once
// The fixed texts of the image-converter context menu: the registry keys
// Explorer reads its folder commands from, the viewer's possible places,
// the two command lines and the question shown when the viewer is missing.
#include <array>
#include <string>
#include <string_view>

namespace trellan {

// Under HKEY_CURRENT_USER. Explorer shows a verb key's name as the menu
// text and runs the default value of its "command" sub-key.
inline constexpr const char* kThumbVerbKey =
    "SOFTWARE\\Classes\\Directory\\shell\\JPG-Thumb (IrfanView)";
inline constexpr const char* kThumbCommandKey =
    "SOFTWARE\\Classes\\Directory\\shell\\JPG-Thumb (IrfanView)\\command";
inline constexpr const char* kWebVerbKey =
    "SOFTWARE\\Classes\\Directory\\shell\\JPG-Web (IrfanView)";
inline constexpr const char* kWebCommandKey =
    "SOFTWARE\\Classes\\Directory\\shell\\JPG-Web (IrfanView)\\command";

// Where the viewer may be installed: a program folder (an environment
// reference still to be expanded, with its backslash) and the file in it.
struct ViewerCandidate {
  const char* folder;
  const char* file;
};
// The 64-bit viewer first. On 32-bit Windows %ProgramW6432% is undefined,
// stays literal and so never names a file.
inline constexpr std::array<ViewerCandidate, 2> kViewerCandidates = {{
    {"%ProgramW6432%\\", "IrfanView\\I_view64.exe"},
    {"%ProgramFiles%\\", "IrfanView\\I_view32.exe"},
}};

// Batch conversion of every file of the right-clicked folder (%1) into its
// sub-folder px4web: thumbnails (longer side 400, "_t.jpg") and web copies
// (longer side 1600).
std::string ThumbnailCommandLine(std::string_view viewer_path);
std::string WebCommandLine(std::string_view viewer_path);

inline constexpr const char* kViewerMissingCaption = "IrfanView nicht gefunden";
// The question offering the download page; lines separated by bare CRs.
std::string ViewerMissingText();
// The viewer maker's download page, opened when the user answers Yes.
inline constexpr const char* kViewerDownloadPage =
    "https://www.irfanview.com/main_download_engl.htm";
// The program ends with this code after the viewer was found missing.
inline constexpr unsigned kViewerMissingExitCode = 1;

}  // namespace trellan
