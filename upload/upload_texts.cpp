#include "upload/upload_texts.h"

#include <iterator>

#include "generator/text_output.h"

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

// A text from its template: LF line ends become CR LF, {{name}}s their values.
std::string Filled(std::string_view lf_text, std::initializer_list<TemplateValue> values) {
  std::string text;
  AppendTemplate(text, lf_text, values);
  return text;
}

// "1,2": megabytes with one decimal, as a German reader writes them.
std::string Megabytes(std::uint64_t bytes) {
  // In floating point: a 32-bit program has no 64-bit division of its own.
  const auto tenths = static_cast<unsigned>(static_cast<double>(bytes) / 104857.6 + 0.5);
  return std::to_string(tenths / 10) + ',' + std::to_string(tenths % 10);
}

std::string Files(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " Datei" : " Dateien");
}

constexpr const char* kCertificateChanged =
    "Achtung: Der Server \xAB{{host}}\xBB zeigt ein anderes Zertifikat als beim letzten Mal. "
    "Vielleicht hat der Webhoster es erneuert \x96 oder jemand gibt sich als der Server aus.\n\n";
constexpr const char* kCertificateQuestion =
    "Windows kann nicht best\xE4tigen, dass der Server \xAB{{host}}\xBB der ist, f\xFC"
    "r den "
    "er sich ausgibt: Sein Zertifikat ist nicht von einer bekannten Stelle beglaubigt oder "
    "lautet auf einen anderen Namen.\n\n"
    "Ausgestellt f\xFC"
    "r: {{subject}}\n"
    "Ausgestellt von: {{issuer}}\n"
    "G\xFC"
    "ltig: {{from}} bis {{to}}\n"
    "SHA-256-Fingerabdruck:\n{{print}}\n{{print2}}\n\n"
    "Vergleiche den Fingerabdruck mit dem, den dein Webhoster angibt. Diesem Zertifikat f\xFC"
    "r "
    "\xAB{{host}}\xBB ab jetzt vertrauen?";
constexpr const char* kCounts =
    "\n\nHochgeladen: {{sent}}\nUnver\xE4"
    "ndert: {{unchanged}}\nFehlgeschlagen: {{failed}}";

}  // namespace

std::string FormProblemText(FormProblem problem) {
  static constexpr const char* kTexts[] = {
      "",  // None
      "Bitte den Server angeben, z.B. ftp.meine-schule.example.",
      "Der Name des Servers darf nur Buchstaben, Ziffern, Punkte und Bindestriche enthalten "
      "(ohne \"ftp://\", Port oder Ordner).",
      "Der Port ist eine Zahl von 1 bis 65535 (meist 21).",
      "Bitte den Benutzernamen angeben.",
  };
  static_assert(std::size(kTexts) == static_cast<std::size_t>(FormProblem::NoUser) + 1);
  return kTexts[static_cast<std::size_t>(problem)];
}

std::string CertificateQuestionText(const CertificateInfo& certificate, std::string_view host) {
  // The fingerprint on two lines of 16 bytes each.
  const std::string_view print = certificate.fingerprint;
  const std::size_t half = print.size() > 48 ? 48 : print.size();
  const std::initializer_list<TemplateValue> values = {{"host", host},
                                                       {"subject", certificate.subject},
                                                       {"issuer", certificate.issuer},
                                                       {"from", certificate.valid_from},
                                                       {"to", certificate.valid_to},
                                                       {"print", print.substr(0, half)},
                                                       {"print2", print.substr(half)}};
  std::string text;
  if (certificate.replaces_trusted) AppendTemplate(text, kCertificateChanged, values);
  AppendTemplate(text, kCertificateQuestion, values);
  return text;
}

std::string PlainQuestionText(std::string_view host) {
  return Filled(
      "Der Server \xAB{{host}}\xBB bietet keine verschl\xFC"
      "sselte Verbindung (TLS) "
      "an.\n\nOhne Verschl\xFC"
      "sselung gehen Benutzername, Passwort und alle Dateien "
      "lesbar durchs Netz: Wer mith\xF6"
      "rt, kann sie lesen.\n\n"
      "Trotzdem unverschl\xFC"
      "sselt hochladen?",
      {{"host", host}});
}

