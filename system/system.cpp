#include "system/system.h"

#include <shellapi.h>

#include <charconv>
#include <vector>

#include "settings/stored_value.h"
#include "system/handles.h"

namespace trellan {

namespace {

constexpr const char* kUserShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool CreateKeyAndSet(HKEY root, const char* sub_key, const char* value_name, DWORD type,
                     const BYTE* data, DWORD size) {
  RegKey key;
  char empty_class[] = "";
  return RegCreateKeyExA(root, sub_key, 0, empty_class, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, key.out(), nullptr) == ERROR_SUCCESS &&
         RegSetValueExA(key.get(), value_name, 0, type, data, size) == ERROR_SUCCESS;
}

// ExpandEnvironmentStringsA into a buffer of `capacity` bytes; empty when
// the call fails or the result would not fit.
std::string Expand(const std::string& text, std::size_t capacity) {
  std::vector<char> buffer(capacity, '\0');
  const DWORD needed =
      ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(capacity));
  if (needed == 0 || needed > capacity) return {};
  buffer.back() = '\0';
  return buffer.data();
}

}  // namespace

std::string ReadRegString(HKEY root, const char* sub_key, const char* value_name,
                          std::size_t capacity) {
  RegKey key;
  if (RegOpenKeyExA(root, sub_key, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) return {};
  std::vector<char> data(capacity, '\0');
  DWORD size = static_cast<DWORD>(capacity);
  LONG status = RegQueryValueExA(key.get(), value_name, nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(data.data()), &size);
  if (status == ERROR_MORE_DATA) {
    // Longer than the capacity: read it whole, then keep what fits.
    data.assign(size + 1, '\0');
    status = RegQueryValueExA(key.get(), value_name, nullptr, nullptr,
                              reinterpret_cast<BYTE*>(data.data()), &size);
  }
  if (status != ERROR_SUCCESS) return {};
  return StoredTextOf(std::string_view(data.data(), size < data.size() ? size : data.size()),
                      capacity);
}

bool WriteRegString(HKEY root, const char* sub_key, const char* value_name,
                    const std::string& text) {
  return CreateKeyAndSet(root, sub_key, value_name, REG_SZ,
                         reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
}

DWORD ReadRegDword(HKEY root, const char* sub_key, const char* value_name) {
  RegKey key;
  if (RegOpenKeyExA(root, sub_key, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) return 0;
  std::string data(sizeof(DWORD), '\0');
  DWORD size = sizeof(DWORD);
  if (RegQueryValueExA(key.get(), value_name, nullptr, nullptr,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return 0;
  data.resize(size < data.size() ? size : data.size());
  return StoredNumberOf(data);
}

void WriteRegDword(HKEY root, const char* sub_key, const char* value_name, DWORD value) {
  CreateKeyAndSet(root, sub_key, value_name, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                  sizeof value);
}

std::string ShellFolderPath(const char* value_name) {
  const std::string raw =
      ReadRegString(HKEY_CURRENT_USER, kUserShellFolders, value_name, kShellFolderCapacity);
  if (!raw.empty() && static_cast<unsigned char>(raw[0]) >= 32) {
    std::string expanded = Expand(raw, kShellFolderCapacity);
    if (!expanded.empty()) return expanded;
  }
  return ReadRegString(HKEY_CURRENT_USER, kShellFolders, value_name, kShellFolderCapacity);
}

void ExpandEnvironmentPath(std::string& path) {
  std::string expanded = Expand(path, kExpandedPathCapacity);
  if (!expanded.empty()) path = std::move(expanded);
}

std::string TodayText() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  std::vector<char> buffer(kDateCapacity, '\0');
  if (GetDateFormatA(LOCALE_SYSTEM_DEFAULT, 0, &now, "yyyy-MM-dd", buffer.data(),
                     static_cast<int>(kDateCapacity)) == 0)
    return {};
  return buffer.data();
}

bool PathExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RunCommandLine(const std::string& command_line, int show_state) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show_state);
  PROCESS_INFORMATION process{};
  // CreateProcessA may write into the command line, so it gets its own copy.
  std::vector<char> writable(command_line.begin(), command_line.end());
  writable.push_back('\0');
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &startup, &process))
    return;
  // Not waited for: both handles go at once.
  const ObjectHandle started_process(process.hProcess);
  const ObjectHandle started_thread(process.hThread);
}

