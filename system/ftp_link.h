#pragma once
// The upload's connections through Windows' own means: Winsock with time-
// outs that a cancel cuts short within a second, and TLS through Schannel
// (SSPI). The data connections use the control connection's credentials
// and server name, so that Windows resumes the TLS session where a server
// requires it. The server's certificate is checked by Windows' chain engine
// for the server's name.
#include <atomic>
#include <memory>
#include <string>

#include "upload/ftp_upload.h"

namespace trellan {

class WinFtpLink final : public upload::FtpLink {
 public:
  // `cancelled`: set by the window that shows the progress.
  explicit WinFtpLink(const std::atomic<bool>& cancelled);
  ~WinFtpLink() override;
  WinFtpLink(const WinFtpLink&) = delete;
  WinFtpLink& operator=(const WinFtpLink&) = delete;

  upload::LinkStatus Connect(const std::string& host, std::uint16_t port) override;
  upload::LinkStatus StartTls(const std::string& trusted_fingerprint,
                              upload::CertificateInfo& certificate) override;
  upload::LinkStatus Send(std::string_view bytes) override;
  upload::LinkStatus Receive(std::string& bytes) override;
  upload::Ipv4 ServerAddress() const override;
  upload::LinkStatus OpenData(const upload::DataAddress& where) override;
  upload::LinkStatus StartDataTls() override;
  upload::LinkStatus SendData(std::string_view bytes) override;
  upload::LinkStatus FinishData() override;
  void DropData() override;
  void Close() override;
  void BeginCleanup() override;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace trellan
