#include "upload/ftp_upload.h"

#include <algorithm>
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

// A command's answer: how the connection fared and the reply's code (0
// without a reply); the reply's text stays in the session.
struct Answer {
  LinkStatus status = LinkStatus::Ok;
  int code = 0;
};

class Session {
 public:
  Session(const UploadJob& job, const std::vector<LocalFile>& files, FtpLink& link,
          UploadSource& source, UploadProgress& progress, UploadOutcome& outcome)
      : job_(job),
        files_(files),
        link_(link),
        source_(source),
        progress_(progress),
        outcome_(outcome) {}

  void Run();

 private:
  Answer ReadReply();
  // With `await` false only sent: a line that went gives code 0, and the
  // reply is read later.
  Answer Command(std::string_view verb, std::string_view argument = {}, bool await = true);
  // The cause of an answer that was not the one hoped for; a refusal's
  // words are kept for the notice.
  Cause Refused(const Answer& answer);
  Cause Open();
  Cause LogIn();
  Cause EnterFolder();
  Cause MakeFolders(const std::string& path);
  Cause OpenDataConnection();
  Cause SendBytes(const LocalFile& file, const std::string& temporary);
  // Renames `from` to `to`; with `ask_port`, the next file's EPSV goes in
  // the same breath.
  Cause Rename(const std::string& from, const std::string& to, bool ask_port);
  Cause SendFile(const LocalFile& file, bool more_follow);
  void RemoveTemporary(const std::string& temporary);
  void StopAt(std::size_t index, Stop stop, Cause cause);

  const UploadJob& job_;
  const std::vector<LocalFile>& files_;
  FtpLink& link_;
  UploadSource& source_;
  UploadProgress& progress_;
  UploadOutcome& outcome_;
  FtpReplyReader reader_;
  FtpReply reply_;           // the last reply
  std::string server_text_;  // of the last refusal
  bool connected_ = false;
  bool tls_ = false;
  bool epsv_ = true;
  // The port of an EPSV sent ahead with the last file's rename.
  std::optional<std::uint16_t> next_port_;
  std::vector<std::string> folders_made_;
};

