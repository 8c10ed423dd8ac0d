#include "app/upload_run.h"

#include <commctrl.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/dialog_template.h"
#include "app/form_ids.h"
#include "app/form_layout.h"
#include "app/upload_dialog.h"
#include "identity.h"
#include "system/ftp_link.h"
#include "system/protected_data.h"
#include "system/registry_settings.h"
#include "system/site_files.h"
#include "system/system.h"
#include "system/upload_files.h"
#include "system/worker_thread.h"
#include "upload/upload_record.h"
#include "upload/upload_texts.h"

namespace trellan {

namespace {

using upload::UploadForm;

constexpr std::size_t kMaxRecordBytes = 16 * 1024 * 1024;
constexpr std::size_t kMaxPipeBytes = 64 * 1024;
constexpr std::size_t kFingerprintCapacity = 100;
constexpr std::size_t kProtectedCapacity = 4096;
constexpr const char* kFtpPipePath = "_ftp\\ftp-pipe.txt";

constexpr int kProgressWidth = 420;
constexpr int kProgressHeight = 130;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 100;
constexpr int kBarSteps = 1000;

// What the worker and the progress window share. The worker fills `files`
// before it sets `listed`; then the window may read them.
struct UploadRun final : upload::UploadProgress {
  void FileStarted(std::size_t index, const std::string&) override {
    // Files go in order; a file sent again after a lost connection starts
    // from its own beginning.
    for (; counted_ < index; ++counted_) counted_bytes_ += files[counted_].state.size;
    bytes_before.store(counted_bytes_);
    file_bytes.store(0);
    file_index.store(index);
  }
  void BytesSent(std::uint64_t bytes) override { file_bytes.store(bytes); }
  bool Cancelled() const override { return cancelled.load(); }

  std::atomic<bool> cancelled{false};
  std::atomic<bool> listed{false};
  std::atomic<std::size_t> file_index{0};
  std::atomic<std::uint64_t> file_bytes{0};
  std::atomic<std::uint64_t> bytes_before{0};  // of the files before the current one
  const upload::UploadJob* job = nullptr;
  // Written by the worker before `listed`, read-only afterwards.
  std::vector<upload::LocalFile> files;
  std::size_t unchanged = 0;
  std::uint64_t total_bytes = 0;
  upload::UploadOutcome outcome;
  // What the worker is given.
  const std::string* folder = nullptr;
  const upload::FileStates* uploaded = nullptr;
  bool send_all = false;

