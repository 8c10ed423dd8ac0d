// "Website hochladen" through the real dialog, to real FTP servers on
// 127.0.0.1 that the CTest fixture ftp_servers starts (see
// tests/wine/tools/ftp-servers.sh): vsftpd with TLS and without, vsftpd on a
// full disk, ProFTPD, and a proxy here in the test that cuts or holds up a
// transfer. The upload dialog is filled in and the boxes answered on this
// thread as the learner would.
#include <windows.h>
#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/form_ids.h"
#include "identity.h"
#include "system/system.h"
#include "tests/driver/dialog_fixture.h"
#include "tests/support/dialog_host.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_site.h"
#include "upload/site_selection.h"
#include "upload/upload_texts.h"

namespace trellan {
namespace {

using test::ReadFileBytes;
using Files = std::map<std::string, std::string>;  // '/'-path → bytes

std::string WinePath(std::string unix_path) {
  std::replace(unix_path.begin(), unix_path.end(), '/', '\\');
  return "Z:" + unix_path;
}

// Every file below `folder`, by '/'-path.
Files ReadTree(const std::string& folder, const std::string& prefix = "") {
  Files files;
  for (const std::string& name : test::ListFolder(folder + prefix)) {
    const std::string path = folder + prefix + name;
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
      files.merge(ReadTree(folder, prefix + name + "\\"));
    else {
      std::string key = prefix + name;
      std::replace(key.begin(), key.end(), '\\', '/');
      files[key] = ReadFileBytes(path);
    }
  }
  return files;
}

// The site's files that go up: all but those that stay on the PC.
Files SiteFilesToSend() {
  Files files = ReadTree(test::SiteFolder());
  std::erase_if(files, [](const auto& file) { return upload::StaysOnPc(file.first); });
  return files;
}

// Where the server's files differ from the site's: empty when they match.
std::string Differences(const Files& server, const Files& site) {
  std::string differences;
  for (const auto& [path, bytes] : server)
    if (!site.count(path))
      differences += "only on the server: " + path + "\n";
    else if (site.at(path) != bytes)
      differences += "differs: " + path + " (" + std::to_string(bytes.size()) + " bytes)\n";
  for (const auto& [path, bytes] : site)
    if (!server.count(path)) differences += "missing: " + path + "\n";
  return differences;
}

int Count(const std::string& text, const std::string& what) {
  int count = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// The values typed into the upload dialog, and what it showed before.
struct UploadFields {
  std::string host = "127.0.0.1", port, user = "lern", password = "geheim", folder = "www";
  bool tls = false, remember = false;
};

// Fills in the upload dialog when it opens and presses "Hochladen"; clicks
// "Abbrechen" in the progress window once it shows `cancel_at`.
class UploadDialogFiller {
 public:
  explicit UploadDialogFiller(UploadFields fields, std::string cancel_at = {},
                              std::function<void()> on_cancel = {})
      : fields_(std::move(fields)),
        cancel_at_(std::move(cancel_at)),
        on_cancel_(std::move(on_cancel)) {
    active_ = this;
    hook_ = SetWindowsHookExA(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    timer_ = SetTimer(nullptr, 0, 20, &Poll);
  }
  ~UploadDialogFiller() {
    UnhookWindowsHookEx(hook_);
    KillTimer(nullptr, timer_);
    active_ = nullptr;
  }
  const UploadFields& shown() const { return shown_; }
  int dialogs() const { return dialogs_; }
  // From the click on "Abbrechen" until the progress window was gone.
  std::chrono::milliseconds cancel_time() const { return cancel_time_; }

 private:
  static std::string Caption(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
  }
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE && active_ &&
        Caption(reinterpret_cast<HWND>(wparam)) == upload::kUploadCaption)
      active_->pending_ = reinterpret_cast<HWND>(wparam);
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
    if (active_) active_->Look();
  }
  void Look() {
    if (pending_ && IsWindow(pending_)) Fill(std::exchange(pending_, nullptr));
    const HWND progress = FindWindowA("#32770", upload::kProgressCaption);
    if (cancelled_at_ && !progress && cancel_time_.count() == 0)
      cancel_time_ = std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now() - *cancelled_at_);
    if (!progress || cancel_at_.empty() || cancelled_at_) return;
    char file[512] = {};
    GetDlgItemTextA(progress, IDC_PROGRESS_FILE, file, sizeof file);
    if (file != cancel_at_) return;
    cancelled_at_ = std::chrono::steady_clock::now();
    PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
    if (on_cancel_) on_cancel_();
  }
  void Fill(HWND dialog) {
    ++dialogs_;
    auto text = [dialog](int id) {
      char buffer[600] = {};
      GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
      return std::string(buffer);
    };
    shown_ = {text(IDC_UPLOAD_HOST),
              text(IDC_UPLOAD_PORT),
              text(IDC_UPLOAD_USER),
              text(IDC_UPLOAD_PASSWORD),
              text(IDC_UPLOAD_FOLDER),
              IsDlgButtonChecked(dialog, IDC_UPLOAD_TLS) == BST_CHECKED,
              IsDlgButtonChecked(dialog, IDC_UPLOAD_REMEMBER) == BST_CHECKED};
    SetDlgItemTextA(dialog, IDC_UPLOAD_HOST, fields_.host.c_str());
    SetDlgItemTextA(dialog, IDC_UPLOAD_PORT, fields_.port.c_str());
    SetDlgItemTextA(dialog, IDC_UPLOAD_USER, fields_.user.c_str());
    SetDlgItemTextA(dialog, IDC_UPLOAD_PASSWORD, fields_.password.c_str());
    SetDlgItemTextA(dialog, IDC_UPLOAD_FOLDER, fields_.folder.c_str());
    CheckDlgButton(dialog, IDC_UPLOAD_TLS, fields_.tls ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_UPLOAD_REMEMBER, fields_.remember ? BST_CHECKED : BST_UNCHECKED);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  }

