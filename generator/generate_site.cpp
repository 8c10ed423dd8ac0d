#include "generator/generate_site.h"

#include <string>
#include <vector>

#include "app/form_ids.h"
#include "app/form_layout.h"
#include "generator/menu_items.h"
#include "generator/page_writer.h"
#include "generator/run_texts.h"
#include "generator/site_content.h"
#include "generator/text_file_writer.h"
#include "generator/text_output.h"
#include "system/system.h"

namespace trellan {

namespace {

constexpr int kLastStalePage = 99;

// Writes the files of one run into the site folder and remembers which of
// them could not be written.
class SiteFolder {
 public:
  explicit SiteFolder(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }
  std::string PathOf(const std::string& relative) const { return path_ + relative; }

  void CreateSubfolder(const char* name) const {
    CreateDirectoryA(PathOf(name).c_str(), nullptr);
  }
  void Write(const std::string& relative, std::string_view bytes, bool bom = false) {
    if (!WriteWholeFile(PathOf(relative), bom ? kUtf8Bom : std::string_view{}, bytes))
      failed_.push_back(relative);
  }
  void Delete(const std::string& relative) const { DeleteFileA(PathOf(relative).c_str()); }

  const std::vector<std::string>& failed() const { return failed_; }

 private:
  std::string path_;
  std::vector<std::string> failed_;
};

SiteText ConvertToUtf8(const GenerationRequest& request) {
  SiteText site;
  site.title = AnsiToUtf8(request.title);
  site.author = AnsiToUtf8(request.author);
  site.keywords = AnsiToUtf8(request.keywords);
  site.items = SplitMenuItems(AnsiToUtf8(request.menu_text));
  return site;
}

enum class Overwrite { Everything, StyleOnly, Cancel };

Overwrite AskBeforeOverwriting(HWND dialog, const std::string& folder) {
  const std::string question = OverwriteQuestionText(folder);
  switch (MessageBoxA(dialog, question.c_str(), kOverwriteCaption,
                      MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)) {
    case IDYES: return Overwrite::Everything;
    case IDNO: return Overwrite::StyleOnly;
    default: return Overwrite::Cancel;
  }
}

// The user kept the existing pages: the next runs start in CSS-only mode.
void RememberStyleOnly(HWND dialog) {
  WriteRegDword(HKEY_CURRENT_USER, kSettingsKey, "CSSOnly", 1);
  CheckDlgButton(dialog, IDC_CSSONLY, BST_CHECKED);
}

void WritePages(SiteFolder& site_folder, const SiteText& site) {
  const int count = static_cast<int>(site.items.size());
  for (int page = 1; page <= count; ++page)
    site_folder.Write(PageFileName(page), RenderPage(site, page, TodayText()), true);
  for (int page = count + 1; page <= kLastStalePage; ++page)
    site_folder.Delete(PageFileName(page));
}

void WriteMedia(SiteFolder& site_folder) {
  for (const MediaFile& media : SampleMedia()) {
    site_folder.CreateSubfolder("media");
    site_folder.Write(std::string(media.name), media.bytes);
  }
  site_folder.Write("media\\_create-Thumbnails.cmd", ThumbnailScriptText());
}

bool KeyIsDown(int virtual_key) { return GetKeyState(virtual_key) < 0; }

void OpenExplorerIfWanted(const std::string& folder, bool open_folder) {
  if (open_folder || KeyIsDown(VK_SHIFT) || KeyIsDown(VK_CONTROL))
    RunCommandLine(ExplorerCommandLine(folder), SW_SHOWNORMAL);
}

// Explorer's picture cache may be hidden, system or read-only.
void RemoveThumbnailCache(const SiteFolder& site_folder) {
  const std::string cache = site_folder.PathOf("Thumbs.db");
  SetFileAttributesA(cache.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(cache.c_str());
}

void ShowClosingNotice(const std::vector<std::string>& failed) {
  if (failed.empty()) {
    TimedNotice(nullptr, kDoneNoticeText, kProgramCaption,
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST, 0,
                kDoneNoticeTimeoutMs);
    return;
  }
  // Files are missing: that must not close by itself as a success would.
  const std::string text = FailedFilesNoticeText(failed);
  MessageBoxA(nullptr, text.c_str(), kProgramCaption,
              MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
}

}  // namespace

std::string TargetFolder() { return ShellFolderPath("Desktop") + "\\CSS-Musterseite\\"; }

void GenerateSite(HWND dialog, GenerationRequest request) {
  const SiteText site = ConvertToUtf8(request);
  SiteFolder site_folder(TargetFolder());
  CreateDirectoryA(site_folder.path().c_str(), nullptr);

  bool css_only = request.css_only;
  if (!css_only && PathExists(site_folder.PathOf("index.html"))) {
    switch (AskBeforeOverwriting(dialog, site_folder.path())) {
      case Overwrite::Everything: break;
      case Overwrite::StyleOnly:
        css_only = true;
        RememberStyleOnly(dialog);
        break;
      case Overwrite::Cancel:
        SetFormEnabled(dialog, false);
        return;
    }
  }
  SetFormEnabled(dialog, false);

  if (!css_only) {
    WritePages(site_folder, site);
    WriteMedia(site_folder);
  }
  site_folder.Write("style.css", StylesheetText());
  site_folder.Write("zoom.js", ZoomScriptText(), true);
  OpenExplorerIfWanted(site_folder.path(), request.open_folder);
  site_folder.Write("_FTP-Upload.cmd", FtpUploadScriptText());
  site_folder.Write("_Start.cmd", StartScriptText());
  site_folder.Write("_BackUp2OneDrive.cmd", BackupScriptText());
  site_folder.Write(".htaccess", HtaccessText());
  RemoveThumbnailCache(site_folder);
  site_folder.CreateSubfolder("_ftp");
  site_folder.Write("_ftp\\ftp-pipe.txt", FtpCommandText());
  ShowClosingNotice(site_folder.failed());
}

}  // namespace trellan
