#include "system/ftp_link.h"

#include <winsock2.h>
#include <ws2tcpip.h>
// After <winsock2.h>, which must come first; SSPI's headers want to know
// which of its interfaces is used.
#include <windows.h>
#define SECURITY_WIN32
#include <schannel.h>
#include <security.h>
#include <wincrypt.h>

#include <cstring>
#include <string_view>

#include "system/handles.h"
#include "system/system.h"
#include "upload/sha256.h"

namespace trellan {

using upload::LinkStatus;

namespace {

// How long the server may keep quiet before the upload gives up; waits go
// in slices so that a cancel is seen within one.
constexpr DWORD kConnectTimeoutMs = 15000;
constexpr DWORD kAnswerTimeoutMs = 60000;
constexpr DWORD kCleanupTimeoutMs = 1000;
constexpr DWORD kSliceMs = 200;
constexpr std::size_t kReceiveBytes = 16 * 1024;

constexpr DWORD kContextFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                ISC_REQ_CONFIDENTIALITY | ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                                ISC_REQ_MANUAL_CRED_VALIDATION;

class CertificateContext {
 public:
  CertificateContext() = default;
  ~CertificateContext() {
    if (cert_) CertFreeCertificateContext(cert_);
  }
  CertificateContext(const CertificateContext&) = delete;
  CertificateContext& operator=(const CertificateContext&) = delete;
  PCCERT_CONTEXT* out() { return &cert_; }
  PCCERT_CONTEXT get() const { return cert_; }

 private:
  PCCERT_CONTEXT cert_ = nullptr;
};

class ChainContext {
 public:
  ChainContext() = default;
  ~ChainContext() {
    if (chain_) CertFreeCertificateChain(chain_);
  }
  ChainContext(const ChainContext&) = delete;
  ChainContext& operator=(const ChainContext&) = delete;
  PCCERT_CHAIN_CONTEXT* out() { return &chain_; }
  PCCERT_CHAIN_CONTEXT get() const { return chain_; }

 private:
  PCCERT_CHAIN_CONTEXT chain_ = nullptr;
};

// Output token buffers that SSPI allocated.
class OutputToken {
 public:
  OutputToken() {
    buffer_ = {0, SECBUFFER_TOKEN, nullptr};
    desc_ = {SECBUFFER_VERSION, 1, &buffer_};
  }
  ~OutputToken() {
    if (buffer_.pvBuffer) FreeContextBuffer(buffer_.pvBuffer);
  }
  OutputToken(const OutputToken&) = delete;
  OutputToken& operator=(const OutputToken&) = delete;
  SecBufferDesc* desc() { return &desc_; }
  std::string_view bytes() const {
    return {static_cast<const char*>(buffer_.pvBuffer), buffer_.pvBuffer ? buffer_.cbBuffer : 0};
  }

