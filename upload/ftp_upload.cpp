#include "upload/ftp_upload.h"

#include <set>
#include <utility>

#include "upload/sha256.h"

namespace trellan::upload {

namespace {

// A file goes up in pieces of this size: small enough for a progress bar
// that moves and a cancel that is heard at once.
constexpr std::size_t kChunkBytes = 64 * 1024;

Cause CauseOf(LinkStatus status) {
  switch (status) {
    case LinkStatus::Ok: return Cause::None;
    case LinkStatus::NotFound: return Cause::ServerNotFound;
    case LinkStatus::Refused: return Cause::ConnectionRefused;
    case LinkStatus::TimedOut: return Cause::TimedOut;
    case LinkStatus::TlsFailed:
    case LinkStatus::Untrusted: return Cause::TlsFailed;
    case LinkStatus::Cancelled: return Cause::Cancelled;
    case LinkStatus::Lost: break;
  }
  return Cause::ConnectionLost;
}

// A refusal's cause by its code (RFC 959, RFC 4217).
Cause CauseOfCode(int code) {
  switch (code) {
    case 421: return Cause::ConnectionLost;
    case 452:
    case 552: return Cause::NoSpace;
    case 451: return Cause::WriteFailed;
    case 450:
    case 532:
    case 550:
    case 553: return Cause::NoPermission;
    case 522:
    case 534: return Cause::TlsFailed;
    default: return Cause::ServerError;
  }
}

// Causes after which no further file can go up on this connection.
bool EndsSession(Cause cause) {
  switch (cause) {
    case Cause::ServerNotFound:
    case Cause::ConnectionRefused:
    case Cause::TimedOut:
    case Cause::LoginRefused:
    case Cause::TlsFailed:
    case Cause::ConnectionLost: return true;
    default: return false;
  }
}

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

struct Answer {
  LinkStatus status = LinkStatus::Ok;
  FtpReply reply;
  int code() const { return status == LinkStatus::Ok ? reply.code : 0; }
};

// A step's result: its cause and, for a refusal, the server's words.
struct Failure {
  Cause cause = Cause::None;
  std::string server_text;
  explicit operator bool() const { return cause != Cause::None; }
};

Failure FailureOf(const Answer& answer) {
  if (answer.status != LinkStatus::Ok) return {CauseOf(answer.status), {}};
  const Cause cause = CauseOfCode(answer.reply.code);
  return {cause, std::to_string(answer.reply.code) + ' ' + answer.reply.text};
}

class Session {
 public:
  Session(const UploadJob& job, FtpLink& link, UploadSource& source, UploadProgress& progress)
      : job_(job), link_(link), source_(source), progress_(progress) {}

  UploadOutcome Run();

 private:
  Answer ReadReply();
  Answer Command(const std::string& line);
  Failure Open();
  Failure LogIn();
  Failure EnterFolder();
  Failure MakeFolders(const std::string& path);
  Failure OpenDataConnection();
  Failure SendBytes(const LocalFile& file, const std::string& temporary, LocalFile& sent);
  Failure Rename(const std::string& from, const std::string& to);
  Failure SendFile(const LocalFile& file);
  void RemoveTemporary(const std::string& temporary);
  void StopAt(std::size_t index, Stop stop, Failure failure = {});