 private:
  std::size_t counted_ = 0;  // files whose bytes are in counted_bytes_
  std::uint64_t counted_bytes_ = 0;
};

// The upload on the worker thread: the site's files read and compared with
// the record, then the new and changed ones sent.
void DoUpload(void* context) {
  UploadRun& run = *static_cast<UploadRun*>(context);
  SiteUploadFiles site(*run.folder);
  upload::UploadChoice choice = upload::ChooseFilesToSend(
      site.List(run.cancelled, *run.uploaded, run.send_all), *run.uploaded, run.send_all);
  run.files = std::move(choice.to_send);
  run.unchanged = choice.unchanged;
  run.total_bytes = choice.bytes_to_send;
  run.listed.store(true);
  if (run.cancelled.load()) {
    run.outcome.stop = upload::Stop::Cancelled;
    run.outcome.not_sent = run.files.size();
    return;
  }
  if (run.files.empty()) return;
  WinFtpLink link(run.cancelled);
  upload::RunUpload(*run.job, run.files, link, site, run, run.outcome);
}

void RefreshProgress(HWND window, const UploadRun& run) {
  if (!run.listed.load()) return;
  const std::size_t files = run.files.size();
  const std::size_t index = run.file_index.load();
  if (files == 0 || index >= files) return;
  const std::uint64_t done = run.bytes_before.load() + run.file_bytes.load();
  SetDlgItemTextA(window, IDC_PROGRESS_COUNT,
                  upload::ProgressText(index + 1, files, done, run.total_bytes).c_str());
  SetDlgItemTextA(window, IDC_PROGRESS_FILE, Utf8ToAnsi(run.files[index].path).c_str());
  // In floating point: a 32-bit program has no 64-bit division of its own.
  const double part = run.total_bytes > 0
                          ? static_cast<double>(done) / static_cast<double>(run.total_bytes)
                          : static_cast<double>(index) / files;
  const int position = static_cast<int>(part * kBarSteps);
  SendDlgItemMessageA(window, IDC_PROGRESS_BAR, PBM_SETPOS, position, 0);
}

void CancelFromWindow(HWND window, UploadRun& run) {
  run.cancelled.store(true);
  EnableWindow(GetDlgItem(window, IDCANCEL), FALSE);
  SetDlgItemTextA(window, IDC_PROGRESS_COUNT, "Wird abgebrochen\x85");
}

INT_PTR CALLBACK ProgressProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* run = reinterpret_cast<UploadRun*>(GetWindowLongPtrA(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(window, DWLP_USER, lparam);
      FitClientArea(window, kProgressWidth, kProgressHeight);
      CreateControls(
          window, {
                      {PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 10, 12, 400, 20,
                       IDC_PROGRESS_BAR, Font::None},
                      {"STATIC", "Dateien werden gelesen\x85", WS_CHILD | WS_VISIBLE | SS_LEFT, 0,
                       10, 42, 400, 20, IDC_PROGRESS_COUNT, Font::Label},
                      {"STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_PATHELLIPSIS, 0, 10, 64,
                       400, 20, IDC_PROGRESS_FILE, Font::Label},
                      {"BUTTON", upload::kCancelButtonText, kPushButtonStyle | BS_DEFPUSHBUTTON, 0,
                       315, 96, 95, 24, IDCANCEL, Font::Label},
                  });
      SendDlgItemMessageA(window, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, kBarSteps);
      SetWindowTextA(window, upload::kProgressCaption);
      SetTimer(window, kRefreshTimer, kRefreshMs, nullptr);
      return TRUE;
    }
    case WM_TIMER:
      // After "Abbrechen" the window says so until it closes.
      if (run && !run->cancelled.load()) RefreshProgress(window, *run);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL && run && !run->cancelled.load())
        CancelFromWindow(window, *run);
      return TRUE;
    default: return FALSE;
  }
}