  static inline UploadDialogFiller* active_ = nullptr;
  UploadFields fields_;
  UploadFields shown_;
  std::string cancel_at_;
  std::function<void()> on_cancel_;
  std::optional<std::chrono::steady_clock::time_point> cancelled_at_;
  std::chrono::milliseconds cancel_time_{0};
  HWND pending_ = nullptr;
  HHOOK hook_ = nullptr;
  UINT_PTR timer_ = 0;
  int dialogs_ = 0;
};

// A proxy between the program and an FTP server: it passes the control
// connection on and puts itself into the data connections (rewriting EPSV
// replies), so that it can cut everything off, once, after `limit` data
// bytes, or hold a transfer up after `limit` bytes until Release().
class FtpProxy {
 public:
  enum class Mode { Cut, Hold };
  FtpProxy(int server_port, Mode mode, std::size_t limit)
      : server_port_(server_port), mode_(mode), limit_(limit) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = Listen(port_);
    thread_ = std::thread([this] { Run(); });
  }
  ~FtpProxy() {
    stop_ = true;
    thread_.join();
    closesocket(listener_);
    WSACleanup();
  }
  int port() const { return port_; }
  int sessions() const { return sessions_; }
  void Release() { held_ = false; }

 private:
  static SOCKET Listen(int& port) {
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, 4);
    int size = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.sin_port);
    return listener;
  }
  static SOCKET Connect(int port) {
    const SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return connection;
  }
  // One pair of connections, relayed both ways.
  struct Pair {
    SOCKET client = INVALID_SOCKET, server = INVALID_SOCKET;
    void Close() {
      if (client != INVALID_SOCKET) closesocket(client);
      if (server != INVALID_SOCKET) closesocket(server);
      client = server = INVALID_SOCKET;
    }
  };
  // Moves what `from` has to `to` (or into `seen`); false when `from` has
  // closed.
  static bool Relay(SOCKET from, SOCKET to, std::string* seen, std::size_t* count = nullptr) {
    char buffer[16384];
    const int got = recv(from, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    if (seen)
      seen->append(buffer, static_cast<std::size_t>(got));
    else
      send(to, buffer, got, 0);
    if (count) *count += static_cast<std::size_t>(got);
    return true;
  }
  void PassReplies(Pair& control, std::string& replies, SOCKET& data_listener,
                   int& data_server_port) {
    // Whole lines only; a 229 reply gets this proxy's data port.
    for (auto end = replies.find('\n'); end != std::string::npos; end = replies.find('\n')) {
      std::string line = replies.substr(0, end + 1);
      replies.erase(0, end + 1);
      if (line.starts_with("229 ")) {
        data_server_port = std::atoi(line.c_str() + line.find("(|||") + 4);
        if (data_listener != INVALID_SOCKET) closesocket(data_listener);
        int own = 0;
        data_listener = Listen(own);
        line = "229 Entering Extended Passive Mode (|||" + std::to_string(own) + "|)\r\n";
      }
      send(control.client, line.data(), static_cast<int>(line.size()), 0);
    }
  }
  void Run() {
    Pair control, data;
    SOCKET data_listener = INVALID_SOCKET;
    int data_server_port = 0;
    std::size_t data_bytes = 0;
    std::string replies;
    while (!stop_) {
      const bool holding = mode_ == Mode::Hold && held_ && data_bytes >= limit_;
      if (mode_ == Mode::Cut && !cut_ && data_bytes >= limit_) {
        cut_ = true;  // the line breaks down in the middle of a file
        control.Close();
        data.Close();
        data_bytes = 0;
      }
      fd_set ready;
      FD_ZERO(&ready);
      for (const SOCKET s :
           {control.client == INVALID_SOCKET ? listener_ : control.client, control.server,
            data.client == INVALID_SOCKET ? data_listener : INVALID_SOCKET,
            holding ? INVALID_SOCKET : data.client})
        if (s != INVALID_SOCKET) FD_SET(s, &ready);
      timeval wait{0, 20000};
      if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
      if (control.client == INVALID_SOCKET && FD_ISSET(listener_, &ready)) {
        control.client = accept(listener_, nullptr, nullptr);
        control.server = Connect(server_port_);
        ++sessions_;
        continue;
      }
      if (control.client != INVALID_SOCKET && FD_ISSET(control.client, &ready) &&
          !Relay(control.client, control.server, nullptr)) {
        control.Close();
        data.Close();
        continue;
      }
      if (control.server != INVALID_SOCKET && FD_ISSET(control.server, &ready)) {
        if (!Relay(control.server, control.client, &replies)) {
          control.Close();
          continue;
        }
        PassReplies(control, replies, data_listener, data_server_port);
      }
      if (data.client == INVALID_SOCKET && data_listener != INVALID_SOCKET &&
          FD_ISSET(data_listener, &ready)) {
        data.client = accept(data_listener, nullptr, nullptr);
        data.server = Connect(data_server_port);
        data_bytes = 0;
      } else if (data.client != INVALID_SOCKET && FD_ISSET(data.client, &ready) &&
                 !Relay(data.client, data.server, nullptr, &data_bytes)) {
        data.Close();
      }
    }
    control.Close();
    data.Close();
    if (data_listener != INVALID_SOCKET) closesocket(data_listener);
  }

  int server_port_;
  Mode mode_;
  std::size_t limit_;
  int port_ = 0;
  SOCKET listener_;
  std::thread thread_;
  std::atomic<bool> stop_{false}, held_{true};
  std::atomic<int> sessions_{0};
  bool cut_ = false;
};

