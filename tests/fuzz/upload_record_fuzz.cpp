// libFuzzer target for the record of what was uploaded, as a learner's
// editor or a cut-off write may leave it: read, written and read again, it
// stays the same; and the FTP command file the dialog is filled from.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_checks.h"
#include "upload/site_selection.h"
#include "upload/upload_record.h"
#include "upload/upload_settings.h"

namespace {

using trellan::fuzz::Require;
using namespace trellan::upload;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool send_all = input.ConsumeBool();
  const std::string text = input.ConsumeRemainingBytesAsString();

  const UploadRecord record = ReadUploadRecord(text);
  for (const RecordSection& section : record)
    for (const FileEntry& file : section.files) {
      Require(!file.path.empty() && file.state.sha256.size() == 64);
      Require(file.path.find_first_of("\r\n") == std::string::npos);
    }
  const std::string written = UploadRecordText(record);
  Require(ReadUploadRecord(written) == record);
  Require(UploadRecordText(ReadUploadRecord(written)) == written);

  // The record's first section against itself: nothing changed, nothing
  // to send, unless everything is to go.
  if (!record.empty()) {
    const FileStates& files = record.front().files;
    const UploadChoice choice = ChooseFilesToSend(files, files, send_all);
    Require(choice.to_send.size() + choice.unchanged == files.size());
    Require(send_all ? choice.unchanged == 0 : choice.to_send.empty() || files.size() > 1);
  }
  for (const RecordSection& section : record)
    for (const FileEntry& file : section.files) StaysOnPc(file.path);

  if (const auto form = FormFromFtpPipe(text)) {
    Require(!form->host.empty() && form->host.size() < kHostCapacity);
    Require(form->user.size() < kUserCapacity && form->password.size() < kPasswordCapacity);
    Require(form->folder.size() < kFolderCapacity);
    CheckUploadForm(*form);
  }
  return 0;
}
