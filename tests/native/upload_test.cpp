// "Website hochladen" in the portable core: the FTP replies, the passive
// addresses, the record, the choice of files, the FTP command file, and
// the upload's steps against a small FTP server in memory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "upload/ftp_reply.h"
#include "upload/ftp_upload.h"
#include "upload/passive_reply.h"
#include "upload/sha256.h"
#include "upload/site_selection.h"
#include "upload/upload_record.h"
#include "upload/upload_settings.h"
#include "upload/upload_texts.h"

namespace trellan::upload {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Lines = std::vector<std::string>;

TEST(Upload, Sha256MatchesTheStandardsExamples) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  Sha256 pieces;  // one million "a", in pieces that straddle the blocks
  for (int i = 0; i < 10000; ++i) pieces.Add(std::string(100, 'a'));
  EXPECT_EQ(HexDigest(pieces.Finish()),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Upload, RepliesAreReadWholeFromAnyPieces) {
  const std::string long_line(5000, '2');
  struct Case {
    std::vector<std::string_view> pieces;
    std::vector<FtpReply> replies;
    bool broken;
  } const kCases[] = {
      {{"220 Willkommen\r\n"}, {{220, "Willkommen"}}, false},
      {{"22", "0 a\r", "\n331 b\n"}, {{220, "a"}, {331, "b"}}, false},
      {{"211-Features:\r\n AUTH TLS\r\n211-x\r\n", "211 End\r\n"},
       {{211, "Features:\n AUTH TLS\n211-x\nEnd"}},
       false},
      {{"230\r\n"}, {{230, ""}}, false},
      {{"220 no end yet"}, {}, false},
      {{"HTTP/1.1 400 Bad\r\n"}, {}, true},
      {{"600 no such class\r\n"}, {}, true},
      {{long_line}, {}, true},
  };
  for (const Case& c : kCases) {
    FtpReplyReader reader;
    std::vector<FtpReply> replies;
    for (const std::string_view piece : c.pieces) {
      reader.Feed(piece);
      while (auto reply = reader.Next()) replies.push_back(*reply);
    }
    EXPECT_EQ(replies, c.replies) << c.pieces.front();
    EXPECT_EQ(reader.broken(), c.broken) << c.pieces.front();
  }
}

TEST(Upload, PassiveRepliesAndThePrivateAddressRule) {
  EXPECT_EQ(ParseEpsvReply("Entering Extended Passive Mode (|||6446|)"), 6446);
  EXPECT_EQ(ParseEpsvReply("ok (!!!21!)"), 21);
  for (const char* bad : {"(|||0|)", "(|||65536|)", "(||6446|)", "(|||6446)", "(1113|)", "", "("})
    EXPECT_EQ(ParseEpsvReply(bad), std::nullopt) << bad;

  const Ipv4 server{203, 0, 113, 5};
  struct Case {
    const char* text;
    std::optional<DataAddress> named;
    DataAddress used;
  } const kCases[] = {
      {"Entering Passive Mode (203,0,113,5,4,1)", {{{203, 0, 113, 5}, 1025}}, {server, 1025}},
      {"Entering Passive Mode 192,168,1,20,200,10", {{{192, 168, 1, 20}, 51210}}, {server, 51210}},
      {"(10,0,0,1,0,21)", {{{10, 0, 0, 1}, 21}}, {server, 21}},
      {"(0,0,0,0,0,21)", {{{0, 0, 0, 0}, 21}}, {server, 21}},
      {"(198,51,100,7,0,21)", {{{198, 51, 100, 7}, 21}}, {{198, 51, 100, 7}, 21}},
      {"(172,32,0,1,0,21)", {{{172, 32, 0, 1}, 21}}, {{172, 32, 0, 1}, 21}},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ParsePasvReply(c.text), c.named) << c.text;
    EXPECT_EQ(PassiveTarget(*c.named, server), c.used) << c.text;
  }
  // The server's own private address stays (a server in the school's net).
  EXPECT_EQ(PassiveTarget({{192, 168, 1, 20}, 21}, {192, 168, 1, 20}).address,
            (Ipv4{192, 168, 1, 20}));
  for (const char* bad : {"(256,0,0,1,0,21)", "(1,2,3,4,5)", "(1,2,3,4,0,0)", "none"})
    EXPECT_EQ(ParsePasvReply(bad), std::nullopt) << bad;
}