 private:
  SecBuffer buffer_;
  SecBufferDesc desc_;
};

std::string DateOf(const FILETIME& time) {
  SYSTEMTIME date{};
  char text[32] = {};
  if (!FileTimeToSystemTime(&time, &date) ||
      !GetDateFormatA(LOCALE_SYSTEM_DEFAULT, 0, &date, "dd.MM.yyyy", text, sizeof text))
    return {};
  return text;
}

std::string NameOf(PCCERT_CONTEXT cert, DWORD flags) {
  std::string name(256, '\0');
  const DWORD length = CertGetNameStringA(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, flags, nullptr,
                                          name.data(), static_cast<DWORD>(name.size()));
  name.resize(length > 0 ? length - 1 : 0);
  return name;
}

// "AB:CD:…": the SHA-256 of the certificate as certificates show it.
std::string FingerprintOf(PCCERT_CONTEXT cert) {
  upload::Sha256 hash;
  hash.Add({reinterpret_cast<const char*>(cert->pbCertEncoded), cert->cbCertEncoded});
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string print;
  for (const std::uint8_t byte : hash.Finish()) {
    if (!print.empty()) print += ':';
    print += kDigits[byte >> 4];
    print += kDigits[byte & 15];
  }
  return print;
}

// Whether Windows trusts the certificate for `host`: its chain to a root
// and its name.
bool WindowsTrusts(PCCERT_CONTEXT cert, const std::string& host) {
  char server_auth[] = szOID_PKIX_KP_SERVER_AUTH;
  char* usages[] = {server_auth};
  CERT_CHAIN_PARA para{};
  para.cbSize = sizeof para;
  para.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
  para.RequestedUsage.Usage.cUsageIdentifier = 1;
  para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  ChainContext chain;
  if (!CertGetCertificateChain(nullptr, cert, nullptr, cert->hCertStore, &para, 0, nullptr,
                               chain.out()))
    return false;
  std::wstring name = AnsiToWide(host);
  HTTPSPolicyCallbackData https{};
  https.cbStruct = sizeof https;
  https.dwAuthType = AUTHTYPE_SERVER;
  https.pwszServerName = name.data();
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &https;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  return CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.get(), &policy, &status) &&
         status.dwError == 0;
}

}  // namespace

// Named, not anonymous: WinFtpLink::State holds them.
namespace link_detail {

class Socket {
 public:
  Socket() = default;
  ~Socket() { reset(); }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  SOCKET get() const { return socket_; }
  explicit operator bool() const { return socket_ != INVALID_SOCKET; }
  void reset(SOCKET socket = INVALID_SOCKET) {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = socket;
  }

 private:
  SOCKET socket_ = INVALID_SOCKET;
};

class Credentials {
 public:
  Credentials() = default;
  ~Credentials() {
    if (valid_) FreeCredentialsHandle(&handle_);
  }
  Credentials(const Credentials&) = delete;
  Credentials& operator=(const Credentials&) = delete;
  bool Acquire() {
    if (valid_) return true;
    SCHANNEL_CRED schannel{};
    schannel.dwVersion = SCHANNEL_CRED_VERSION;
    // The certificate is checked here, with the question for an unknown one.
    schannel.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
    TimeStamp expiry{};
    char package[] = UNISP_NAME_A;
    valid_ = AcquireCredentialsHandleA(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &schannel,
                                       nullptr, nullptr, &handle_, &expiry) == SEC_E_OK;
    return valid_;
  }
  CredHandle* get() { return &handle_; }

 private:
  CredHandle handle_{};
  bool valid_ = false;
};

// One TCP connection, perhaps with TLS on it.
class Connection {
 public:
  Connection(const std::atomic<bool>& cancelled, const ULONGLONG& cleanup_until)
      : cancelled_(cancelled),
        cleanup_until_(cleanup_until),
        event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
  ~Connection() { Reset(); }

  // With `wait` false the connection may still be on its way: the first
  // send or receive waits for it.
  LinkStatus Open(const sockaddr_in& address, DWORD timeout_ms, bool wait);
  LinkStatus Handshake(Credentials& credentials, const std::string& host);
  LinkStatus Send(std::string_view bytes);
  // Appends decrypted (or plain) bytes; Lost at the end of the stream.
  LinkStatus Receive(std::string& bytes);
  LinkStatus Finish();
  void Reset();
  CtxtHandle* context() { return has_context_ ? &context_ : nullptr; }
  SOCKET socket() const { return socket_.get(); }

 private:
  // Waits until the socket has news (bytes, room for more, the connection
  // made or closed); Ok, TimedOut or Cancelled.
  LinkStatus Wait(DWORD timeout_ms);
  // Waits until a connection begun by Open is made.
  LinkStatus Connected();
  LinkStatus SendRaw(std::string_view bytes);
  LinkStatus ReceiveRaw();  // appends to encrypted_
  // With the credentials and server name Handshake was given.
  LinkStatus Negotiate(bool first);

