#include "upload/upload_settings.h"
#include "utils/ascii.h"

namespace trellan::upload {

namespace {

constexpr const char* kHostName = "FtpServer";
constexpr const char* kPortName = "FtpPort";
constexpr const char* kUserName = "FtpBenutzer";
constexpr const char* kFolderName = "FtpOrdner";
// Stored when the box is unchecked, so that nothing stored means TLS.
constexpr const char* kPlainName = "FtpOhneTLS";
constexpr const char* kRememberName = "FtpPasswortMerken";

// The sample server in the generated FTP command file.
constexpr std::string_view kSampleHost = "ftp.DEIN-SERVER.webhoster.example";
constexpr std::string_view kSampleUser = "benutzername";
constexpr std::string_view kSamplePassword = "DeinPasswort";

constexpr std::size_t kMaxPipeLines = 1000;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The argument of `command` ("OPEN", "CD") at the start of `line`, any case.
std::optional<std::string_view> ArgumentOf(std::string_view line, std::string_view command) {
  if (line.size() <= command.size() || !IsBlank(line[command.size()])) return std::nullopt;
  for (std::size_t i = 0; i < command.size(); ++i)
    if (AsciiUpper(line[i]) != command[i]) return std::nullopt;
  return Trimmed(line.substr(command.size()));
}

bool IsHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_';
}

std::optional<std::uint32_t> PortNumber(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  std::uint32_t port = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    port = port * 10 + static_cast<std::uint32_t>(c - '0');
  }
  if (port == 0 || port > 65535) return std::nullopt;
  return port;
}

}  // namespace

UploadForm LoadUploadForm(const SettingsStore& store) {
  UploadForm form;
  form.host = store.ReadText(kHostName, kHostCapacity - 1);
  const std::uint32_t port = store.ReadNumber(kPortName);
  if (port > 0 && port <= 65535) form.port = std::to_string(port);
  form.user = store.ReadText(kUserName, kUserCapacity - 1);
  if (!form.host.empty()) form.folder = store.ReadText(kFolderName, kFolderCapacity - 1);
  form.tls = store.ReadNumber(kPlainName) != 1;
  form.remember_password = store.ReadNumber(kRememberName) == 1;
  return form;
}

void SaveUploadForm(SettingsStore& store, const UploadForm& form) {
  store.WriteText(kHostName, form.host);
  store.WriteNumber(kPortName, PortNumber(form.port).value_or(0));
  store.WriteText(kUserName, form.user);
  store.WriteText(kFolderName, form.folder);
  store.WriteNumber(kPlainName, form.tls ? 0 : 1);
  store.WriteNumber(kRememberName, form.remember_password ? 1 : 0);
}

std::optional<UploadForm> FormFromFtpPipe(std::string_view text) {
  auto next_line = [&text] {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
  };
  const auto open = ArgumentOf(next_line(), "OPEN");
  if (!open || open->empty()) return std::nullopt;
  const std::string_view user = next_line();
  const std::string_view password = next_line();
  UploadForm form;
  const std::size_t blank = open->find_first_of(" \t");
  form.host = open->substr(0, blank);
  if (form.host == kSampleHost) return std::nullopt;
  if (blank != std::string_view::npos) form.port = Trimmed(open->substr(blank));
  if (user != kSampleUser) form.user = user;
  if (password != kSamplePassword) form.password = password;
  for (std::size_t lines = 0; !text.empty() && lines < kMaxPipeLines; ++lines)
    if (const auto folder = ArgumentOf(next_line(), "CD")) {
      form.folder = *folder;
      break;
    }
  if (form.host.size() >= kHostCapacity || form.port.size() >= kPortCapacity ||
      form.user.size() >= kUserCapacity || form.password.size() >= kPasswordCapacity ||
      form.folder.size() >= kFolderCapacity)
    return std::nullopt;
  return form;
}

std::string TrustedCertificateName(std::string_view host, std::uint16_t port) {
  std::string name = "FtpZertifikat ";
  name += host;
  name += ':';
  name += std::to_string(port);
  return name;
}

std::string ToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

std::optional<std::string> FromHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = AsciiHexValue(hex[i]), low = AsciiHexValue(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

std::string UploadTarget::RecordKey() const {
  std::string key = user;
  key += '@';
  key += host;
  key += ':';
  key += std::to_string(port);
  key += '/';
  key += folder;
  return key;
}

std::string HostOf(const UploadForm& form) { return std::string(Trimmed(form.host)); }

std::uint16_t PortOf(const UploadForm& form) {
  const std::string_view port = Trimmed(form.port);
  return port.empty() ? 21 : static_cast<std::uint16_t>(PortNumber(port).value_or(0));
}

std::string FolderOf(const UploadForm& form) {
  std::string folder(Trimmed(form.folder));
  for (char& c : folder)
    if (c == '\\') c = '/';
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

FormProblem CheckUploadForm(const UploadForm& form) {
  const std::string host = HostOf(form);
  if (host.empty()) return FormProblem::NoHost;
  for (const char c : host)
    if (!IsHostCharacter(c)) return FormProblem::BadHost;
  if (PortOf(form) == 0) return FormProblem::BadPort;
  if (Trimmed(form.user).empty()) return FormProblem::NoUser;
  return FormProblem::None;
}

}  // namespace trellan::upload