TEST(Upload, RecordIsReadBackAndSurvivesDamage) {
  const std::string hash(64, 'a');
  UploadRecord record;
  SetState(SectionOf(record, "lern@ftp.example:21/www"), {"index.html", {1, hash}});
  SetState(SectionOf(record, "lern@ftp.example:2121/"),
           {"s02.html", {18446744073709551615u, hash}});
  SetState(SectionOf(record, "lern@ftp.example:21/www"), {"media/gr\xC3\xBCn.jpg", {0, hash}});
  SetState(SectionOf(record, "lern@ftp.example:21/www"), {"index.html", {12, hash}});
  ASSERT_EQ(record.size(), 2u);
  EXPECT_EQ(record[0].files.size(), 2u);
  const std::string text = UploadRecordText(record);
  EXPECT_EQ(ReadUploadRecord(text), record);
  EXPECT_THAT(text, HasSubstr("\r\n18446744073709551615 " + hash + " s02.html\r\n"));
  EXPECT_THAT(text, HasSubstr("\r\n[lern@ftp.example:21/www]\r\n12 " + hash + " index.html\r\n"));

  const std::string damaged = "12 " + hash + " before-any-section.html\n[s]\n" + "12 " +
                              hash.substr(1) + " short.html\n" + "x2 " + hash + " a\n" + "12 " +
                              std::string(64, 'A') + " upper.html\n" + "12 " + hash + " \n" +
                              "99999999999999999999 " + hash + " huge.html\n" + "7 " + hash +
                              " kept.html\r\n" + "7 " + hash + " cut";
  EXPECT_EQ(ReadUploadRecord(damaged),
            (UploadRecord{{"s", {{"kept.html", {7, hash}}, {"cut", {7, hash}}}}}));
  std::size_t hint = 1;
  EXPECT_EQ(FindState(record[0].files, "index.html", hint), &record[0].files[0].state);
  EXPECT_EQ(hint, 1u);
  EXPECT_EQ(FindState(record[0].files, "weg.html", hint), nullptr);
}

TEST(Upload, WhatStaysOnThePcAndWhatIsSent) {
  for (const char* stays :
       {"_ftp/ftp-pipe.txt", "_FTP/hochgeladen.txt", "_Sicherung/2026-01-01/index.html",
        "_FTP-Upload.cmd", "media/x.CMD", "_Pruefbericht.html", "_bilder.txt", "Thumbs.db",
        "media/thumbs.db", "desktop.ini", "~$text.docx", "~tr1c-2.tmp", "a.html~", ".~lock.a#",
        "x.TMP", "x.bak", ".seite.html.swp"})
    EXPECT_TRUE(StaysOnPc(stays)) << stays;
  for (const char* sent : {"index.html", ".htaccess", "media/_Pruefbericht.html",
                           "media/_ftp/x.jpg", "style.css", "sub/_Bilder.txt.html"})
    EXPECT_FALSE(StaysOnPc(sent)) << sent;

  const std::vector<LocalFile> files{
      {"index.html", {10, "a"}}, {"neu.html", {5, "b"}}, {"style.css", {7, "c"}}};
  const FileStates uploaded{
      {"weg.html", {1, "d"}}, {"style.css", {7, "old"}}, {"index.html", {10, "a"}}};
  const UploadChoice changed = ChooseFilesToSend(files, uploaded, false);
  ASSERT_EQ(changed.to_send.size(), 2u);
  EXPECT_EQ(changed.to_send[0].path, "neu.html");
  EXPECT_EQ(changed.to_send[1].path, "style.css");
  EXPECT_EQ(changed.unchanged, 1u);
  EXPECT_EQ(changed.bytes_to_send, 12u);
  const UploadChoice all = ChooseFilesToSend(files, uploaded, true);
  EXPECT_EQ(all.to_send.size(), 3u);
  EXPECT_EQ(all.unchanged, 0u);
}

