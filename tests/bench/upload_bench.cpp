// Times the upload as the program does it, without its windows: the site
// folder listed and hashed, compared with the record, the new and changed
// files sent (each to a temporary name, then renamed), the record written;
// then the same again with nothing changed. scripts/bench.sh --upload runs
// it beside lftp and prints the medians.
//   upload_bench FOLDER PORT tls|plain REMOTE_FOLDER
// A server certificate that Windows does not trust is trusted here, as the
// learner's "Ja" would.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "system/ftp_link.h"
#include "system/system.h"
#include "system/upload_files.h"
#include "upload/upload_record.h"

namespace {

using namespace trellan;

class NoProgress final : public upload::UploadProgress {
 public:
  void FileStarted(std::size_t, const std::string&) override {}
  void BytesSent(std::uint64_t) override {}
  bool Cancelled() const override { return false; }
};

// One upload as the worker does it; returns how it ended.
upload::UploadOutcome Upload(const std::string& folder, upload::UploadJob& job,
                             upload::UploadRecord& record, std::size_t& sent) {
  std::atomic<bool> cancelled{false};
  SiteUploadFiles site(folder);
  upload::FileStates& section = upload::SectionOf(record, job.target.RecordKey());
  const upload::UploadChoice choice =
      upload::ChooseFilesToSend(site.List(cancelled, section, false), section, false);
  upload::UploadOutcome outcome;
  sent = choice.to_send.size();
  if (!choice.to_send.empty()) {
    WinFtpLink link(cancelled);
    NoProgress progress;
    upload::RunUpload(job, choice.to_send, link, site, progress, outcome);
  }
  for (const upload::LocalFile& file : outcome.sent) upload::SetState(section, file);
  WriteUploadRecord(folder, upload::UploadRecordText(record));
  return outcome;
}

double Milliseconds(std::chrono::steady_clock::duration time) {
  return std::chrono::duration<double, std::milli>(time).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: upload_bench FOLDER PORT tls|plain REMOTE_FOLDER\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '\\') folder += '\\';
  CreateDirectoryA((folder + "_ftp").c_str(), nullptr);
  DeleteFileA((folder + "_ftp\\hochgeladen.txt").c_str());
  upload::UploadJob job;
  job.target = {"127.0.0.1", static_cast<std::uint16_t>(std::atoi(argv[2])),
                "lern",      "geheim",
                argv[4],     std::string(argv[3]) == "tls"};
  job.allow_plain = !job.target.tls;
  upload::UploadRecord record;
  std::size_t sent = 0;
  auto start = std::chrono::steady_clock::now();
  upload::UploadOutcome first = Upload(folder, job, record, sent);
  if (first.stop == upload::Stop::NeedsTrust) {  // the learner's "Ja"
    job.trusted_fingerprint = first.certificate.fingerprint;
    start = std::chrono::steady_clock::now();
    first = Upload(folder, job, record, sent);
  }
  const double first_ms = Milliseconds(std::chrono::steady_clock::now() - start);
  if (first.stop != upload::Stop::None || !first.failed.empty() || first.sent.size() != sent) {
    std::fprintf(stderr, "the upload failed: stop %d, cause %d, %u failed\n",
                 static_cast<int>(first.stop), static_cast<int>(first.cause),
                 static_cast<unsigned>(first.failed.size()));
    return 1;
  }
  start = std::chrono::steady_clock::now();
  Upload(folder, job, record, sent);
  const double second_ms = Milliseconds(std::chrono::steady_clock::now() - start);
  std::printf("%u %.1f %u %.1f\n", static_cast<unsigned>(first.sent.size()), first_ms,
              static_cast<unsigned>(sent), second_ms);
  return sent == 0 ? 0 : 1;
}
