#pragma once
// The thin layer through which the program reaches the registry, the shell
// folders, the clock, process creation and message boxes. Texts are in the
// ANSI code page. No operation reports an error: failures become neutral
// results (an empty text, 0, a plain message box).
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace trellan {

// Capacities, each including the terminating zero.
inline constexpr std::size_t kRegTextCapacity = 1025;
inline constexpr std::size_t kShellFolderCapacity = 501;
inline constexpr std::size_t kExpandedPathCapacity = 512;
inline constexpr std::size_t kDateCapacity = 513;

// A text value; empty when the key or value is missing. A longer value is
// cut to `capacity` - 1 bytes.
std::string ReadRegString(HKEY root, const char* sub_key, const char* value_name,
                          std::size_t capacity = kRegTextCapacity);
// Creates the key and every missing key above it; an empty value name
// writes the key's default value. Stored as REG_SZ with its zero; true
// when it was stored.
bool WriteRegString(HKEY root, const char* sub_key, const char* value_name,
                    const std::string& text);
// 0 when the key or value is missing.
DWORD ReadRegDword(HKEY root, const char* sub_key, const char* value_name);
void WriteRegDword(HKEY root, const char* sub_key, const char* value_name, DWORD value);

// The path of a shell folder of the current user, without trailing
// backslash: the expanded "User Shell Folders" value, else the plain
// "Shell Folders" value, else the empty text.
std::string ShellFolderPath(const char* value_name);
// Replaces %NAME% references in place; an unknown name stays as written,
// and a path that cannot be expanded within 511 characters stays as it was.
void ExpandEnvironmentPath(std::string& path);
// The local date as yyyy-MM-dd.
std::string TodayText();
// True for an existing file or folder.
bool PathExists(const std::string& path);
// True for an existing file, false for a folder.
bool FileExists(const std::string& path);
// Starts a program without waiting for it; a failure is silent.
void RunCommandLine(const std::string& command_line, int show_state);
// Opens a file with the program Windows has for it (a page or a web
// address in the default browser), without waiting; a failure is silent.
// `path` is ANSI.
void OpenDocument(const std::string& path);
// Starts `program` (found as the shell finds it, e.g. "NOTEPAD") with the
// parameters as they are, without waiting; a failure is silent.
void StartProgram(const char* program, const std::string& parameters);
// Ends the program at once with the exit code; nothing is saved.
[[noreturn]] void EndProgram(unsigned exit_code);
// A message box with the program's own icon (shown with MB_USERICON) after
// a beep; returns the button pressed.
int IconMessageBox(HWND owner, const char* text, const char* caption, const char* icon, UINT style);
// A message box that closes itself after `timeout_ms` where the system can,
// else a plain one.
int TimedNotice(HWND owner, const char* text, const char* caption, UINT style, WORD language,
                DWORD timeout_ms);

// Windows-1252 (the ANSI code page) to UTF-16; UTF-16 to UTF-8; and
// Windows-1252 to UTF-8 by way of UTF-16. None cuts.
std::wstring AnsiToWide(std::string_view ansi);
std::string WideToUtf8(std::wstring_view wide);
std::string AnsiToUtf8(std::string_view ansi);
// UTF-8 to Windows-1252. A character that Windows-1252 lacks becomes its
// HTML character reference ("&#x1f310;"), which shows it in a page again;
// invalid bytes become "&#xfffd;".
std::string Utf8ToAnsi(std::string_view utf8);

// The bytes of a file of at most `max_bytes`; nothing when it is missing,
// larger or cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t max_bytes);

}  // namespace trellan