TEST(Upload, FormComesFromTheFtpCommandFileOnceItIsFilledIn) {
  const std::string sample =
      "OPEN ftp.DEIN-SERVER.webhoster.example\r\nbenutzername\r\nDeinPasswort\r\n\r\nASCII\r\n"
      "PROMPT\r\nCD www\r\nMPUT *.htm\r\n";
  EXPECT_EQ(FormFromFtpPipe(sample), std::nullopt);
  const auto form = FormFromFtpPipe(
      "open  ftp.schule.example 2121 \r\nlea\r\nGeh\xE4im 1\r\n\r\nASCII\r\ncd  htdocs/lea\r\n"
      "CD media\r\n");
  ASSERT_TRUE(form);
  EXPECT_EQ(form->host, "ftp.schule.example");
  EXPECT_EQ(form->port, "2121");
  EXPECT_EQ(form->user, "lea");
  EXPECT_EQ(form->password, "Geh\xE4im 1");
  EXPECT_EQ(form->folder, "htdocs/lea");
  const auto placeholders = FormFromFtpPipe("OPEN ftp.x.example\nbenutzername\nDeinPasswort\n");
  ASSERT_TRUE(placeholders);
  EXPECT_EQ(placeholders->user, "");
  EXPECT_EQ(placeholders->password, "");
  EXPECT_EQ(placeholders->folder, "www");
  EXPECT_EQ(FormFromFtpPipe("OPEN\r\nx\r\ny\r\n"), std::nullopt);

  UploadForm typed;
  typed.host = " ftp.schule.example ";
  typed.user = "lea";
  EXPECT_EQ(CheckUploadForm(typed), FormProblem::None);
  EXPECT_EQ(HostOf(typed), "ftp.schule.example");
  EXPECT_EQ(PortOf(typed), 21);
  typed.port = " 990";
  EXPECT_EQ(PortOf(typed), 990);
  typed.folder = " \\htdocs\\lea\\ ";
  EXPECT_EQ(FolderOf(typed), "/htdocs/lea");
  for (const auto& [host, port, problem] :
       std::vector<std::tuple<const char*, const char*, FormProblem>>{
           {"", "", FormProblem::NoHost},
           {"ftp schule", "", FormProblem::BadHost},
           {"h\xE4st", "", FormProblem::BadHost},
           {"h", "0", FormProblem::BadPort},
           {"h", "65536", FormProblem::BadPort},
           {"ftp://h", "", FormProblem::BadHost},
           {"h:21", "", FormProblem::BadHost}}) {
    UploadForm bad;
    bad.host = host;
    bad.port = port;
    bad.user = "u";
    EXPECT_EQ(CheckUploadForm(bad), problem) << host << " " << port;
  }
  EXPECT_EQ(FromHex(ToHex(std::string("\x00\xFF\x10", 3))), std::string("\x00\xFF\x10", 3));
  EXPECT_EQ(FromHex("abc"), std::nullopt);
  EXPECT_EQ(FromHex("zz"), std::nullopt);
}

// An FTP server in memory behind the link: it answers the commands as the
// common servers do, keeps the files it got, and can be told to distrust
// its certificate, to offer no TLS or EPSV, to refuse a rename over a file,
// to run out of space, to lose the connection or to see a cancel during a
// transfer.
class MemoryServer final : public FtpLink, public UploadSource, public UploadProgress {
 public:
  std::map<std::string, std::string> local;  // the site's files
  std::map<std::string, std::string> files;  // the server's, below the folder
  Lines commands;                            // as received, the password masked
  bool offers_tls = true, trusted = true, epsv = true, renames_over_files = true;
  std::size_t space = 1 << 20;  // the most bytes a transfer can store
  int lose_in_transfer = 0;     // 1-based; 0: never
  int cancel_in_transfer = 0;
  bool cancelled = false;
  int connects = 0;