class Upload : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* dir = std::getenv("TRELLAN_FTP_SERVERS");
    if (!dir) GTEST_SKIP() << "TRELLAN_FTP_SERVERS is not set: run it through CTest";
    dir_ = dir;
    if (test::FileExists(WinePath(dir_ + ".skip")))
      GTEST_SKIP() << ReadFileBytes(WinePath(dir_ + ".skip"));
    const std::string list = ReadFileBytes(WinePath(dir_ + "/servers.txt"));
    for (std::size_t at = 0; at < list.size();) {
      const std::size_t blank = list.find(' ', at), end = list.find('\n', at);
      ports_[list.substr(at, blank - at)] = list.substr(blank + 1, end - blank - 1);
      at = end + 1;
    }
    driver::ForgetStoredForm();
    test::RemoveSiteFolder();
    dialog_ = std::make_unique<test::DialogHost>();
    test::MessageBoxAnswerer answerer;
    dialog_->Click(IDOK);  // the default site
  }
  void TearDown() override {
    dialog_.reset();
    test::RemoveSiteFolder();
    driver::ForgetStoredForm();
  }

  std::string ServerFolder(const std::string& server) const {
    return WinePath(dir_ + "/" + server + "/www") + "\\";
  }
  std::string Log(const std::string& server) const {
    return ReadFileBytes(WinePath(dir_ + "/" + server + ".log"));
  }
  UploadFields FieldsFor(const std::string& server, const std::string& folder = "www") {
    UploadFields fields;
    fields.port = ports_[server];
    fields.folder = folder;
    return fields;
  }

  // "Website hochladen..." chosen from the system menu (with Shift held, if
  // asked), the dialog filled in with `fields`, the boxes answered in turn.
  // `filler` fills the dialog in while it lives.
  std::vector<test::SeenBox> ChooseUpload(UploadDialogFiller& /*filler*/, std::deque<int> answers,
                                          bool shift = false) {
    test::MessageBoxAnswerer answerer(std::move(answers));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageA(dialog_->get(), WM_SYSCOMMAND, IDM_UPLOAD, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    return answerer.seen();
  }
  std::vector<test::SeenBox> ChooseUpload(const UploadFields& fields, std::deque<int> answers = {},
                                          bool shift = false) {
    UploadDialogFiller filler(fields);
    return ChooseUpload(filler, std::move(answers), shift);
  }

  static std::string Notice(std::size_t sent, std::size_t unchanged, const std::string& where) {
    return "Die Website wurde nach \xAB" + where +
           "\xBB hochgeladen.\r\n\r\nHochgeladen: " + FileCount(sent) +
           "\r\nUnver\xE4"
           "ndert: " +
           FileCount(unchanged) + "\r\nFehlgeschlagen: 0 Dateien";
  }
  static std::string FileCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " Datei" : " Dateien");
  }

  std::string dir_;
  std::map<std::string, std::string> ports_;
  std::unique_ptr<test::DialogHost> dialog_;
};

