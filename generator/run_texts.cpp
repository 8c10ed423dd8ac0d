#include "generator/run_texts.h"

namespace trellan {

std::string OverwriteQuestionText(std::string_view folder) {
  std::string text = "Im Ordner\r\n\xAB";
  text += folder;
  text +=
      "\xBB\r\nhat es bereits HTML-Dateien.\r\n\r\nHTML-Dateien wirklich \xFC"
      "berschreiben?";
  return text;
}

std::string WriteCauseSentence(const WriteResult& result) {
  switch (result.cause) {
    case WriteCause::None: return {};
    case WriteCause::ReadOnly:
    case WriteCause::InUse:
      return "Vielleicht sind sie schreibgesch\xFCtzt oder in einem anderen Programm ge\xF6"
             "ffnet.";
    case WriteCause::DiskFull: return "Auf dem Datentr\xE4ger ist kein Platz mehr.";
    case WriteCause::AccessDenied: return "Es fehlt die Berechtigung, sie zu schreiben.";
    case WriteCause::PathTooLong: return "Ihr Pfad ist f\xFCr Windows zu lang.";
    case WriteCause::FolderMissing:
      return "Ihr Ordner fehlt, oder an seiner Stelle steht eine Datei.";
    case WriteCause::FolderInTheWay: return "An ihrer Stelle steht ein Ordner gleichen Namens.";
    case WriteCause::WriteProtected: return "Der Datentr\xE4ger ist schreibgesch\xFCtzt.";
    case WriteCause::DriveGone: return "Das Laufwerk ist nicht mehr erreichbar.";
    case WriteCause::Other: break;
  }
  return "Windows meldet den Fehler " + std::to_string(result.error) + ".";
}

std::string FailedFilesNoticeText(const std::vector<FailedFile>& failed) {
  std::string text = "Folgende Dateien konnten nicht geschrieben werden:\r\n";
  std::size_t listed = 0;
  bool grouped = false;
  for (std::size_t first = 0; first < failed.size(); ++first) {
    // One group per sentence, at its first file: read-only and open files
    // share theirs.
    const std::string sentence = WriteCauseSentence(failed[first].result);
    bool seen = false;
    for (std::size_t i = 0; i < first && !seen; ++i)
      seen = WriteCauseSentence(failed[i].result) == sentence;
    if (seen) continue;
    if (grouped) text += "\r\n";
    grouped = true;
    for (std::size_t i = first; i < failed.size(); ++i) {
      if (WriteCauseSentence(failed[i].result) != sentence) continue;
      if (listed == kMaxListedFailures) {
        text += "\r\n\x85";  // the ellipsis in Windows-1252
        break;
      }
      text += "\r\n";
      text += failed[i].target;
      ++listed;
    }
    text += "\r\n\r\n";
    text += sentence;
  }
  return text;
}

std::string FolderMissingNoticeText(std::string_view folder) {
  std::string text = "Der Ordner\r\n\xAB";
  text += folder;
  text +=
      "\xBB\r\nkonnte nicht erstellt werden; es wurde nichts geschrieben.\r\n\r\n"
      "Vielleicht ist das Laufwerk nicht verbunden oder schreibgesch\xFCtzt.";
  return text;
}

ClosingNotice ClosingNoticeFor(const RunOutcome& outcome, std::string_view folder) {
  if (outcome.folder_missing) return {NoticeKind::FolderMissing, FolderMissingNoticeText(folder)};
  if (outcome.failed.empty()) return {NoticeKind::Done, kDoneNoticeText};
  return {NoticeKind::FilesMissing, FailedFilesNoticeText(outcome.failed)};
}

std::string ExplorerCommandLine(std::string_view folder) {
  std::string line = "Explorer /e,/root,/select,\"";
  line += folder;
  line += '"';
  return line;
}

}  // namespace trellan