  const UploadJob& job_;
  FtpLink& link_;
  UploadSource& source_;
  UploadProgress& progress_;
  UploadOutcome outcome_;
  FtpReplyReader reader_;
  bool connected_ = false;
  bool tls_ = false;
  bool epsv_ = true;
  std::set<std::string> folders_made_;
};

Answer Session::ReadReply() {
  Answer answer;
  while (true) {
    if (auto reply = reader_.Next()) {
      answer.reply = std::move(*reply);
      return answer;
    }
    if (reader_.broken()) {
      answer.status = LinkStatus::Lost;  // no FTP server, or a broken one
      return answer;
    }
    std::string bytes;
    answer.status = link_.Receive(bytes);
    if (answer.status != LinkStatus::Ok) return answer;
    reader_.Feed(bytes);
  }
}

Answer Session::Command(const std::string& line) {
  // A line break in a name or password would start another command.
  if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
    return {LinkStatus::Ok, {501, "Zeilenumbruch im Befehl"}};
  const LinkStatus sent = link_.Send(line + "\r\n");
  if (sent != LinkStatus::Ok) return {sent, {}};
  return ReadReply();
}

Failure Session::LogIn() {
  Answer answer = Command("USER " + job_.target.user);
  if (answer.code() == 331) answer = Command("PASS " + job_.target.password);
  if (answer.code() == 230 || answer.code() == 202) return {};
  if (answer.code() == 530) return {Cause::LoginRefused, {}};
  return FailureOf(answer);
}

Failure Session::EnterFolder() {
  std::string_view folder = job_.target.folder;
  if (folder.starts_with('/')) {
    if (const Answer root = Command("CWD /"); root.code() != 250) return FailureOf(root);
    folder.remove_prefix(1);
  }
  while (!folder.empty()) {
    const std::size_t slash = folder.find('/');
    const std::string name(folder.substr(0, slash));
    folder.remove_prefix(slash == std::string_view::npos ? folder.size() : slash + 1);
    if (name.empty() || name == ".") continue;
    Answer answer = Command("CWD " + name);
    if (answer.status == LinkStatus::Ok && answer.code() != 250) {
      answer = Command("MKD " + name);
      if (answer.status == LinkStatus::Ok) answer = Command("CWD " + name);
    }
    if (answer.code() != 250) return FailureOf(answer);
  }
  return {};
}

Failure Session::Open() {
  reader_ = FtpReplyReader();
  if (const LinkStatus status = link_.Connect(job_.target.host, job_.target.port);
      status != LinkStatus::Ok)
    return {CauseOf(status), {}};
  connected_ = true;
  Answer greeting = ReadReply();
  while (greeting.code() == 120) greeting = ReadReply();  // "ready in a moment"
  if (greeting.code() != 220) return FailureOf(greeting);

  tls_ = false;
  if (job_.target.tls) {
    const Answer auth = Command("AUTH TLS");
    if (auth.code() == 234) {
      const LinkStatus status = link_.StartTls(job_.trusted_fingerprint);
      if (status == LinkStatus::Untrusted) {
        outcome_.certificate = link_.Certificate();
        outcome_.stop = Stop::NeedsTrust;
        return {Cause::TlsFailed, {}};
      }
      if (status != LinkStatus::Ok) return {CauseOf(status), {}};
      tls_ = true;
    } else if (auth.status != LinkStatus::Ok) {
      return FailureOf(auth);
    } else if (!job_.allow_plain) {
      // Nothing, the user name included, goes in clear unasked.
      outcome_.stop = Stop::NeedsPlainConsent;
      return {Cause::TlsFailed, {}};
    }
  }
  if (const Failure failure = LogIn()) return failure;
  if (tls_) {
    for (const char* command : {"PBSZ 0", "PROT P"})
      if (const Answer answer = Command(command); answer.code() != 200) {
        Failure failure = FailureOf(answer);
        if (failure.cause == Cause::ServerError) failure.cause = Cause::TlsFailed;
        return failure;
      }
  }
  if (const Answer type = Command("TYPE I"); type.code() != 200) return FailureOf(type);
  bool ascii_names = true;
  for (const LocalFile& file : job_.files) ascii_names = ascii_names && IsAscii(file.path);
  if (!ascii_names || !IsAscii(job_.target.folder)) {
    // Names go in UTF-8; some servers take them so only when told.
    if (const Answer utf8 = Command("OPTS UTF8 ON"); utf8.status != LinkStatus::Ok)
      return FailureOf(utf8);
  }
  return EnterFolder();
}

Failure Session::MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/'); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (folders_made_.count(folder)) continue;
    // A folder that is there already gives an error, which is fine.
    if (const Answer made = Command("MKD " + folder); made.status != LinkStatus::Ok)
      return FailureOf(made);
    folders_made_.insert(folder);
  }
  return {};
}

Failure Session::OpenDataConnection() {
  DataAddress where;
  bool found = false;
  if (epsv_) {
    const Answer answer = Command("EPSV");
    if (answer.status != LinkStatus::Ok) return FailureOf(answer);
    if (answer.code() == 229) {
      if (const auto port = ParseEpsvReply(answer.reply.text)) {
        where = {link_.ServerAddress(), *port};
        found = true;
      }
    }
    if (!found) epsv_ = false;  // not offered: PASV from now on
  }
  if (!found) {
    const Answer answer = Command("PASV");
    if (answer.code() != 227) return FailureOf(answer);
    const auto named = ParsePasvReply(answer.reply.text);
    if (!named) return {Cause::ServerError, "227 " + answer.reply.text};
    where = PassiveTarget(*named, link_.ServerAddress());
  }
  if (const LinkStatus status = link_.OpenData(where); status != LinkStatus::Ok)
    return {status == LinkStatus::Cancelled ? Cause::Cancelled : Cause::ConnectionLost, {}};
  return {};
}