TEST_F(Upload, OverTlsTheFirstUploadAsksTheSecondSendsNothingAChangedPageAloneGoesUp) {
  const Files site = SiteFilesToSend();
  UploadFields fields = FieldsFor("vsftpd_tls", "www/klasse");
  fields.tls = fields.remember = true;
  UploadDialogFiller first(fields);
  const auto boxes = ChooseUpload(first, {IDYES});
  // The dialog was filled from nothing: the sample FTP command file names
  // no server yet.
  EXPECT_EQ(first.shown().host, "");
  EXPECT_EQ(first.shown().folder, "www");
  EXPECT_TRUE(first.shown().tls);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, upload::kCertificateCaption);
  EXPECT_NE(boxes[0].text.find("Ausgestellt f\xFCr: Trellan Testserver\r\n"), std::string::npos);
  EXPECT_NE(boxes[0].text.find("SHA-256-Fingerabdruck:\r\n"), std::string::npos);
  EXPECT_EQ(boxes[0].default_button, IDNO);
  EXPECT_EQ(boxes[1].caption, kProgramCaption);
  EXPECT_EQ(boxes[1].text, Notice(site.size(), 0, "127.0.0.1/www/klasse"));
  const std::string server = ServerFolder("vsftpd_tls") + "klasse\\";
  EXPECT_EQ(Differences(ReadTree(server), site), "");  // whole, and no temporary file left

  // Only the encrypted password is kept, and the certificate's fingerprint.
  const auto stored = driver::ReadStored("FtpPasswort");
  ASSERT_TRUE(stored);
  EXPECT_GT(stored->data.size(), 100u);
  EXPECT_EQ(stored->data.find("geheim"), std::string::npos);
  EXPECT_EQ(stored->data.find("67656865696d"), std::string::npos);  // "geheim" in hex
  const auto print = driver::ReadStored(("FtpZertifikat 127.0.0.1:" + fields.port).c_str());
  ASSERT_TRUE(print);
  EXPECT_EQ(boxes[0].text.find(print->data.substr(0, 48)) != std::string::npos, true);

  // Again: the dialog remembers everything, nothing is sent, no connection.
  const std::string log = Log("vsftpd_tls");
  UploadDialogFiller second(fields);
  const auto again = ChooseUpload(second, {});
  EXPECT_EQ(second.shown().host, "127.0.0.1");
  EXPECT_EQ(second.shown().password, "geheim");
  EXPECT_TRUE(second.shown().remember);
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[0].text, upload::NothingToSendText(site.size(), "127.0.0.1/www/klasse"));
  EXPECT_EQ(Log("vsftpd_tls"), log);

  // A changed page alone goes up, over one connection.
  test::WriteFileBytes(test::SiteFolder() + "s02.html", "<h1>Neu</h1>");
  const auto changed = ChooseUpload(fields);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].text, Notice(1, site.size() - 1, "127.0.0.1/www/klasse"));
  EXPECT_EQ(ReadFileBytes(server + "s02.html"), "<h1>Neu</h1>");
  const std::string changes = Log("vsftpd_tls").substr(log.size());
  EXPECT_EQ(Count(changes, "\"STOR "), 1);
  EXPECT_EQ(Count(changes, "\"RNTO s02.html\""), 1);

  // A change that keeps the size is found by the hash.
  test::WriteFileBytes(test::SiteFolder() + "s02.html", "<h1>Alt</h1>");
  const auto same_size = ChooseUpload(fields);
  ASSERT_EQ(same_size.size(), 1u);
  EXPECT_EQ(same_size[0].text, Notice(1, site.size() - 1, "127.0.0.1/www/klasse"));
  EXPECT_EQ(ReadFileBytes(server + "s02.html"), "<h1>Alt</h1>");

  // Shift held: everything again.
  const auto all = ChooseUpload(fields, {}, true);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].text, Notice(site.size(), 0, "127.0.0.1/www/klasse"));
}

