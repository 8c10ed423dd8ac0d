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

std::string FailedFilesNoticeText(const std::vector<std::string>& failed) {
  std::string text = "Folgende Dateien konnten nicht geschrieben werden:\r\n";
  for (std::size_t i = 0; i < failed.size(); ++i) {
    if (i == kMaxListedFailures) {
      text += "\r\n\x85";  // the ellipsis in Windows-1252
      break;
    }
    text += "\r\n";
    text += failed[i];
  }
  text +=
      "\r\n\r\nVielleicht sind sie schreibgesch\xFCtzt oder in einem anderen Programm ge\xF6"
      "ffnet.";
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