  LinkStatus Connect(const std::string&, std::uint16_t) override {
    ++connects;
    replies_ = "220 Willkommen\r\n";
    return LinkStatus::Ok;
  }
  LinkStatus StartTls(const std::string& fingerprint, CertificateInfo& certificate) override {
    if (trusted || fingerprint == "AB:CD") return LinkStatus::Ok;
    certificate.fingerprint = "AB:CD";
    return LinkStatus::Untrusted;
  }
  LinkStatus Send(std::string_view bytes) override {
    if (lost_) return LinkStatus::Lost;
    for (std::size_t end; (end = bytes.find("\r\n")) != std::string_view::npos;
         bytes.remove_prefix(end + 2)) {
      const std::string line(bytes.substr(0, end));
      commands.push_back(line.starts_with("PASS ") ? "PASS ****" : line);
      replies_ += Answer(line);
    }
    return LinkStatus::Ok;
  }
  LinkStatus Receive(std::string& bytes) override {
    if (cancelled && !cleanup_) return LinkStatus::Cancelled;
    if (lost_ || replies_.empty()) return LinkStatus::Lost;
    bytes += replies_;
    replies_.clear();
    return LinkStatus::Ok;
  }
  Ipv4 ServerAddress() const override { return {127, 0, 0, 1}; }
  LinkStatus OpenData(const DataAddress& where) override {
    return where == DataAddress{{127, 0, 0, 1}, 4000} ? LinkStatus::Ok : LinkStatus::Refused;
  }
  LinkStatus StartDataTls() override { return LinkStatus::Ok; }
  LinkStatus SendData(std::string_view bytes) override {
    if (transfers_ == cancel_in_transfer) {
      cancelled = true;
      return LinkStatus::Cancelled;
    }
    if (transfers_ == lose_in_transfer) {
      lose_in_transfer = 0;
      lost_ = true;
      EndTransfer("");  // what came in stays
      return LinkStatus::Lost;
    }
    if (receiving_.size() + bytes.size() > space) {
      EndTransfer("451 Failure writing to local file.\r\n");
      return LinkStatus::Lost;
    }
    receiving_ += bytes;
    return LinkStatus::Ok;
  }
  LinkStatus FinishData() override {
    EndTransfer("226 Transfer complete\r\n");
    return LinkStatus::Ok;
  }
  // The server sees the end of the data as the end of the file.
  void DropData() override { EndTransfer("226 Transfer complete\r\n"); }
  void Close() override { lost_ = false; }
  void BeginCleanup() override { cleanup_ = true; }

  std::optional<std::string> Read(const std::string& path, std::uint64_t offset,
                                  std::size_t length) override {
    const std::string& bytes = local.at(path);
    if (offset >= bytes.size()) return std::string();
    return bytes.substr(static_cast<std::size_t>(offset), length);
  }
  void FileStarted(std::size_t, const std::string&) override {}
  void BytesSent(std::uint64_t) override {}
  bool Cancelled() const override { return cancelled; }

  std::vector<LocalFile> Files() const {
    std::vector<LocalFile> site;
    for (const auto& [path, bytes] : local)
      site.push_back({path, {bytes.size(), Sha256Hex(bytes)}});
    return site;
  }
  UploadOutcome Upload(const UploadJob& job) {
    UploadOutcome outcome;
    RunUpload(job, Files(), *this, *this, *this, outcome);
    return outcome;
  }

 private:
  void EndTransfer(const char* reply) {
    if (!storing_) return;
    files[*storing_] = receiving_;
    storing_.reset();
    if (!lost_) replies_ += reply;
  }
  std::string Answer(const std::string& line) {
    const std::string argument = line.substr(line.find(' ') + 1);
    if (line == "AUTH TLS") return offers_tls ? "234 Proceed\r\n" : "500 Unknown command\r\n";
    if (line.starts_with("USER ")) return "331 Password please\r\n";
    if (line.starts_with("PASS ")) return argument == "geheim" ? "230 Ok\r\n" : "530 No\r\n";
    if (line == "EPSV") return epsv ? "229 Extended (|||4000|)\r\n" : "500 No\r\n";
    if (line == "PASV") return "227 Passive (10,0,0,9,15,160)\r\n";
    if (line.starts_with("STOR ")) {
      ++transfers_;
      storing_ = argument;
      receiving_.clear();
      return "150 Go ahead\r\n";
    }
    if (line.starts_with("DELE ")) return files.erase(argument) ? "250 Gone\r\n" : "550 No\r\n";
    if (line.starts_with("RNFR ")) {
      renaming_ = argument;
      return files.count(argument) ? "350 Ready\r\n" : "550 No\r\n";
    }
    if (line.starts_with("RNTO ")) {
      if (files.count(argument) && !renames_over_files) return "550 Rename permission denied\r\n";
      files[argument] = files[renaming_];
      files.erase(renaming_);
      return "250 Renamed\r\n";
    }
    if (line == "QUIT") return "221 Bye\r\n";
    return line.starts_with("CWD ") || line.starts_with("MKD ") ? "250 Ok\r\n" : "200 Ok\r\n";
  }