Answer Session::ReadReply() {
  Answer answer;
  while (true) {
    if (auto reply = reader_.Next()) {
      reply_ = std::move(*reply);
      answer.code = reply_.code;
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

Answer Session::Command(std::string_view verb, std::string_view argument, bool await) {
  std::string line(verb);
  if (!argument.empty()) {
    // A line break in a name or password would start another command.
    if (argument.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
      reply_ = {501, {}};  // as a server would refuse it
      return {LinkStatus::Ok, 501};
    }
    line += ' ';
    line += argument;
  }
  line += "\r\n";
  const LinkStatus sent = link_.Send(line);
  if (sent != LinkStatus::Ok || !await) return {sent, 0};
  return ReadReply();
}

Cause Session::Refused(const Answer& answer) {
  if (answer.status != LinkStatus::Ok) return CauseOf(answer.status);
  const int code = reply_.code;  // three digits, as the reply reader made sure
  const char digits[] = {static_cast<char>('0' + code / 100),
                         static_cast<char>('0' + code / 10 % 10),
                         static_cast<char>('0' + code % 10), ' '};
  server_text_.assign(digits, sizeof digits);
  server_text_ += reply_.text;
  return CauseOfCode(code);
}

Cause Session::LogIn() {
  Answer answer = Command("USER", job_.target.user);
  if (answer.code == 331) answer = Command("PASS", job_.target.password);
  if (answer.code == 230 || answer.code == 202) return Cause::None;
  if (answer.code == 530) return Cause::LoginRefused;
  return Refused(answer);
}

Cause Session::EnterFolder() {
  std::string_view folder = job_.target.folder;
  if (folder.starts_with('/')) {
    if (const Answer root = Command("CWD", "/"); root.code != 250) return Refused(root);
    folder.remove_prefix(1);
  }
  while (!folder.empty()) {
    const std::size_t slash = folder.find('/');
    const std::string_view name = folder.substr(0, slash);
    folder.remove_prefix(slash == std::string_view::npos ? folder.size() : slash + 1);
    if (name.empty() || name == ".") continue;
    Answer answer = Command("CWD", name);
    if (answer.status == LinkStatus::Ok && answer.code != 250) {
      answer = Command("MKD", name);
      if (answer.status == LinkStatus::Ok) answer = Command("CWD", name);
    }
    if (answer.code != 250) return Refused(answer);
  }
  return Cause::None;
}

Cause Session::Open() {
  reader_ = FtpReplyReader();
  next_port_.reset();
  if (const LinkStatus status = link_.Connect(job_.target.host, job_.target.port);
      status != LinkStatus::Ok)
    return CauseOf(status);
  connected_ = true;
  Answer greeting = ReadReply();
  while (greeting.code == 120) greeting = ReadReply();  // "ready in a moment"
  if (greeting.code != 220) return Refused(greeting);

  tls_ = false;
  if (job_.target.tls) {
    const Answer auth = Command("AUTH TLS");
    if (auth.status != LinkStatus::Ok) return Refused(auth);
    if (auth.code == 234) {
      const LinkStatus status = link_.StartTls(job_.trusted_fingerprint, outcome_.certificate);
      if (status == LinkStatus::Untrusted) outcome_.stop = Stop::NeedsTrust;
      if (status != LinkStatus::Ok) return CauseOf(status);
      tls_ = true;
    } else if (!job_.allow_plain) {
      // Nothing, the user name included, goes in clear unasked.
      outcome_.stop = Stop::NeedsPlainConsent;
      return Cause::TlsFailed;
    }
  }
  if (const Cause cause = LogIn(); cause != Cause::None) return cause;
  if (tls_) {
    for (const char* command : {"PBSZ 0", "PROT P"})
      if (const Answer answer = Command(command); answer.code != 200) {
        const Cause cause = Refused(answer);
        return cause == Cause::ServerError ? Cause::TlsFailed : cause;
      }
  }
  // Names go in UTF-8, as today's servers take them.
  if (const Answer type = Command("TYPE I"); type.code != 200) return Refused(type);
  return EnterFolder();
}

Cause Session::MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/'); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (std::find(folders_made_.begin(), folders_made_.end(), folder) != folders_made_.end())
      continue;
    // A folder that is there already gives an error, which is fine.
    if (const Answer made = Command("MKD", folder); made.status != LinkStatus::Ok)
      return Refused(made);
    folders_made_.push_back(folder);
  }
  return Cause::None;
}

Cause Session::OpenDataConnection() {
  DataAddress where;
  bool found = false;
  if (const std::optional<std::uint16_t> ahead = std::exchange(next_port_, std::nullopt)) {
    where = {link_.ServerAddress(), *ahead};
    found = true;
  } else if (epsv_) {
    const Answer answer = Command("EPSV");
    if (answer.status != LinkStatus::Ok) return Refused(answer);
    if (answer.code == 229) {
      if (const auto port = ParseEpsvReply(reply_.text)) {
        where = {link_.ServerAddress(), *port};
        found = true;
      }
    }
    if (!found) epsv_ = false;  // not offered: PASV from now on
  }
  if (!found) {
    const Answer answer = Command("PASV");
    if (answer.code != 227) return Refused(answer);
    const auto named = ParsePasvReply(reply_.text);
    if (!named) {
      server_text_ = "227 " + reply_.text;
      return Cause::ServerError;
    }
    where = PassiveTarget(*named, link_.ServerAddress());
  }
  const LinkStatus status = link_.OpenData(where);
  if (status == LinkStatus::Ok) return Cause::None;
  return status == LinkStatus::Cancelled ? Cause::Cancelled : Cause::ConnectionLost;
}

// Sends the file's bytes under `temporary`; on success the outcome holds
// what was sent.
Cause Session::SendBytes(const LocalFile& file, const std::string& temporary) {
  if (const Cause cause = OpenDataConnection(); cause != Cause::None) return cause;
  const Answer sent = Command("STOR", temporary, false);
  // The first piece is read and hashed while the server answers.
  Sha256 hash;
  std::optional<std::string> chunk = source_.Read(file.path, 0, kChunkBytes);
  if (chunk) hash.Add(*chunk);
  const Answer store = sent.status == LinkStatus::Ok && sent.code == 0 ? ReadReply() : sent;
  if (store.code != 150 && store.code != 125) {
    link_.DropData();
    return Refused(store);
  }
  LinkStatus status = tls_ ? link_.StartDataTls() : LinkStatus::Ok;
  std::uint64_t offset = 0;
  bool read_failed = false;
  progress_.BytesSent(0);
  // To the file's end as it is now, should it have changed since it was
  // looked at: the record then holds what was really sent.
  while (status == LinkStatus::Ok) {
    if (progress_.Cancelled()) {
      status = LinkStatus::Cancelled;
      break;
    }
    if (!chunk) read_failed = true;
    if (!chunk || chunk->empty()) break;
    status = link_.SendData(*chunk);
    if (status != LinkStatus::Ok) break;
    offset += chunk->size();
    progress_.BytesSent(offset);
    chunk = source_.Read(file.path, offset, kChunkBytes);
    if (chunk) hash.Add(*chunk);
  }
  if (status == LinkStatus::Ok && !read_failed) status = link_.FinishData();
  if (status != LinkStatus::Ok || read_failed) {
    if (status == LinkStatus::Cancelled) link_.BeginCleanup();
    link_.DropData();
    // No data connection came about, or it stalled: the server may wait
    // long for it, and the control connection is given up.
    if (status == LinkStatus::Refused || status == LinkStatus::TimedOut)
      return Cause::ConnectionLost;
    // The server says why it stopped taking the bytes (a full disk, say).
    const Answer answer = ReadReply();
    if (status == LinkStatus::Cancelled) return Cause::Cancelled;
    if (read_failed && answer.status == LinkStatus::Ok) return Cause::LocalReadFailed;
    if (answer.status == LinkStatus::Ok && answer.code >= 400) return Refused(answer);
    return status == LinkStatus::TlsFailed ? Cause::TlsFailed : CauseOf(answer.status);
  }
  const Answer done = ReadReply();
  if (done.code != 226 && done.code != 250) return Refused(done);
  outcome_.sent.push_back({file.path, {offset, HexDigest(hash.Finish())}});
  return Cause::None;
}

Cause Session::Rename(const std::string& from, const std::string& to, bool ask_port) {
  // RNFR, RNTO and the next file's EPSV go in one packet, and their replies
  // come back together: one wait for the three instead of three. The server
  // answers every one of them, in order, whatever the others' outcome.
  std::string batch = "RNFR " + from;
  batch += "\r\nRNTO ";
  batch += to;
  batch += ask_port ? "\r\nEPSV\r\n" : "\r\n";
  if (const LinkStatus sent = link_.Send(batch); sent != LinkStatus::Ok) return CauseOf(sent);
  const Answer source = ReadReply();
  Cause cause = source.code == 350 ? Cause::None : Refused(source);
  if (source.status != LinkStatus::Ok) return cause;
  const Answer target = ReadReply();
  if (cause == Cause::None && target.code != 250) cause = Refused(target);
  if (target.status != LinkStatus::Ok) return cause;
  if (ask_port) {
    const std::string text = reply_.text;
    const Answer port = ReadReply();
    if (port.status != LinkStatus::Ok) return CauseOf(port.status);
    if (port.code == 229) next_port_ = ParseEpsvReply(reply_.text);
    reply_.text = text;  // a refusal above is told with its own words
  }
  if (cause == Cause::None || source.code != 350) return cause;
  // Some servers never rename over a file: the old one goes first.
  if (const Answer removed = Command("DELE", to); removed.code != 250)
    return removed.status == LinkStatus::Ok ? cause : Refused(removed);
  const Answer again = Command("RNFR", from);
  if (again.code != 350) return Refused(again);
  const Answer renamed = Command("RNTO", to);
  return renamed.code == 250 ? Cause::None : Refused(renamed);
}

void Session::RemoveTemporary(const std::string& temporary) {
  // After a cancel the transfer's own replies may still come first.
  for (Answer answer = Command("DELE", temporary); answer.status == LinkStatus::Ok;
       answer = ReadReply()) {
    const int code = answer.code;
    if (code >= 200 && code != 226 && code != 425 && code != 426 && code != 451 && code != 452 &&
        code != 552)
      return;
  }
}

Cause Session::SendFile(const LocalFile& file, bool more_follow) {
  if (const Cause cause = MakeFolders(file.path); cause != Cause::None) return cause;
  const std::string temporary = TemporaryNameOf(file.path);
  const std::size_t sent = outcome_.sent.size();
  Cause cause = SendBytes(file, temporary);
  if (cause == Cause::None) cause = Rename(temporary, file.path, more_follow && epsv_);
  if (cause == Cause::None) return cause;
  outcome_.sent.resize(sent);
  if (cause == Cause::Cancelled) link_.BeginCleanup();
  // Over a connection that still works, nothing half-sent stays.
  if (cause != Cause::ConnectionLost && cause != Cause::TimedOut) {
    const std::string text = std::move(server_text_);
    RemoveTemporary(temporary);
    server_text_ = std::move(text);
  }
  return cause;
}

void Session::StopAt(std::size_t index, Stop stop, Cause cause) {
  link_.Close();
  connected_ = false;
  outcome_.stop = stop;
  outcome_.cause = cause;
  outcome_.server_text = std::move(server_text_);
  outcome_.not_sent = files_.size() - index;
}

void Session::Run() {
  for (std::size_t index = 0; index < files_.size(); ++index) {
    const LocalFile& file = files_[index];
    progress_.FileStarted(index, file.path);
    for (int attempt = 0;; ++attempt) {
      server_text_.clear();
      Cause cause = progress_.Cancelled() ? Cause::Cancelled : Cause::None;
      if (cause == Cause::None && !connected_) {
        cause = Open();
        if (outcome_.stop != Stop::None) {  // a question comes first
          StopAt(index, outcome_.stop, cause);
          return;
        }
      }
      if (cause == Cause::None) cause = SendFile(file, index + 1 < files_.size());
      if (cause == Cause::None) break;
      if (cause == Cause::Cancelled) {
        StopAt(index, Stop::Cancelled, cause);
        return;
      }
      if (EndsSession(cause)) {
        // A lost connection is restored once, and the file sent again.
        if (cause == Cause::ConnectionLost && attempt == 0) {
          link_.Close();
          connected_ = false;
          continue;
        }
        StopAt(index, Stop::Failed, cause);
        return;
      }
      outcome_.failed.push_back({file.path, cause, std::move(server_text_)});
      break;
    }
  }
  if (connected_) {
    Command("QUIT");
    link_.Close();
  }
}

}  // namespace

std::string TemporaryNameOf(std::string_view path) {
  std::string name(path);
  name.insert(name.rfind('/') + 1, 1, '.');  // npos + 1 is the start
  name += ".tmp";
  return name;
}

void RunUpload(const UploadJob& job, const std::vector<LocalFile>& files, FtpLink& link,
               UploadSource& source, UploadProgress& progress, UploadOutcome& outcome) {
  Session(job, files, link, source, progress, outcome).Run();
}

}  // namespace trellan::upload
