#pragma once
// The upload itself, as the FTP commands it sends: log in (over TLS unless
// the learner chose otherwise), go to the folder (made as needed), and send
// each file whole: to a temporary name, then renamed over the old one, so
// that a visitor never sees half a page and a failed file leaves nothing
// behind. A lost connection is restored once. The connections are the
// system's (FtpLink); this decides every step and every cause.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "upload/ftp_reply.h"
#include "upload/passive_reply.h"
#include "upload/site_selection.h"
#include "upload/upload_settings.h"

namespace trellan::upload {

// What a connection step gave.
enum class LinkStatus {
  Ok,
  NotFound,   // the host name is unknown
  Refused,    // nothing listens on that port
  TimedOut,   // no answer in time
  Lost,       // the connection broke or the server closed it
  TlsFailed,  // the TLS handshake or its data failed
  Untrusted,  // Windows does not trust the certificate, nor does the learner
  Cancelled,  // the learner pressed "Abbrechen"
};

// A server's certificate as the question shows it (ANSI texts).
struct CertificateInfo {
  std::string subject;
  std::string issuer;
  std::string valid_from;  // TT.MM.JJJJ
  std::string valid_to;
  std::string fingerprint;  // SHA-256, upper-case hex pairs joined by ':'
  // A different certificate was trusted for this server before.
  bool replaces_trusted = false;
};

// The connections of one upload: a control connection and, one at a time,
// a data connection. Every wait ends when the learner cancels (Cancelled)
// until BeginCleanup().
class FtpLink {
 public:
  virtual ~FtpLink() = default;
  virtual LinkStatus Connect(const std::string& host, std::uint16_t port) = 0;
  // TLS on the control connection, the certificate checked for the host;
  // a certificate Windows does not trust passes when its fingerprint is
  // `trusted_fingerprint`, else Untrusted with `certificate` filled.
  virtual LinkStatus StartTls(const std::string& trusted_fingerprint,
                              CertificateInfo& certificate) = 0;
  virtual LinkStatus Send(std::string_view bytes) = 0;
  // Appends what arrives next on the control connection.
  virtual LinkStatus Receive(std::string& bytes) = 0;
  // The control connection's peer.
  virtual Ipv4 ServerAddress() const = 0;
  virtual LinkStatus OpenData(const DataAddress& where) = 0;
  // TLS on the data connection with the control connection's credentials
  // and server name, so that the session can be resumed.
  virtual LinkStatus StartDataTls() = 0;
  virtual LinkStatus SendData(std::string_view bytes) = 0;
  // Ends the data connection in order: the server knows the file is whole.
  virtual LinkStatus FinishData() = 0;
  // Drops the data connection at once.
  virtual void DropData() = 0;
  virtual void Close() = 0;
  // From now on waits are short (a second in all) and no longer cancelled:
  // a cancelled upload still removes its temporary file.
  virtual void BeginCleanup() = 0;
};

// The site folder's files as the upload reads them.
class UploadSource {
 public:
  virtual ~UploadSource() = default;
  // Up to `length` bytes from `offset`; nothing when the file cannot be read.
  virtual std::optional<std::string> Read(const std::string& path, std::uint64_t offset,
                                          std::size_t length) = 0;
};

// What the progress window shows, told as it happens (from the worker).
class UploadProgress {
 public:
  virtual ~UploadProgress() = default;
  virtual void FileStarted(std::size_t index, const std::string& path) = 0;
  virtual void BytesSent(std::uint64_t bytes) = 0;
  virtual bool Cancelled() const = 0;
};

// Why a file or the whole upload failed.
enum class Cause {
  None,
  ServerNotFound,
  ConnectionRefused,
  TimedOut,
  LoginRefused,
  NoSpace,
  WriteFailed,  // the server could not store it (451): often a full disk
  NoPermission,
  TlsFailed,
  ConnectionLost,
  LocalReadFailed,
  ServerError,  // any other refusal; the server's own words are kept
  Cancelled,
};

struct FailedFile {
  std::string path;
  Cause cause = Cause::None;
  std::string server_text;  // for ServerError
  bool operator==(const FailedFile&) const = default;
};

// How the upload ended before its files, if it did.
enum class Stop {
  None,               // every file was tried
  Failed,             // `cause` ended it; the files not tried are `not_sent`
  NeedsTrust,         // ask about `certificate`, then start again
  NeedsPlainConsent,  // the server offers no TLS: ask, then start again
  Cancelled,
};

struct UploadOutcome {
  Stop stop = Stop::None;
  Cause cause = Cause::None;
  std::string server_text;
  CertificateInfo certificate;
  std::vector<LocalFile> sent;  // each whole under its own name
  std::vector<FailedFile> failed;
  std::size_t not_sent = 0;  // not tried after a stop
};

struct UploadJob {
  UploadTarget target;
  bool allow_plain = false;  // the learner agreed to upload without TLS
  std::string trusted_fingerprint;
};

// Sends `files` as `job` says, into `outcome` (empty before). Blocks the
// calling thread (the worker) until it has ended.
void RunUpload(const UploadJob& job, const std::vector<LocalFile>& files, FtpLink& link,
               UploadSource& source, UploadProgress& progress, UploadOutcome& outcome);

// The temporary name under which `path` goes up: in its own folder, hidden
// from listings by its leading dot.
std::string TemporaryNameOf(std::string_view path);

}  // namespace trellan::upload