  std::string replies_, receiving_, renaming_;
  std::optional<std::string> storing_;
  int transfers_ = 0;
  bool lost_ = false;
  bool cleanup_ = false;
};

UploadJob JobFor(const char* password = "geheim") {
  UploadJob job;
  job.target = {"ftp.example", 21, "lern", password, "www", true};
  return job;
}

std::vector<std::string> Paths(const std::vector<LocalFile>& files) {
  std::vector<std::string> paths;
  for (const LocalFile& file : files) paths.push_back(file.path);
  return paths;
}

TEST(UploadSteps, FirstUploadAsksAboutTheCertificateThenSendsEachFileWhole) {
  MemoryServer server;
  server.trusted = false;
  server.local = {{"index.html", "<h1>Start</h1>"}, {"media/bild.jpg", std::string(70000, 'j')}};
  UploadJob job = JobFor();
  const UploadOutcome asked = server.Upload(job);
  EXPECT_EQ(asked.stop, Stop::NeedsTrust);
  EXPECT_EQ(asked.certificate.fingerprint, "AB:CD");
  EXPECT_EQ(asked.not_sent, 2u);
  EXPECT_THAT(server.commands, ElementsAre("AUTH TLS"));  // the user name stays unsent

  server.commands.clear();
  job.trusted_fingerprint = "AB:CD";
  const UploadOutcome done = server.Upload(job);
  EXPECT_EQ(done.stop, Stop::None);
  EXPECT_TRUE(done.failed.empty());
  EXPECT_EQ(done.sent.size(), 2u);
  EXPECT_EQ(done.sent, server.Files());
  EXPECT_EQ(server.files, server.local);
  EXPECT_THAT(server.commands,
              ElementsAre("AUTH TLS", "USER lern", "PASS ****", "PBSZ 0", "PROT P", "TYPE I",
                          "CWD www", "EPSV", "STOR .index.html.tmp", "RNFR .index.html.tmp",
                          "RNTO index.html", "EPSV", "MKD media", "STOR media/.bild.jpg.tmp",
                          "RNFR media/.bild.jpg.tmp", "RNTO media/bild.jpg", "QUIT"));
}

TEST(UploadSteps, WithoutTlsNothingGoesInClearUnasked) {
  MemoryServer server;
  server.offers_tls = false;
  server.local = {{"index.html", "x"}};
  UploadJob job = JobFor();
  EXPECT_EQ(server.Upload(job).stop, Stop::NeedsPlainConsent);
  EXPECT_THAT(server.commands, ElementsAre("AUTH TLS"));
  server.commands.clear();
  job.allow_plain = true;
  EXPECT_EQ(server.Upload(job).sent.size(), 1u);
  EXPECT_THAT(server.commands, ElementsAre("AUTH TLS", "USER lern", "PASS ****", "TYPE I",
                                           "CWD www", "EPSV", "STOR .index.html.tmp",
                                           "RNFR .index.html.tmp", "RNTO index.html", "QUIT"));
}

TEST(UploadSteps, ServerThatRenamesOverNoFileGetsTheOldOneDeletedFirst) {
  MemoryServer server;
  server.renames_over_files = false;
  server.epsv = false;  // and PASV names a private address: the server's is used
  server.local = {{"index.html", "neu"}};
  server.files = {{"index.html", "alt"}};
  const UploadOutcome done = server.Upload(JobFor());
  EXPECT_TRUE(done.failed.empty());
  EXPECT_EQ(server.files, server.local);
  const Lines tail(server.commands.end() - 9, server.commands.end());
  EXPECT_THAT(tail, ElementsAre("EPSV", "PASV", "STOR .index.html.tmp", "RNFR .index.html.tmp",
                                "RNTO index.html", "DELE index.html", "RNFR .index.html.tmp",
                                "RNTO index.html", "QUIT"));
}