// Runs the upload on a worker thread while the progress window shows it;
// the dialog below takes no input meanwhile. The window is gone on return.
void RunWithProgress(HWND owner, UploadRun& run) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  DialogTemplate shape{};
  shape.header.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME | DS_CENTER | DS_3DLOOK;
  shape.header.cx = 210;
  shape.header.cy = 65;
  const HWND window = CreateDialogIndirectParamA(nullptr, &shape.header, owner, &ProgressProc,
                                                 reinterpret_cast<LPARAM>(&run));
  EnableWindow(owner, FALSE);
  {
    WorkerThread worker(&DoUpload, &run);
    const HANDLE done = worker.handle();
    while (done && !worker.Done()) {
      MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT);
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (window && IsDialogMessageA(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
  }
  EnableWindow(owner, TRUE);
  if (window) DestroyWindow(window);
  SetForegroundWindow(owner);
}

// The last upload's values, else those of the FTP command file.
UploadForm InitialForm(const RegistrySettings& store, const std::string& folder) {
  UploadForm form = upload::LoadUploadForm(store);
  if (form.host.empty()) {
    if (const auto pipe = ReadWholeFile(folder + kFtpPipePath, kMaxPipeBytes))
      if (const auto from_pipe = upload::FormFromFtpPipe(*pipe)) return *from_pipe;
    return form;
  }
  const auto stored =
      upload::FromHex(store.ReadText(upload::kStoredPasswordName, kProtectedCapacity - 1));
  if (stored)
    if (const auto password = UnprotectForAccount(*stored)) form.password = *password;
  return form;
}

void StoreForm(RegistrySettings& store, const UploadForm& form) {
  upload::SaveUploadForm(store, form);
  // Only ever the encrypted password, and only when asked to.
  std::string kept;
  if (form.remember_password && !form.password.empty())
    kept = upload::ToHex(ProtectForAccount(form.password));
  store.WriteText(upload::kStoredPasswordName, kept);
}

upload::UploadTarget TargetOf(const UploadForm& form) {
  return {upload::HostOf(form),
          upload::PortOf(form),
          AnsiToUtf8(form.user),
          AnsiToUtf8(form.password),
          AnsiToUtf8(upload::FolderOf(form)),
          form.tls};
}

bool Ask(HWND owner, const std::string& text, const char* caption) {
  return MessageBoxA(owner, text.c_str(), caption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
         IDYES;
}

void Notice(HWND owner, const std::string& text, bool warning) {
  MessageBoxA(owner, text.c_str(), kProgramCaption,
              MB_OK | (warning ? MB_ICONWARNING : MB_ICONINFORMATION));
}

// Adds what went up to the record in the site's "_ftp" folder.
void Record(const std::string& folder, upload::UploadRecord& record, const std::string& key,
            const std::vector<upload::LocalFile>& sent) {
  if (sent.empty()) return;
  upload::FileStates& section = upload::SectionOf(record, key);
  for (const upload::LocalFile& file : sent) upload::SetState(section, file);
  WriteUploadRecord(folder, upload::UploadRecordText(record));
}

}  // namespace

void UploadSiteFolder(HWND dialog) {
  // Read when the command arrives: the learner may let go of it meanwhile.
  const bool send_all = GetKeyState(VK_SHIFT) < 0;
  const std::string folder = SiteFolderPath();
  if (!FileExists(folder + "index.html")) {
    Notice(dialog, upload::NoSiteText(folder, PathExists(folder)), false);
    return;
  }
  RegistrySettings store;
  UploadForm form = InitialForm(store, folder);
  if (!AskUploadForm(dialog, form)) return;
  StoreForm(store, form);

  upload::UploadJob job;
  job.target = TargetOf(form);
  const std::string certificate_name =
      upload::TrustedCertificateName(job.target.host, job.target.port);
  job.trusted_fingerprint = store.ReadText(certificate_name.c_str(), kFingerprintCapacity - 1);
  upload::UploadRecord record = upload::ReadUploadRecord(
      ReadWholeFile(folder + upload::kRecordFileName, kMaxRecordBytes).value_or(""));
  const std::string key = job.target.RecordKey();
  const std::string where = upload::HostOf(form) + '/' + upload::FolderOf(form);

  while (true) {
    UploadRun run;
    run.job = &job;
    run.folder = &folder;
    run.uploaded = &upload::SectionOf(record, key);
    run.send_all = send_all;
    RunWithProgress(dialog, run);
    Record(folder, record, key, run.outcome.sent);
    upload::UploadOutcome& outcome = run.outcome;
    if (outcome.stop == upload::Stop::NeedsTrust) {
      if (!Ask(dialog, upload::CertificateQuestionText(outcome.certificate, job.target.host),
               upload::kCertificateCaption))
        return;
      job.trusted_fingerprint = outcome.certificate.fingerprint;
      store.WriteText(certificate_name.c_str(), job.trusted_fingerprint);
      continue;
    }
    if (outcome.stop == upload::Stop::NeedsPlainConsent) {
      if (!Ask(dialog, upload::PlainQuestionText(job.target.host), upload::kPlainCaption)) return;
      job.allow_plain = true;
      continue;
    }
    if (run.files.empty() && outcome.stop == upload::Stop::None) {
      Notice(dialog, upload::NothingToSendText(run.unchanged, where), false);
      return;
    }
    for (upload::FailedFile& failed : outcome.failed) failed.path = Utf8ToAnsi(failed.path);
    const upload::UploadNotice notice = upload::UploadNoticeFor(outcome, run.unchanged, where);
    Notice(dialog, notice.text, notice.warning);
    return;
  }
}

}  // namespace trellan
