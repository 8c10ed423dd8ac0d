#pragma once
// The upload dialog's values: where they come from (the last upload of this
// Windows account, else the site's FTP command file), how they are stored
// (never the password in plain text: it is kept only as the data that
// Windows encrypted for the account, in hex), and the server they name.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_store.h"

namespace trellan::upload {

// The dialog's fields, in the ANSI code page as the dialog has them.
struct UploadForm {
  std::string host;
  std::string port;  // empty: 21
  std::string user;
  std::string password;
  std::string folder = "www";
  bool tls = true;
  bool remember_password = false;
  bool operator==(const UploadForm&) const = default;
};

// Field capacities, each including the terminating zero.
inline constexpr std::size_t kHostCapacity = 254;
inline constexpr std::size_t kPortCapacity = 6;
inline constexpr std::size_t kUserCapacity = 257;
inline constexpr std::size_t kPasswordCapacity = 257;
inline constexpr std::size_t kFolderCapacity = 513;

inline constexpr const char* kStoredPasswordName = "FtpPasswort";

// The last upload's values, the password left empty; nothing stored gives
// the defaults with an empty host.
UploadForm LoadUploadForm(const SettingsStore& store);
// Stores the form without its password (see kStoredPasswordName).
void SaveUploadForm(SettingsStore& store, const UploadForm& form);

// What "_ftp\ftp-pipe.txt" says once the learner has put their own access
// data into it: "OPEN host [port]", the user, the password and the first
// "CD folder". Nothing while its OPEN line still names the sample server;
// a user or password still the sample's stays empty.
std::optional<UploadForm> FormFromFtpPipe(std::string_view text);

// The trusted certificate of a server is stored under this name.
std::string TrustedCertificateName(std::string_view host, std::uint16_t port);

// Bytes as hex digits and back (nothing for anything but pairs of them).
std::string ToHex(std::string_view bytes);
std::optional<std::string> FromHex(std::string_view hex);

// The server, port and folder as the upload uses them.
struct UploadTarget {
  std::string host;  // ASCII
  std::uint16_t port = 21;
  std::string user;      // UTF-8
  std::string password;  // UTF-8
  std::string folder;    // UTF-8, '/'-separated, without a '/' at the end
  bool tls = true;
  // The record's section of this server, account and folder.
  std::string RecordKey() const;
};

enum class FormProblem { None, NoHost, BadHost, BadPort, NoUser };

// Checks the fields' host, port and user; the folder may be empty (the
// account's own folder).
FormProblem CheckUploadForm(const UploadForm& form);
// The fields as the upload uses them: without blanks at their ends, the
// port 21 when none is given.
std::string HostOf(const UploadForm& form);
std::uint16_t PortOf(const UploadForm& form);
// The folder with '/' separators, without blanks or a '/' at its ends.
std::string FolderOf(const UploadForm& form);

}  // namespace trellan::upload
