#pragma once
// Identifiers of the dialog's controls and system-menu commands.
#include <windows.h>

// <windows.h> defines IDC_ICON as an obsolete cursor name; here it is the
// dialog's icon control.
#undef IDC_ICON

namespace trellan {

// IDOK (1) is "&OK...", IDCANCEL (2) is "&Ende".
inline constexpr int IDC_TITLE = 101;
inline constexpr int IDC_AUTHOR = 102;
inline constexpr int IDC_KEYWORDS = 103;
inline constexpr int IDC_MENU = 104;
inline constexpr int IDC_EXPLORE = 105;
inline constexpr int IDC_CSSONLY = 106;
inline constexpr int IDC_NEW = 109;
inline constexpr int IDC_LOAD = 110;
inline constexpr int IDC_SAVE = 111;
inline constexpr int IDC_ICON = 112;
inline constexpr int IDM_CONTEXTMENU = 113;
inline constexpr int IDM_GALLERY = 114;
inline constexpr int IDM_SITECHECK = 115;
inline constexpr int IDM_SITEUPDATE = 116;
inline constexpr int IDM_READFORM = 117;
inline constexpr int IDM_UPLOAD = 118;

// The upload dialog ("Hochladen" is IDOK, "Abbrechen" IDCANCEL) and the
// progress window ("Abbrechen" is IDCANCEL).
inline constexpr int IDC_UPLOAD_HOST = 201;
inline constexpr int IDC_UPLOAD_PORT = 202;
inline constexpr int IDC_UPLOAD_USER = 203;
inline constexpr int IDC_UPLOAD_PASSWORD = 204;
inline constexpr int IDC_UPLOAD_FOLDER = 205;
inline constexpr int IDC_UPLOAD_TLS = 206;
inline constexpr int IDC_UPLOAD_REMEMBER = 207;
inline constexpr int IDC_PROGRESS_BAR = 211;
inline constexpr int IDC_PROGRESS_COUNT = 212;
inline constexpr int IDC_PROGRESS_FILE = 213;

// The program's icon resource as its boxes name it; resource names compare
// without case, so the class icon's "I" is the same one.
inline constexpr const char* kIconName = "i";

}  // namespace trellan