TEST_F(Upload, WrongPasswordOrNoTlsOnTheServerSendNothing) {
  UploadFields wrong = FieldsFor("vsftpd_plain");
  wrong.password = "falsch";
  const auto refused = ChooseUpload(wrong);
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].text.substr(0, refused[0].text.find("\r\n\r\n")),
            "Das Hochladen nach \xAB"
            "127.0.0.1/www\xBB ist gescheitert:\r\nDie Anmeldung wurde "
            "abgelehnt. Stimmen Benutzername und Passwort?");
  EXPECT_EQ(refused[0].icon, LoadIconA(nullptr, IDI_WARNING));
  EXPECT_EQ(driver::ReadStored("FtpPasswort")->data, std::string(1, '\0'));  // not kept

  // A server without TLS: the question comes before the user name is sent.
  const std::string log = Log("vsftpd_plain");
  UploadFields fields = FieldsFor("vsftpd_plain");
  fields.tls = true;
  const auto declined = ChooseUpload(fields, {IDNO});
  ASSERT_EQ(declined.size(), 1u);
  EXPECT_EQ(declined[0].caption, upload::kPlainCaption);
  EXPECT_EQ(declined[0].default_button, IDNO);
  const std::string asked = Log("vsftpd_plain").substr(log.size());
  EXPECT_EQ(Count(asked, "\"AUTH TLS\""), 1);
  EXPECT_EQ(Count(asked, "\"USER "), 0);
  EXPECT_TRUE(ReadTree(ServerFolder("vsftpd_plain")).empty());

  const auto agreed = ChooseUpload(fields, {IDYES});
  ASSERT_EQ(agreed.size(), 2u);
  EXPECT_EQ(Differences(ReadTree(ServerFolder("vsftpd_plain")), SiteFilesToSend()), "");
}

TEST_F(Upload, ClosedPortAndFolderWithoutWriteRightsAreNamed) {
  // A port on 127.0.0.1 that was free a moment ago: nobody listens there.
  WSADATA winsock{};
  WSAStartup(MAKEWORD(2, 2), &winsock);
  const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  ASSERT_EQ(bind(probe, reinterpret_cast<sockaddr*>(&address), size), 0);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
  closesocket(probe);
  UploadFields closed = FieldsFor("vsftpd_plain");
  closed.port = std::to_string(ntohs(address.sin_port));
  const auto refused = ChooseUpload(closed);
  WSACleanup();
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].text.substr(0, refused[0].text.find("\r\n\r\n")),
            "Das Hochladen nach \xAB"
            "127.0.0.1/www\xBB ist gescheitert:\r\nDer Server hat die Verbindung abgelehnt. "
            "Stimmt der Port?");

  // The server's user may not write into a folder made by someone else.
  ASSERT_TRUE(CreateDirectoryA((ServerFolder("vsftpd_plain") + "gesperrt").c_str(), nullptr));
  const auto boxes = ChooseUpload(FieldsFor("vsftpd_plain", "www/gesperrt"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("\r\nindex.html: Keine Berechtigung auf dem Server."),
            std::string::npos)
      << boxes[0].text;
  EXPECT_TRUE(ReadTree(ServerFolder("vsftpd_plain") + "gesperrt\\").empty());
}

