#include "siteupdate/update_texts.h"

#include "generator/run_texts.h"
#include "sitecheck/site_check.h"

namespace trellan::siteupdate {

namespace {

constexpr const char* kIndent = "\r\n    ";

std::string Count(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

std::string Pages(std::size_t count) { return Count(count, "Seite", "Seiten"); }

std::string Quoted(std::string_view ansi) {
  std::string text = "\xAB";
  text += ansi;
  text += '\xBB';
  return text;
}

// The names on one indented line, at most kMaxListedPages of them.
std::string NameLine(const std::vector<std::string>& names, ToAnsi to_ansi) {
  std::string text = kIndent;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i == kMaxListedPages) return text + ", \x85";  // the ellipsis
    if (i > 0) text += ", ";
    text += to_ansi(names[i]);
  }
  return text;
}

// One heading with its count, then one indented line per page.
void AppendSection(std::string& text, const char* heading, const std::vector<std::string>& lines,
                   ToAnsi to_ansi) {
  if (lines.empty()) return;
  text += "\r\n";
  text += heading;
  text += Pages(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += kIndent;
    if (i == kMaxListedPages) {
      text += '\x85';
      break;
    }
    text += to_ansi(lines[i]);
  }
}

}  // namespace

std::string MovedLine(std::string_view from, std::string_view to, std::string_view old_label,
                      std::string_view new_label) {
  std::string line(from);
  if (to != from) line.append(" -> ").append(to);
  if (!old_label.empty() || !new_label.empty())
    line.append(" \xC2\xAB").append(old_label).append("\xC2\xBB");
  if (!new_label.empty() && new_label != old_label)
    line.append(" -> \xC2\xAB").append(new_label).append("\xC2\xBB");
  return line;
}

std::string KeptLine(std::string_view name, Navigation why) {
  std::string line(name);
  switch (why) {
    case Navigation::Missing: return line + ": kein <nav>";
    case Navigation::Several: return line + ": mehr als ein <nav>";
    case Navigation::Unclosed: return line + ": <nav> ohne </nav>";
    case Navigation::NotText: return line + ": kein Text (UTF-8)";
    case Navigation::Found: break;
  }
  return line;
}

std::string UpdateQuestionText(const UpdateSummary& summary, std::string_view folder,
                               ToAnsi to_ansi) {
  std::string text = "Im Ordner\r\n" + Quoted(folder) +
                     "\r\n\xE4"
                     "ndert sich mit dem Men\xFC des Formulars:\r\n";
  if (!summary.updated.empty()) {
    text += "\r\nAngepasst: " + Pages(summary.updated.size());
    text += NameLine(summary.updated, to_ansi);
  }
  AppendSection(text, "Neu: ", summary.created, to_ansi);
  AppendSection(text, "Umbenannt: ", summary.moved, to_ansi);
  AppendSection(text, "Aus der Website entfernt (sie bleiben in der Sicherung): ", summary.removed,
                to_ansi);
  AppendSection(text, "Men\xFC und Kopf bleiben, wie sie sind: ", summary.kept, to_ansi);
  if (!summary.linking.empty()) {
    text += "\r\nLinks auf umbenannte Seiten werden angepasst, auch in " +
            Count(summary.linking.size(), "eigenen Seite", "eigenen Seiten") + ':';
    text += NameLine(summary.linking, to_ansi);
  }
  if (summary.links_to_removed > 0) {
    text += "\r\n" + Count(static_cast<std::size_t>(summary.links_to_removed), "Link", "Links") +
            " auf entfernte Seiten f\xFChren danach ins Leere:";
    text += NameLine(summary.with_links_to_removed, to_ansi);
  }
  const bool renamed = !summary.moved.empty() || !summary.removed.empty();
  if (renamed && !summary.unread.empty()) {
    text += "\r\nNicht lesbar, Links darin bleiben, wie sie sind:";
    text += NameLine(summary.unread, to_ansi);
  }
  text += "\r\n\r\nWas sich \xE4ndert, wird vorher nach ";
  text += Quoted(sitecheck::kBackupFolderName);
  text +=
      " kopiert.\r\n\r\nMen\xFC wirklich in die Website \xFC"
      "bernehmen?";
  return text;
}

std::string NoSiteNoticeText(std::string_view folder, bool folder_exists,
                             std::string_view command) {
  std::string text = folder_exists ? "Im Ordner\r\n" : "Der Ordner\r\n";
  text += Quoted(folder);
  text += folder_exists ? "\r\nfehlt die Startseite index.html." : "\r\nfehlt.";
  text += "\r\n\r\nErstelle die Website zuerst mit \"OK...\", dann ";
  text += command;
  text += '.';
  return text;
}

std::string BlockedNoticeText(const std::vector<std::string>& pages, ToAnsi to_ansi) {
  return "Diese Seiten der Website konnten nicht gelesen werden:" + NameLine(pages, to_ansi) +
         "\r\n\r\nVielleicht sind sie in einem anderen Programm ge\xF6"
         "ffnet. "
         "Es wurde nichts ge\xE4ndert.";
}

std::string OutcomeNoticeText(const UpdateOutcome& outcome, ToAnsi to_ansi) {
  const std::string backup = Quoted(outcome.backup);
  switch (outcome.result) {
    case UpdateOutcome::Result::Done:
      // When only new pages were written there is no backup to name.
      return "Das Men\xFC ist in die Website \xFC"
             "bernommen." +
             (outcome.backup.empty() ? ""
                                     : "\r\n\r\nDie Dateien von vorher liegen in\r\n" + backup);
    case UpdateOutcome::Result::BackupFailed:
      return "Die Sicherung nach\r\n" + backup + "\r\nkonnte nicht geschrieben werden" +
             (outcome.failed.empty() ? "" : " (" + to_ansi(outcome.failed) + ')') + ". " +
             (outcome.cause.cause == WriteCause::None
                  ? "Vielleicht ist der Datentr\xE4ger voll oder schreibgesch\xFCtzt."
                  : WriteCauseSentence(outcome.cause)) +
             "\r\n\r\nEs wurde nichts ge\xE4ndert.";
    case UpdateOutcome::Result::ChangeFailed: break;
  }
  // The causes' sentences speak of the files, as the closing notice of OK
  // lists them.
  std::string text =
      "Die Website konnte nicht angepasst werden. Folgende Dateien lie\xDF"
      "en sich nicht "
      "schreiben oder l\xF6schen:" +
      NameLine({outcome.failed}, to_ansi) + "\r\n" + WriteCauseSentence(outcome.cause) + "\r\n\r\n";
  if (outcome.not_restored.empty()) return text + "Alle Dateien sind wieder, wie sie vorher waren.";
  text +=
      "Diese Dateien konnten nicht zur\xFC"
      "ckgeholt werden:";
  text += NameLine(outcome.not_restored, to_ansi);
  return text + "\r\n\r\nIhr Stand von vorher liegt in\r\n" + backup;
}

std::string FormPartsMissingText(const SiteForm& form) {
  std::string missing;
  const auto add = [&](bool found, const char* name) {
    if (found) return;
    if (!missing.empty()) missing += ", ";
    missing += name;
  };
  add(form.title.has_value(), "Titel");
  add(form.author.has_value(), "Autor");
  add(form.keywords.has_value(), "Keywords");
  add(form.menu_text.has_value(), "Men\xFCpunkte (<nav>)");
  if (missing.empty()) return {};
  return "In index.html fehlt: " + missing + ".\r\n\r\nDiese Felder bleiben, wie sie sind.";
}

}  // namespace trellan::siteupdate
