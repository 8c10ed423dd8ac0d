#pragma once
// What the upload says: the dialog's and the progress window's texts, the
// two questions and the closing notice. Windows-1252, as every box text of
// the program; the caption of the notice is kProgramCaption.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "upload/ftp_upload.h"
#include "upload/upload_settings.h"

namespace trellan::upload {

inline constexpr const char* kUploadMenuEntry = "Website &hochladen...";
inline constexpr const char* kUploadCaption = "Website hochladen";
inline constexpr const char* kProgressCaption = "Website hochladen \x96 Fortschritt";
inline constexpr const char* kCertificateCaption =
    "Zertifikat pr\xFC"
    "fen";
inline constexpr const char* kPlainCaption =
    "Unverschl\xFC"
    "sselt hochladen?";

inline constexpr const char* kTlsBoxText =
    "Verschl\xFC"
    "sselt (FTP mit TLS)";
inline constexpr const char* kRememberBoxText = "Passwort merken";
inline constexpr const char* kUploadButtonText = "Hochladen";
inline constexpr const char* kCancelButtonText = "Abbrechen";
inline constexpr const char* kSendAllHint =
    "Gesendet werden nur neue und ge\xE4"
    "nderte Dateien; wer beim Befehl die Umschalttaste "
    "gedr\xFC"
    "ckt h\xE4"
    "lt, sendet alle.";

// The closing notice lists at most this many failed files.
inline constexpr std::size_t kMaxListedUploadFailures = 20;

// Why the dialog's values cannot be used, to fix before anything is sent.
std::string FormProblemText(FormProblem problem);

// The question when Windows does not trust the server's certificate.
std::string CertificateQuestionText(const CertificateInfo& certificate, std::string_view host);
// The question when the server offers no TLS.
std::string PlainQuestionText(std::string_view host);

// The progress window's lines: "3 von 14 Dateien, 1,2 von 5,0 MB".
std::string ProgressText(std::size_t file, std::size_t files, std::uint64_t bytes,
                         std::uint64_t total_bytes);

// A cause in one German sentence.
std::string CauseText(Cause cause, std::string_view server_text);

// The closing notice. `where`: "host/folder"; the failed files' paths in
// the ANSI code page; `unchanged`: files not sent since they were on the
// server already.
struct UploadNotice {
  std::string text;
  bool warning = false;
};
UploadNotice UploadNoticeFor(const UploadOutcome& outcome, std::size_t unchanged,
                             std::string_view where);
// When there is no site to upload: `folder` (with its trailing backslash)
// is missing, or has no index.html.
std::string NoSiteText(std::string_view folder, bool folder_exists);

// When nothing needs to go up.
std::string NothingToSendText(std::size_t unchanged, std::string_view where);

}  // namespace trellan::upload