TEST_F(Upload, ServerThatRenamesOverNoFileGetsTheNewPageAllTheSame) {
  const UploadFields fields = FieldsFor("proftpd");
  ASSERT_EQ(ChooseUpload(fields).size(), 1u);
  test::WriteFileBytes(test::SiteFolder() + "index.html", "<h1>Neu</h1>");
  const auto boxes = ChooseUpload(fields);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, Notice(1, SiteFilesToSend().size() - 1, "127.0.0.1/www"));
  EXPECT_EQ(Differences(ReadTree(ServerFolder("proftpd")), SiteFilesToSend()), "");
}

TEST_F(Upload, FullDiskLeavesEveryServerFileOldOrWhole) {
  if (test::FileExists(WinePath(dir_ + "/vsftpd_full.skip")))
    GTEST_SKIP() << ReadFileBytes(WinePath(dir_ + "/vsftpd_full.skip"));
  // A first upload with two small old files fits; the second, with the
  // large new picture, fills the disk.
  const std::string server = ServerFolder("vsftpd_full");
  const Files site = SiteFilesToSend();
  const Files old{{"index.html", "alt"}, {"media/matterhorn.jpg", "altes Bild"}};
  for (const auto& [path, bytes] : old) test::WriteFileBytes(test::SiteFolder() + path, bytes);
  ASSERT_EQ(ChooseUpload(FieldsFor("vsftpd_full")).size(), 1u);
  for (const auto& [path, bytes] : old)
    test::WriteFileBytes(test::SiteFolder() + path, site.at(path));

  const auto boxes = ChooseUpload(FieldsFor("vsftpd_full"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("\r\nmedia/matterhorn.jpg: Der Server konnte die Datei nicht "
                               "speichern; vielleicht ist kein Platz mehr."),
            std::string::npos)
      << boxes[0].text;
  for (const auto& [path, bytes] : ReadTree(server)) {
    ASSERT_TRUE(site.count(path)) << "left on the server: " << path;
    const bool is_old = old.count(path) && old.at(path) == bytes;
    EXPECT_TRUE(is_old || bytes == site.at(path)) << path << ": " << bytes.size() << " bytes";
  }
  EXPECT_EQ(ReadFileBytes(server + "index.html"), site.at("index.html"));
  EXPECT_EQ(ReadFileBytes(server + "media\\matterhorn.jpg"), "altes Bild");
}

TEST_F(Upload, ConnectionCutInTheMiddleOfAFileIsRestoredOnce) {
  FtpProxy proxy(std::stoi(ports_["vsftpd_plain"]), FtpProxy::Mode::Cut, 100000);
  UploadFields fields = FieldsFor("vsftpd_plain");
  fields.port = std::to_string(proxy.port());
  const auto boxes = ChooseUpload(fields);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, Notice(SiteFilesToSend().size(), 0, "127.0.0.1/www"));
  EXPECT_EQ(proxy.sessions(), 2);
  EXPECT_EQ(Differences(ReadTree(ServerFolder("vsftpd_plain")), SiteFilesToSend()), "");
}

TEST_F(Upload, CancelStopsWithinASecondAndLeavesNoTemporaryFile) {
  // The proxy holds the big file up after 1 MB; "Abbrechen" lets it go on.
  test::WriteFileBytes(test::SiteFolder() + "media\\gross.bin", std::string(4 << 20, 'g'));
  FtpProxy proxy(std::stoi(ports_["vsftpd_plain"]), FtpProxy::Mode::Hold, 1 << 20);
  UploadFields fields = FieldsFor("vsftpd_plain");
  fields.port = std::to_string(proxy.port());
  UploadDialogFiller filler(fields, "media/gross.bin", [&proxy] { proxy.Release(); });
  const auto boxes = ChooseUpload(filler, {});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text.substr(0, boxes[0].text.find("\r\n")),
            "Das Hochladen nach \xAB"
            "127.0.0.1/www\xBB wurde abgebrochen.");
  std::printf("cancelled in %d ms\n", static_cast<int>(filler.cancel_time().count()));
  EXPECT_GT(filler.cancel_time().count(), 0);
  EXPECT_LT(filler.cancel_time().count(), 1500);
  const Files site = SiteFilesToSend();
  for (const auto& [path, bytes] : ReadTree(ServerFolder("vsftpd_plain")))
    EXPECT_EQ(bytes, site.at(path)) << path;
}

}  // namespace
}  // namespace trellan