TEST(UploadSteps, FailuresLeaveEveryServerFileOldOrWholeAndNoTemporaryFile) {
  MemoryServer full;
  full.space = 100;
  full.local = {{"a.html", "klein"}, {"film.mp4", std::string(500, 'f')}, {"z.html", "z"}};
  full.files = {{"film.mp4", "alter Film"}};
  const UploadOutcome out_of_space = full.Upload(JobFor());
  EXPECT_EQ(Paths(out_of_space.sent), (Lines{"a.html", "z.html"}));
  EXPECT_EQ(out_of_space.failed, (std::vector<FailedFile>{{"film.mp4", Cause::WriteFailed,
                                                           "451 Failure writing to local file."}}));
  EXPECT_EQ(full.files, (std::map<std::string, std::string>{
                            {"a.html", "klein"}, {"film.mp4", "alter Film"}, {"z.html", "z"}}));

  MemoryServer cut;  // the connection is lost in the first transfer, and restored
  cut.lose_in_transfer = 1;
  cut.local = {{"a.html", "a"}, {"b.html", "b"}};
  const UploadOutcome restored = cut.Upload(JobFor());
  EXPECT_EQ(cut.connects, 2);
  EXPECT_EQ(Paths(restored.sent), (Lines{"a.html", "b.html"}));
  EXPECT_EQ(cut.files, cut.local);

  MemoryServer cancelled;
  cancelled.cancel_in_transfer = 2;
  cancelled.local = {{"a.html", "a"}, {"b.html", "b"}, {"c.html", "c"}};
  const UploadOutcome stopped = cancelled.Upload(JobFor());
  EXPECT_EQ(stopped.stop, Stop::Cancelled);
  EXPECT_EQ(stopped.not_sent, 2u);
  EXPECT_EQ(cancelled.files, (std::map<std::string, std::string>{{"a.html", "a"}}));
  EXPECT_EQ(cancelled.commands.back(), "DELE .b.html.tmp");

  MemoryServer refused;
  refused.local = {{"a.html", "a"}};
  const UploadOutcome login = refused.Upload(JobFor("falsch"));
  EXPECT_EQ(login.stop, Stop::Failed);
  EXPECT_EQ(login.cause, Cause::LoginRefused);
  EXPECT_EQ(login.not_sent, 1u);
  EXPECT_TRUE(refused.files.empty());
}

TEST(UploadSteps, NoticeCountsAndNamesEachFailedFileWithItsCause) {
  UploadOutcome outcome;
  outcome.sent = {{"index.html", {}}, {"s02.html", {}}};
  outcome.failed = {{"media/film.mp4", Cause::NoSpace, ""},
                    {"x.html", Cause::ServerError,
                     "553 Nicht\x01"
                     "erlaubt\xC3\xA4"}};
  const UploadNotice partly = UploadNoticeFor(outcome, 15, "ftp.example/www");
  EXPECT_TRUE(partly.warning);
  EXPECT_EQ(partly.text,
            "Die Website wurde nur zum Teil nach \xAB"
            "ftp.example/www\xBB hochgeladen.\r\n\r\n"
            "Hochgeladen: 2 Dateien\r\nUnver\xE4"
            "ndert: 15 Dateien\r\nFehlgeschlagen: 2 Dateien"
            "\r\n\r\nNicht hochgeladen:\r\nmedia/film.mp4: Auf dem Server ist kein Platz mehr."
            "\r\nx.html: Der Server meldet: 553 Nicht?erlaubt??");

  UploadOutcome login;
  login.stop = Stop::Failed;
  login.cause = Cause::LoginRefused;
  login.not_sent = 1;
  const UploadNotice refused = UploadNoticeFor(login, 0, "h/www");
  EXPECT_EQ(refused.text,
            "Das Hochladen nach \xABh/www\xBB ist gescheitert:\r\nDie Anmeldung wurde abgelehnt. "
            "Stimmen Benutzername und Passwort?\r\n\r\nHochgeladen: 0 Dateien\r\n"
            "Unver\xE4"
            "ndert: 0 Dateien\r\nFehlgeschlagen: 1 Datei");
  EXPECT_FALSE(UploadNoticeFor({}, 3, "h/www").warning);
  EXPECT_EQ(ProgressText(3, 14, 1258291, 5 << 20), "3 von 14 Dateien, 1,2 von 5,0 MB");
}

}  // namespace
}  // namespace trellan::upload
