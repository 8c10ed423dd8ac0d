#include "upload/upload_texts.h"

namespace trellan::upload {

namespace {

// The server's words, as far as they are plain ASCII, on one line.
std::string Printable(std::string_view text, std::size_t max) {
  std::string out;
  for (const char c : text) {
    if (out.size() == max) {
      out += "\x85";
      break;
    }
    const auto byte = static_cast<unsigned char>(c);
    out += byte == '\n' ? ' ' : (byte < 32 || byte > 126) ? '?' : c;
  }
  return out;
}

std::string Quoted(std::string_view text) { return "\xAB" + std::string(text) + "\xBB"; }

// "1,2": megabytes with one decimal, as a German reader writes them.
std::string Megabytes(std::uint64_t bytes) {
  const std::uint64_t tenths = (bytes + 52428) / 104857;
  return std::to_string(tenths / 10) + ',' + std::to_string(tenths % 10);
}

std::string Files(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " Datei" : " Dateien");
}

std::string Counts(std::size_t sent, std::size_t unchanged, std::size_t failed) {
  return "Hochgeladen: " + Files(sent) + "\r\nUnver\xE4" "ndert: " + Files(unchanged) +
         "\r\nFehlgeschlagen: " + Files(failed);
}

}  // namespace

std::string FormProblemText(FormProblem problem) {
  switch (problem) {
    case FormProblem::NoHost: return "Bitte den Server angeben, z.B. ftp.meine-schule.example.";
    case FormProblem::BadHost:
      return "Der Name des Servers darf nur Buchstaben, Ziffern, Punkte und Bindestriche "
             "enthalten.";
    case FormProblem::BadPort: return "Der Port ist eine Zahl von 1 bis 65535 (meist 21).";
    case FormProblem::NoUser: return "Bitte den Benutzernamen angeben.";
    case FormProblem::None: break;
  }
  return {};
}

std::string CertificateQuestionText(const CertificateInfo& certificate, std::string_view host) {
  std::string text;
  if (certificate.replaces_trusted)
    text = "Achtung: Der Server " + Quoted(host) +
           " zeigt ein anderes Zertifikat als beim letzten Mal. Vielleicht hat der Webhoster "
           "es erneuert \x96 oder jemand gibt sich als der Server aus.\r\n\r\n";
  text += "Windows kann nicht best\xE4tigen, dass der Server " + Quoted(host) +
          " der ist, f\xFC" "r den er sich ausgibt: Sein Zertifikat ist nicht von einer "
          "bekannten Stelle beglaubigt oder lautet auf einen anderen Namen.\r\n\r\n";
  text += "Ausgestellt f\xFC" "r: " + certificate.subject + "\r\n";
  text += "Ausgestellt von: " + certificate.issuer + "\r\n";
  text += "G\xFC" "ltig: " + certificate.valid_from + " bis " + certificate.valid_to + "\r\n";
  const std::string& print = certificate.fingerprint;
  const std::size_t half = print.size() > 48 ? 48 : print.size();
  text += "SHA-256-Fingerabdruck:\r\n" + print.substr(0, half);
  if (half < print.size()) text += "\r\n" + print.substr(half);
  text += "\r\n\r\nVergleiche den Fingerabdruck mit dem, den dein Webhoster angibt. "
          "Diesem Zertifikat f\xFC" "r " + Quoted(host) + " ab jetzt vertrauen?";
  return text;
}

std::string PlainQuestionText(std::string_view host) {
  return "Der Server " + Quoted(host) +
         " bietet keine verschl\xFC" "sselte Verbindung (TLS) an.\r\n\r\n"
         "Ohne Verschl\xFC" "sselung gehen Benutzername, Passwort und alle Dateien lesbar "
         "durchs Netz: Wer mith\xF6" "rt, kann sie lesen.\r\n\r\n"
         "Trotzdem unverschl\xFC" "sselt hochladen?";
}

std::string ProgressText(std::size_t file, std::size_t files, std::uint64_t bytes,
                         std::uint64_t total_bytes) {
  return std::to_string(file) + " von " + Files(files) + ", " + Megabytes(bytes) + " von " +
         Megabytes(total_bytes) + " MB";
}

std::string CauseText(Cause cause, std::string_view server_text) {
  switch (cause) {
    case Cause::ServerNotFound: return "Der Server wurde nicht gefunden. Stimmt sein Name?";
    case Cause::ConnectionRefused:
      return "Der Server hat die Verbindung abgelehnt. Stimmt der Port?";
    case Cause::TimedOut:
      return "Der Server hat nicht rechtzeitig geantwortet (Zeit\xFC" "berschreitung).";
    case Cause::LoginRefused:
      return "Die Anmeldung wurde abgelehnt. Stimmen Benutzername und Passwort?";
    case Cause::NoSpace: return "Auf dem Server ist kein Platz mehr.";
    case Cause::WriteFailed:
      return "Der Server konnte die Datei nicht speichern; vielleicht ist kein Platz mehr.";
    case Cause::NoPermission: return "Keine Berechtigung auf dem Server.";
    case Cause::TlsFailed:
      return "Die verschl\xFC" "sselte Verbindung (TLS) kam nicht zustande.";
    case Cause::ConnectionLost: return "Die Verbindung wurde unterbrochen.";
    case Cause::LocalReadFailed: return "Die Datei lie\xDF sich auf diesem PC nicht lesen.";
    case Cause::ServerError: return "Der Server meldet: " + Printable(server_text, 200);
    case Cause::Cancelled: return "Abgebrochen.";
    case Cause::None: break;
  }
  return {};
}

UploadNotice UploadNoticeFor(const UploadOutcome& outcome, std::size_t unchanged,
                             std::string_view where) {
  UploadNotice notice;
  const std::size_t failed = outcome.failed.size() + outcome.not_sent;
  notice.warning = failed > 0;
  switch (outcome.stop) {
    case Stop::Failed:
      notice.text = "Das Hochladen nach " + Quoted(where) + " ist gescheitert:\r\n" +
                    CauseText(outcome.cause, outcome.server_text);
      break;
    case Stop::Cancelled:
      notice.text = "Das Hochladen nach " + Quoted(where) + " wurde abgebrochen.";
      break;
    default:
      notice.text = failed > 0 ? "Die Website wurde nur zum Teil nach " + Quoted(where) +
                                     " hochgeladen."
                               : "Die Website wurde nach " + Quoted(where) + " hochgeladen.";
      break;
  }
  notice.text += "\r\n\r\n" + Counts(outcome.sent.size(), unchanged, failed);
  if (!outcome.failed.empty()) notice.text += "\r\n\r\nNicht hochgeladen:";
  for (std::size_t i = 0; i < outcome.failed.size(); ++i) {
    if (i == kMaxListedUploadFailures) {
      notice.text += "\r\n\x85";
      break;
    }
    const FailedFile& file = outcome.failed[i];
    notice.text += "\r\n" + file.path + ": " + CauseText(file.cause, file.server_text);
  }
  return notice;
}

std::string NothingToSendText(std::size_t unchanged, std::string_view where) {
  return "Nichts hochzuladen: " + Files(unchanged) +
         " sind seit dem letzten Hochladen nach " + Quoted(where) +
         " unver\xE4" "ndert.\r\n\r\nWer beim Befehl die Umschalttaste gedr\xFC" "ckt h\xE4" "lt, "
         "sendet alle Dateien noch einmal.";
}

}  // namespace trellan::upload