  const std::atomic<bool>& cancelled_;
  const ULONGLONG& cleanup_until_;
  // Set by Winsock when the socket has news; reset by the wait it ends.
  ObjectHandle event_;
  Socket socket_;
  CtxtHandle context_{};
  bool has_context_ = false;
  Credentials* credentials_ = nullptr;
  std::string host_;
  SecPkgContext_StreamSizes sizes_{};
  std::string encrypted_;  // received, not yet decrypted (or plain, without TLS)
  bool connecting_ = false;
  DWORD connect_timeout_ms_ = 0;
};

void Connection::Reset() {
  if (has_context_) DeleteSecurityContext(&context_);
  has_context_ = false;
  connecting_ = false;
  encrypted_.clear();
  socket_.reset();
}

// On the socket's event, not select(): under Wine, select() learnt of a
// data connection being made 1 to 10 ms after the FTP server had taken it,
// once for every file; the event is there at once.
LinkStatus Connection::Wait(DWORD timeout_ms) {
  const ULONGLONG start = GetTickCount64();
  while (true) {
    const ULONGLONG now = GetTickCount64();
    const bool cleaning = cleanup_until_ != 0;
    if (!cleaning && cancelled_.load()) return LinkStatus::Cancelled;
    if (cleaning && now >= cleanup_until_) return LinkStatus::TimedOut;
    if (now - start >= timeout_ms) return LinkStatus::TimedOut;
    const DWORD woken = WaitForSingleObject(event_.get(), kSliceMs);
    if (woken == WAIT_OBJECT_0) return LinkStatus::Ok;  // the call that follows tells what
    if (woken != WAIT_TIMEOUT) return LinkStatus::Lost;
  }
}

LinkStatus Connection::Open(const sockaddr_in& address, DWORD timeout_ms, bool wait) {
  Reset();
  socket_.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  // The event makes the socket non-blocking as well. A signal left from
  // the last socket is of no use.
  WaitForSingleObject(event_.get(), 0);
  if (!socket_ || !event_.get() ||
      WSAEventSelect(socket_.get(), event_.get(), FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) != 0)
    return LinkStatus::Lost;
  // Small commands and their answers go at once.
  const BOOL no_delay = TRUE;
  setsockopt(socket_.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&no_delay),
             sizeof no_delay);
  if (connect(socket_.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
    return LinkStatus::Ok;
  if (WSAGetLastError() != WSAEWOULDBLOCK) return LinkStatus::Refused;
  connecting_ = true;
  connect_timeout_ms_ = timeout_ms;
  return wait ? Connected() : LinkStatus::Ok;
}

LinkStatus Connection::Connected() {
  if (!connecting_) return LinkStatus::Ok;
  connecting_ = false;
  // Until the connection is made nothing else signals the event (Open
  // cleared it), so each wait has the whole time.
  while (true) {
    WSANETWORKEVENTS events{};
    if (WSAEnumNetworkEvents(socket_.get(), nullptr, &events) != 0) return LinkStatus::Lost;
    if (events.lNetworkEvents & FD_CONNECT) {
      const int error = events.iErrorCode[FD_CONNECT_BIT];
      if (error == 0) return LinkStatus::Ok;
      return error == WSAETIMEDOUT ? LinkStatus::TimedOut : LinkStatus::Refused;
    }
    if (const LinkStatus waited = Wait(connect_timeout_ms_); waited != LinkStatus::Ok)
      return waited;
  }
}

LinkStatus Connection::SendRaw(std::string_view bytes) {
  if (const LinkStatus connected = Connected(); connected != LinkStatus::Ok) return connected;
  while (!bytes.empty()) {
    const int chunk = bytes.size() > 0x100000 ? 0x100000 : static_cast<int>(bytes.size());
    const int sent = send(socket_.get(), bytes.data(), chunk, 0);
    if (sent == SOCKET_ERROR) {
      if (WSAGetLastError() != WSAEWOULDBLOCK) return LinkStatus::Lost;
      if (const LinkStatus waited = Wait(kAnswerTimeoutMs); waited != LinkStatus::Ok) return waited;
      continue;
    }
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return LinkStatus::Ok;
}

LinkStatus Connection::ReceiveRaw() {
  if (const LinkStatus connected = Connected(); connected != LinkStatus::Ok) return connected;
  while (true) {
    char buffer[kReceiveBytes];
    const int got = recv(socket_.get(), buffer, sizeof buffer, 0);
    if (got > 0) {
      encrypted_.append(buffer, static_cast<std::size_t>(got));
      return LinkStatus::Ok;
    }
    if (got == 0 || WSAGetLastError() != WSAEWOULDBLOCK) return LinkStatus::Lost;
    if (const LinkStatus waited = Wait(kAnswerTimeoutMs); waited != LinkStatus::Ok) return waited;
  }
}

LinkStatus Connection::Negotiate(bool first) {
  bool need_more = first ? false : encrypted_.empty();
  while (true) {
    if (need_more) {
      if (const LinkStatus got = ReceiveRaw(); got != LinkStatus::Ok)
        return got == LinkStatus::Lost ? LinkStatus::TlsFailed : got;
    }
    SecBuffer in[2] = {
        {static_cast<unsigned long>(encrypted_.size()), SECBUFFER_TOKEN, encrypted_.data()},
        {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc in_desc{SECBUFFER_VERSION, 2, in};
    OutputToken out;
    unsigned long flags = 0;
    const SECURITY_STATUS status = InitializeSecurityContextA(
        credentials_->get(), first ? nullptr : &context_, host_.data(), kContextFlags, 0, 0,
        first ? nullptr : &in_desc, 0, first ? &context_ : nullptr, out.desc(), &flags, nullptr);
    if (first) has_context_ = status == SEC_I_CONTINUE_NEEDED || status == SEC_E_OK;
    first = false;
    if (!out.bytes().empty()) {
      if (const LinkStatus sent = SendRaw(out.bytes()); sent != LinkStatus::Ok)
        return sent == LinkStatus::Lost ? LinkStatus::TlsFailed : sent;
    }
    if (status == SEC_E_INCOMPLETE_MESSAGE) {
      need_more = true;
      continue;
    }
    if (in[1].BufferType == SECBUFFER_EXTRA && in[1].cbBuffer <= encrypted_.size())
      encrypted_.erase(0, encrypted_.size() - in[1].cbBuffer);
    else
      encrypted_.clear();
    if (status == SEC_E_OK) {
      return QueryContextAttributesA(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) == SEC_E_OK
                 ? LinkStatus::Ok
                 : LinkStatus::TlsFailed;
    }
    if (status != SEC_I_CONTINUE_NEEDED) return LinkStatus::TlsFailed;
    need_more = encrypted_.empty();
  }
}

LinkStatus Connection::Handshake(Credentials& credentials, const std::string& host) {
  if (!credentials.Acquire()) return LinkStatus::TlsFailed;
  credentials_ = &credentials;
  host_ = host;
  // Bytes that came before the handshake would be no TLS.
  encrypted_.clear();
  return Negotiate(true);
}

LinkStatus Connection::Send(std::string_view bytes) {
  if (!has_context_) return SendRaw(bytes);
  while (!bytes.empty()) {
    const std::size_t take =
        bytes.size() < sizes_.cbMaximumMessage ? bytes.size() : sizes_.cbMaximumMessage;
    std::string record(sizes_.cbHeader + take + sizes_.cbTrailer, '\0');
    bytes.copy(record.data() + sizes_.cbHeader, take);
    SecBuffer parts[4] = {
        {sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
        {static_cast<unsigned long>(take), SECBUFFER_DATA, record.data() + sizes_.cbHeader},
        {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, record.data() + sizes_.cbHeader + take},
        {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc desc{SECBUFFER_VERSION, 4, parts};
    if (EncryptMessage(&context_, 0, &desc, 0) != SEC_E_OK) return LinkStatus::TlsFailed;
    record.resize(parts[0].cbBuffer + parts[1].cbBuffer + parts[2].cbBuffer);
    if (const LinkStatus sent = SendRaw(record); sent != LinkStatus::Ok) return sent;
    bytes.remove_prefix(take);
  }
  return LinkStatus::Ok;
}

LinkStatus Connection::Receive(std::string& bytes) {
  if (!has_context_) {
    if (encrypted_.empty()) {
      if (const LinkStatus got = ReceiveRaw(); got != LinkStatus::Ok) return got;
    }
    bytes += encrypted_;
    encrypted_.clear();
    return LinkStatus::Ok;
  }
  while (true) {
    if (!encrypted_.empty()) {
      SecBuffer parts[4] = {
          {static_cast<unsigned long>(encrypted_.size()), SECBUFFER_DATA, encrypted_.data()},
          {0, SECBUFFER_EMPTY, nullptr},
          {0, SECBUFFER_EMPTY, nullptr},
          {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc desc{SECBUFFER_VERSION, 4, parts};
      const SECURITY_STATUS status = DecryptMessage(&context_, &desc, 0, nullptr);
      if (status == SEC_E_OK || status == SEC_I_RENEGOTIATE) {
        // What follows the record (the next one, begun) stays, at the end of
        // the bytes received.
        std::size_t extra = 0;
        std::size_t before = bytes.size();
        for (const SecBuffer& part : parts) {
          if (part.BufferType == SECBUFFER_DATA && part.pvBuffer)
            bytes.append(static_cast<const char*>(part.pvBuffer), part.cbBuffer);
          if (part.BufferType == SECBUFFER_EXTRA && part.pvBuffer &&
              part.cbBuffer <= encrypted_.size())
            extra = part.cbBuffer;
        }
        encrypted_.erase(0, encrypted_.size() - extra);
        // TLS 1.3 sends tickets and key updates after the handshake.
        if (status == SEC_I_RENEGOTIATE) {
          if (const LinkStatus again = Negotiate(false); again != LinkStatus::Ok) return again;
        }
        if (bytes.size() > before) return LinkStatus::Ok;
        continue;
      }
      if (status == SEC_I_CONTEXT_EXPIRED) return LinkStatus::Lost;  // the server's close_notify
      if (status != SEC_E_INCOMPLETE_MESSAGE) return LinkStatus::TlsFailed;
    }
    if (const LinkStatus got = ReceiveRaw(); got != LinkStatus::Ok) return got;
  }
}

LinkStatus Connection::Finish() {
  if (has_context_) {
    DWORD type = SCHANNEL_SHUTDOWN;
    SecBuffer token{sizeof type, SECBUFFER_TOKEN, &type};
    SecBufferDesc desc{SECBUFFER_VERSION, 1, &token};
    if (ApplyControlToken(&context_, &desc) == SEC_E_OK) {
      OutputToken out;
      unsigned long flags = 0;
      InitializeSecurityContextA(credentials_->get(), &context_, host_.data(), kContextFlags, 0, 0,
                                 nullptr, 0, nullptr, out.desc(), &flags, nullptr);
      if (!out.bytes().empty()) {
        if (const LinkStatus sent = SendRaw(out.bytes()); sent != LinkStatus::Ok) return sent;
      }
    }
  }
  // Without TLS the end of the data is the end of the file, and closing
  // sends it after every byte: no shutdown first, which under Wine costs
  // two more trips to its server for every file. With TLS the server
  // answers the end with its own: closing before it arrived could reset the
  // connection under bytes the server has not read yet.
  if (const LinkStatus connected = Connected(); connected != LinkStatus::Ok) return connected;
  if (has_context_) shutdown(socket_.get(), SD_SEND);
  while (has_context_) {
    encrypted_.clear();
    const LinkStatus got = ReceiveRaw();
    if (got == LinkStatus::Lost) break;
    if (got != LinkStatus::Ok) return got;
  }
  Reset();
  return LinkStatus::Ok;
}

}  // namespace link_detail

using link_detail::Connection;
using link_detail::Credentials;

struct WinFtpLink::State {
  explicit State(const std::atomic<bool>& cancelled)
      : control(cancelled, cleanup_until), data(cancelled, cleanup_until) {}
  ULONGLONG cleanup_until = 0;
  bool winsock = false;
  Credentials credentials;
  Connection control;
  Connection data;
  std::string host;
  upload::Ipv4 server{};
};

WinFtpLink::WinFtpLink(const std::atomic<bool>& cancelled)
    : state_(std::make_unique<State>(cancelled)) {
  WSADATA data{};
  state_->winsock = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinFtpLink::~WinFtpLink() {
  state_->data.Reset();
  state_->control.Reset();
  if (state_->winsock) WSACleanup();
}

LinkStatus WinFtpLink::Connect(const std::string& host, std::uint16_t port) {
  state_->host = host;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (!state_->winsock || getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
    return LinkStatus::NotFound;
  sockaddr_in address = *reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  freeaddrinfo(found);
  address.sin_port = htons(port);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&address.sin_addr);
  state_->server = {bytes[0], bytes[1], bytes[2], bytes[3]};
  return state_->control.Open(address, kConnectTimeoutMs, true);
}

LinkStatus WinFtpLink::StartTls(const std::string& trusted_fingerprint,
                                upload::CertificateInfo& info) {
  State& s = *state_;
  if (const LinkStatus status = s.control.Handshake(s.credentials, s.host);
      status != LinkStatus::Ok)
    return status;
  CertificateContext cert;
  if (QueryContextAttributesA(s.control.context(), SECPKG_ATTR_REMOTE_CERT_CONTEXT, cert.out()) !=
          SEC_E_OK ||
      !cert.get())
    return LinkStatus::TlsFailed;
  if (WindowsTrusts(cert.get(), s.host)) return LinkStatus::Ok;
  info.fingerprint = FingerprintOf(cert.get());
  if (info.fingerprint == trusted_fingerprint) return LinkStatus::Ok;
  info.subject = NameOf(cert.get(), 0);
  info.issuer = NameOf(cert.get(), CERT_NAME_ISSUER_FLAG);
  info.valid_from = DateOf(cert.get()->pCertInfo->NotBefore);
  info.valid_to = DateOf(cert.get()->pCertInfo->NotAfter);
  info.replaces_trusted = !trusted_fingerprint.empty();
  return LinkStatus::Untrusted;
}

LinkStatus WinFtpLink::Send(std::string_view bytes) { return state_->control.Send(bytes); }

LinkStatus WinFtpLink::Receive(std::string& bytes) { return state_->control.Receive(bytes); }

upload::Ipv4 WinFtpLink::ServerAddress() const { return state_->server; }

LinkStatus WinFtpLink::OpenData(const upload::DataAddress& where) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(where.port);
  std::memcpy(&address.sin_addr, where.address.data(), 4);
  // The STOR command goes while the connection is made.
  return state_->data.Open(address, kConnectTimeoutMs, false);
}

LinkStatus WinFtpLink::StartDataTls() {
  // The control connection's credentials and name: Windows offers the
  // session of the control connection for resumption.
  return state_->data.Handshake(state_->credentials, state_->host);
}

LinkStatus WinFtpLink::SendData(std::string_view bytes) { return state_->data.Send(bytes); }

LinkStatus WinFtpLink::FinishData() { return state_->data.Finish(); }

void WinFtpLink::DropData() { state_->data.Reset(); }

void WinFtpLink::Close() {
  state_->data.Reset();
  state_->control.Reset();
  state_->cleanup_until = 0;
}

void WinFtpLink::BeginCleanup() {
  if (state_->cleanup_until == 0) state_->cleanup_until = GetTickCount64() + kCleanupTimeoutMs;
}

}  // namespace trellan