void OpenDocument(const std::string& path) {
  // The wide call, so that a path beyond Windows-1252 would open as well.
  const std::wstring wide = AnsiToWide(path);
  ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void StartProgram(const char* program, const std::string& parameters) {
  ShellExecuteA(nullptr, "open", program, parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void EndProgram(unsigned exit_code) { ExitProcess(exit_code); }

int IconMessageBox(HWND owner, const char* text, const char* caption, const char* icon,
                   UINT style) {
  MessageBeep(MB_ICONASTERISK);
  MSGBOXPARAMSA params{};
  params.cbSize = sizeof params;
  params.hwndOwner = owner;
  params.hInstance = GetModuleHandleA(nullptr);
  params.lpszText = text;
  params.lpszCaption = caption;
  params.dwStyle = style | MB_SETFOREGROUND;
  params.lpszIcon = icon;
  params.dwContextHelpId = 1;
  params.lpfnMsgBoxCallback = nullptr;
  params.dwLanguageId = 0;
  return MessageBoxIndirectA(&params);
}

int TimedNotice(HWND owner, const char* text, const char* caption, UINT style, WORD language,
                DWORD timeout_ms) {
  const Library user32("User32.dll");
  if (!user32.get()) return MessageBoxA(owner, text, caption, style);
  using MessageBoxTimeoutFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT, WORD, DWORD);
  const auto message_box_timeout = reinterpret_cast<MessageBoxTimeoutFn>(
      reinterpret_cast<void*>(GetProcAddress(user32.get(), "MessageBoxTimeoutA")));
  if (!message_box_timeout) return MessageBoxA(owner, text, caption, style);
  return message_box_timeout(owner, text, caption, style, language, timeout_ms);
}

std::wstring AnsiToWide(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int length = static_cast<int>(ansi.size());
  const int wide_length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (wide_length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), wide_length);
  return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int wide_length = static_cast<int>(wide.size());
  const int utf8_length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  if (utf8_length <= 0) return {};
  std::string utf8(static_cast<std::size_t>(utf8_length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), utf8_length, nullptr,
                      nullptr);
  return utf8;
}

std::string AnsiToUtf8(std::string_view ansi) { return WideToUtf8(AnsiToWide(ansi)); }

std::string Utf8ToAnsi(std::string_view utf8) {
  std::string ansi;
  if (utf8.empty()) return ansi;
  const int length = static_cast<int>(utf8.size());
  std::wstring wide(
      static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0)),
      L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), static_cast<int>(wide.size()));
  for (std::size_t i = 0; i < wide.size();) {
    const bool pair =
        IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
    const int units = pair ? 2 : 1;
    char bytes[4];
    BOOL lacking = FALSE;
    const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide[i], units, bytes,
                                            sizeof bytes, nullptr, &lacking);
    if (written > 0 && !lacking) {
      ansi.append(bytes, static_cast<std::size_t>(written));
    } else {
      const unsigned long code =
          pair ? 0x10000 + ((wide[i] - 0xD800UL) << 10) + (wide[i + 1] - 0xDC00UL) : wide[i];
      char hex[8];
      ansi += "&#x";
      ansi.append(hex, std::to_chars(hex, hex + sizeof hex, code, 16).ptr);
      ansi += ';';
    }
    i += static_cast<std::size_t>(units);
  }
  return ansi;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t max_bytes) {
  const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<std::uint64_t>(size.QuadPart) > max_bytes)
    return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size()))
    return std::nullopt;
  return bytes;
}

}  // namespace trellan