// Sends the file's bytes under `temporary`; `sent` gets what was sent.
Failure Session::SendBytes(const LocalFile& file, const std::string& temporary,
                           LocalFile& sent) {
  if (const Failure failure = OpenDataConnection()) return failure;
  const Answer store = Command("STOR " + temporary);
  if (store.code() != 150 && store.code() != 125) {
    link_.DropData();
    return FailureOf(store);
  }
  LinkStatus status = tls_ ? link_.StartDataTls() : LinkStatus::Ok;
  Sha256 hash;
  std::uint64_t offset = 0;
  bool read_failed = false;
  progress_.BytesSent(0);
  // To the file's end as it is now, should it have changed since it was
  // looked at: the record then holds what was really sent.
  while (status == LinkStatus::Ok) {
    const auto chunk = source_.Read(file.path, offset, kChunkBytes);
    if (!chunk) read_failed = true;
    if (!chunk || chunk->empty()) break;
    status = link_.SendData(*chunk);
    if (status != LinkStatus::Ok) break;
    hash.Add(*chunk);
    offset += chunk->size();
    progress_.BytesSent(offset);
  }
  if (status == LinkStatus::Ok && !read_failed) status = link_.FinishData();
  if (status != LinkStatus::Ok || read_failed) {
    if (status == LinkStatus::Cancelled) link_.BeginCleanup();
    link_.DropData();
    // The server says why it stopped taking the bytes (a full disk, say).
    const Answer answer = ReadReply();
    if (status == LinkStatus::Cancelled) return {Cause::Cancelled, {}};
    if (read_failed && answer.status == LinkStatus::Ok) return {Cause::LocalReadFailed, {}};
    if (answer.status == LinkStatus::Ok && answer.code() >= 400) return FailureOf(answer);
    return {status == LinkStatus::TlsFailed ? Cause::TlsFailed : CauseOf(answer.status), {}};
  }
  const Answer done = ReadReply();
  if (done.code() != 226 && done.code() != 250) return FailureOf(done);
  sent.path = file.path;
  sent.state = {offset, HexDigest(hash.Finish())};
  return {};
}

Failure Session::Rename(const std::string& from, const std::string& to) {
  const Answer source = Command("RNFR " + from);
  if (source.code() != 350) return FailureOf(source);
  const Answer target = Command("RNTO " + to);
  if (target.code() == 250) return {};
  if (target.status != LinkStatus::Ok) return FailureOf(target);
  // Some servers never rename over a file: the old one goes first.
  if (const Answer removed = Command("DELE " + to); removed.code() != 250)
    return removed.status == LinkStatus::Ok ? FailureOf(target) : FailureOf(removed);
  const Answer again = Command("RNFR " + from);
  if (again.code() != 350) return FailureOf(again);
  const Answer renamed = Command("RNTO " + to);
  return renamed.code() == 250 ? Failure{} : FailureOf(renamed);
}

void Session::RemoveTemporary(const std::string& temporary) {
  if (link_.Send("DELE " + temporary + "\r\n") != LinkStatus::Ok) return;
  // After a cancel the transfer's own replies may still come first.
  for (Answer answer = ReadReply(); answer.status == LinkStatus::Ok; answer = ReadReply()) {
    const int code = answer.reply.code;
    if (code >= 200 && code != 226 && code != 425 && code != 426 && code != 451 && code != 452 &&
        code != 552)
      return;
  }
}

Failure Session::SendFile(const LocalFile& file) {
  if (const Failure failure = MakeFolders(file.path)) return failure;
  const std::string temporary = TemporaryNameOf(file.path);
  LocalFile sent;
  Failure failure = SendBytes(file, temporary, sent);
  if (!failure) failure = Rename(temporary, file.path);
  if (!failure) {
    outcome_.sent.push_back(std::move(sent));
    return {};
  }
  if (failure.cause == Cause::Cancelled) link_.BeginCleanup();
  // Over a connection that still works, nothing half-sent stays.
  if (failure.cause != Cause::ConnectionLost && failure.cause != Cause::TimedOut)
    RemoveTemporary(temporary);
  return failure;
}

void Session::StopAt(std::size_t index, Stop stop, Failure failure) {
  outcome_.stop = stop;
  outcome_.cause = failure.cause;
  outcome_.server_text = std::move(failure.server_text);
  outcome_.not_sent = job_.files.size() - index;
}

UploadOutcome Session::Run() {
  for (std::size_t index = 0; index < job_.files.size(); ++index) {
    const LocalFile& file = job_.files[index];
    progress_.FileStarted(index, file.path);
    for (int attempt = 0;; ++attempt) {
      Failure failure;
      if (progress_.Cancelled()) failure.cause = Cause::Cancelled;
      if (!failure && !connected_) {
        failure = Open();
        if (outcome_.stop != Stop::None) {  // a question comes first
          link_.Close();
          outcome_.not_sent = job_.files.size() - index;
          return outcome_;
        }
      }
      if (!failure) failure = SendFile(file);
      if (!failure) break;
      if (failure.cause == Cause::Cancelled) {
        StopAt(index, Stop::Cancelled, failure);
        link_.Close();
        return outcome_;
      }
      if (EndsSession(failure.cause)) {
        link_.Close();
        connected_ = false;
        // A lost connection is restored once, and the file sent again.
        if (failure.cause == Cause::ConnectionLost && attempt == 0) continue;
        StopAt(index, Stop::Failed, failure);
        return outcome_;
      }
      outcome_.failed.push_back({file.path, failure.cause, failure.server_text});
      break;
    }
  }
  if (connected_) {
    Command("QUIT");
    link_.Close();
  }
  return outcome_;
}

}  // namespace

std::string TemporaryNameOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t name = slash == std::string_view::npos ? 0 : slash + 1;
  return std::string(path.substr(0, name)) + '.' + std::string(path.substr(name)) + ".tmp";
}

UploadOutcome RunUpload(const UploadJob& job, FtpLink& link, UploadSource& source,
                        UploadProgress& progress) {
  return Session(job, link, source, progress).Run();
}

}  // namespace trellan::upload
