#include "system/site_update_files.h"

#include <windows.h>

#include <string_view>

#include "sitecheck/site_check.h"
#include "system/site_check_files.h"
#include "system/system.h"
#include "system/text_file_writer.h"
#include "utils/ascii.h"

namespace trellan {

namespace {

using sitecheck::kBackupFolderName;
using siteupdate::UpdateOutcome;

// Names tried for a backup folder: one per update in the same second.
constexpr int kBackupNameAttempts = 10;

bool IsPage(std::string_view path) {
  const std::string lower = AsciiLower(path);
  return lower.ends_with(".html") || lower.ends_with(".htm");
}

// A path of the plan (UTF-8, '/') as the ANSI path below `folder`.
std::string OnDisk(const std::string& folder, std::string_view utf8_path) {
  std::string path = folder + Utf8ToAnsi(utf8_path);
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

void AppendTwoDigits(std::string& text, WORD value) {
  text += static_cast<char>('0' + value / 10 % 10);
  text += static_cast<char>('0' + value % 10);
}

// "JJJJ-MM-TT_hh-mm-ss" of the local time: sorted by name, the backups
// are sorted by time.
std::string TimeStamp() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  std::string stamp;
  AppendTwoDigits(stamp, now.wYear / 100);
  AppendTwoDigits(stamp, now.wYear % 100);
  for (const WORD part : {now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}) {
    stamp += stamp.size() == 10 ? '_' : '-';
    AppendTwoDigits(stamp, part);
  }
  return stamp;
}

// The backup being written: what it created, so that a backup that cannot
// be completed goes again.
class Backup {
 public:
  explicit Backup(const std::string& folder) : folder_(folder) {}

  // Creates the new, empty backup folder; false when none could be made.
  // When an update in the same second made one, the next free of "_2" ...
  // is taken.
  bool Create() {
    const std::string base = std::string(kBackupFolderName) + '\\';
    CreateDirectoryA((folder_ + base).c_str(), nullptr);
    const std::string stamp = base + TimeStamp();
    for (int attempt = 1; attempt <= kBackupNameAttempts; ++attempt) {
      name_ = attempt == 1 ? stamp : stamp + '_' + std::to_string(attempt);
      name_ += '\\';
      if (CreateDirectoryA((folder_ + name_).c_str(), nullptr)) {
        folders_.push_back(folder_ + name_);
        return true;
      }
      if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return false;
  }

  WriteResult Copy(const siteupdate::PlanFile& file) {
    const std::string path = OnDisk(folder_ + name_, file.path);
    for (std::size_t slash = path.find('\\', folder_.size() + name_.size());
         slash != std::string::npos; slash = path.find('\\', slash + 1)) {
      if (CreateDirectoryA(path.substr(0, slash).c_str(), nullptr))
        folders_.push_back(path.substr(0, slash));
    }
    const WriteResult result = WriteWholeFile(path, {}, file.bytes);
    if (result) files_.push_back(path);
    return result;
  }

  void Remove() {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder)
      RemoveDirectoryA(folder->c_str());
  }

  const std::string& name() const { return name_; }

 private:
  const std::string& folder_;
  std::string name_;  // relative to the site folder, with a trailing backslash
  std::vector<std::string> folders_;
  std::vector<std::string> files_;
};

// Puts the files changed so far back as they were: the first `writes`
// written, the first `removals` of the originals removed.
void PutBack(const std::string& folder, const siteupdate::UpdatePlan& plan, std::size_t writes,
             std::size_t removals, UpdateOutcome& outcome) {
  for (std::size_t i = 0; i < writes; ++i) {
    const siteupdate::PlanFile& write = plan.writes[i];
    const std::string path = OnDisk(folder, write.path);
    const bool restored =
        write.original >= 0
            ? static_cast<bool>(WriteWholeFile(
                  path, {}, plan.originals[static_cast<std::size_t>(write.original)].bytes))
            : static_cast<bool>(RemoveWholeFile(path));
    if (!restored) outcome.not_restored.push_back(write.path);
  }
  for (std::size_t i = 0; i < removals; ++i) {
    const siteupdate::PlanFile& original = plan.originals[i];
    if (original.removed && !WriteWholeFile(OnDisk(folder, original.path), {}, original.bytes))
      outcome.not_restored.push_back(original.path);
  }
}

}  // namespace

std::vector<siteupdate::SitePage> ReadSitePages(const std::string& folder) {
  DiskSiteFiles files(folder);
  std::vector<siteupdate::SitePage> pages;
  for (const sitecheck::SiteEntry& entry : files.ListEntries()) {
    if (entry.is_folder || !IsPage(entry.path) || sitecheck::IsBackupPath(entry.path) ||
        sitecheck::IsReportPath(entry.path))
      continue;
    siteupdate::SitePage page{entry.path, std::nullopt};
    if (AnsiToUtf8(Utf8ToAnsi(entry.path)) == entry.path)
      page.bytes = files.ReadFile(entry.path, sitecheck::kMaxPageBytes);
    pages.push_back(std::move(page));
  }
  return pages;
}

UpdateOutcome CarryOutUpdate(const std::string& folder, const siteupdate::UpdatePlan& plan) {
  UpdateOutcome outcome;
  Backup backup(folder);
  if (!plan.originals.empty() && !backup.Create()) {
    outcome.result = UpdateOutcome::Result::BackupFailed;
    outcome.backup = std::string(kBackupFolderName) + '\\';
    return outcome;
  }
  outcome.backup = backup.name();
  for (const siteupdate::PlanFile& original : plan.originals) {
    outcome.cause = backup.Copy(original);
    if (!outcome.cause) {
      backup.Remove();
      outcome.result = UpdateOutcome::Result::BackupFailed;
      outcome.failed = original.path;
      return outcome;
    }
  }
  // Counted as done only when done: a failed file keeps its bytes.
  std::size_t writes = 0;
  std::size_t removals = 0;
  for (; writes < plan.writes.size(); ++writes) {
    const siteupdate::PlanFile& write = plan.writes[writes];
    outcome.cause = WriteWholeFile(OnDisk(folder, write.path), {}, write.bytes);
    if (!outcome.cause) {
      outcome.failed = write.path;
      break;
    }
  }
  for (; outcome.failed.empty() && removals < plan.originals.size(); ++removals) {
    const siteupdate::PlanFile& original = plan.originals[removals];
    if (!original.removed) continue;
    outcome.cause = RemoveWholeFile(OnDisk(folder, original.path));
    if (!outcome.cause) {
      outcome.failed = original.path;
      break;
    }
  }
  if (outcome.failed.empty()) return outcome;
  outcome.result = UpdateOutcome::Result::ChangeFailed;
  PutBack(folder, plan, writes, removals, outcome);
  return outcome;
}

}  // namespace trellan