std::string ProgressText(std::size_t file, std::size_t files, std::uint64_t bytes,
                         std::uint64_t total_bytes) {
  return std::to_string(file) + " von " + Files(files) + ", " + Megabytes(bytes) + " von " +
         Megabytes(total_bytes) + " MB";
}

std::string CauseText(Cause cause, std::string_view server_text) {
  // In the order of the causes.
  static constexpr const char* kTexts[] = {
      "",
      "Der Server wurde nicht gefunden. Stimmt sein Name?",
      "Der Server hat die Verbindung abgelehnt. Stimmt der Port?",
      "Der Server hat nicht rechtzeitig geantwortet (Zeit\xFC"
      "berschreitung).",
      "Die Anmeldung wurde abgelehnt. Stimmen Benutzername und Passwort?",
      "Auf dem Server ist kein Platz mehr.",
      "Der Server konnte die Datei nicht speichern; vielleicht ist kein Platz mehr.",
      "Keine Berechtigung auf dem Server.",
      "Die verschl\xFC"
      "sselte Verbindung (TLS) kam nicht zustande.",
      "Die Verbindung wurde unterbrochen.",
      "Die Datei lie\xDF sich auf diesem PC nicht lesen.",
      "Der Server meldet: ",
      "Abgebrochen.",
  };
  static_assert(std::size(kTexts) == static_cast<std::size_t>(Cause::Cancelled) + 1);
  std::string text = kTexts[static_cast<std::size_t>(cause)];
  if (cause == Cause::ServerError) text += Printable(server_text, 200);
  return text;
}

UploadNotice UploadNoticeFor(const UploadOutcome& outcome, std::size_t unchanged,
                             std::string_view where) {
  UploadNotice notice;
  const std::size_t failed = outcome.failed.size() + outcome.not_sent;
  notice.warning = failed > 0;
  const char* head = "Die Website wurde nach \xAB{{where}}\xBB hochgeladen.";
  if (failed > 0) head = "Die Website wurde nur zum Teil nach \xAB{{where}}\xBB hochgeladen.";
  if (outcome.stop == Stop::Failed)
    head = "Das Hochladen nach \xAB{{where}}\xBB ist gescheitert:\n{{cause}}";
  if (outcome.stop == Stop::Cancelled)
    head = "Das Hochladen nach \xAB{{where}}\xBB wurde abgebrochen.";
  AppendTemplate(notice.text, head,
                 {{"where", where}, {"cause", CauseText(outcome.cause, outcome.server_text)}});
  AppendTemplate(notice.text, kCounts,
                 {{"sent", Files(outcome.sent.size())},
                  {"unchanged", Files(unchanged)},
                  {"failed", Files(failed)}});
  if (!outcome.failed.empty()) notice.text += "\r\n\r\nNicht hochgeladen:";
  for (std::size_t i = 0; i < outcome.failed.size(); ++i) {
    if (i == kMaxListedUploadFailures) {
      notice.text += "\r\n\x85";
      break;
    }
    const FailedFile& file = outcome.failed[i];
    AppendTemplate(notice.text, "\n{{path}}: {{cause}}",
                   {{"path", file.path}, {"cause", CauseText(file.cause, file.server_text)}});
  }
  return notice;
}

std::string NoSiteText(std::string_view folder, bool folder_exists) {
  std::string text =
      Filled(folder_exists ? "Im Ordner\n\xAB{{folder}}\xBB\nfehlt die Startseite index.html."
                           : "Der Ordner\n\xAB{{folder}}\xBB\nfehlt.",
             {{"folder", folder}});
  return text +
         "\r\n\r\nErstelle die Website zuerst mit \"OK...\", dann kann sie hochgeladen "
         "werden.";
}

std::string NothingToSendText(std::size_t unchanged, std::string_view where) {
  return Filled(
      "Nichts hochzuladen: {{files}} sind seit dem letzten Hochladen nach "
      "\xAB{{where}}\xBB unver\xE4"
      "ndert.\n\nWer beim Befehl die Umschalttaste "
      "gedr\xFC"
      "ckt h\xE4"
      "lt, sendet alle Dateien noch einmal.",
      {{"files", Files(unchanged)}, {"where", where}});
}

}  // namespace trellan::upload
