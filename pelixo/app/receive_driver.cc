#include "pelixo/app/receive_driver.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include "pelixo/app/action_error.h"
#include "pelixo/app/external_program.h"
#include "pelixo/app/options_form.h"
#include "pelixo/app/transfer_common.h"
#include "pelixo/app/user_interface.h"
#include "pelixo/core/ascii_export.h"
#include "pelixo/core/text.h"
#include "pelixo/core/text_file.h"
#include "platform/file_content.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/path.h"

namespace pelixo {

namespace {

// Syncrona's backup setting, forced on for a receive and switched off again
// however the receive ends when the user had it off.
class ForcedBackupDataFiles {
 public:
  ForcedBackupDataFiles() : was_off_(Force()) {}
  ~ForcedBackupDataFiles() {
    if (was_off_) RestoreBackupDataFiles();
  }
  ForcedBackupDataFiles(const ForcedBackupDataFiles&) = delete;
  ForcedBackupDataFiles& operator=(const ForcedBackupDataFiles&) = delete;

 private:
  // A setting of the wrong type stops the receive before it starts.
  static bool Force() {
    platform::Expected<bool> was_off = ForceBackupDataFiles();
    if (!was_off) throw ActionError(was_off.error().message());
    return *was_off;
  }

  bool was_off_;
};

}  // namespace

std::string MeasuredPointsWithoutCoordinatesText(int count) {
  if (count == 1) {
    return "1 measured point has no co-ordinates in the points file and was not written";
  }
  return std::to_string(count) +
         " measured points have no co-ordinates in the points file and were not written";
}

void DeleteReceivedJobFiles(const std::string& received_path) {
  const size_t name_start = platform::FileNameStart(received_path);
  const std::string folder = received_path.substr(0, name_start);
  for (const char* extension : {".DCO", ".DC", ".TIC", ".JOB"}) {
    const std::string path = platform::ReplaceExtension(received_path, extension);
    const std::string name = path.substr(name_start);
    const std::string stem = name.substr(0, name.size() - std::strlen(extension));
    // The job reader writes ".tic": the extension is the same whatever its
    // case, also where the file system tells cases apart. The name before
    // it is taken as it stands.
    for (const platform::FileEntry& entry : platform::FindFiles(folder, name)) {
      if (entry.is_directory || entry.name.size() != name.size() ||
          entry.name.compare(0, stem.size(), stem) != 0) {
        continue;
      }
      (void)platform::RemoveFile(folder + entry.name);
    }
  }
}

TReceiveDriver::TReceiveDriver(UserInterface& ui, const TUserTexts& texts,
                               const TFormatDefinitions& definitions, TDeviceTransfer& device)
    : ui_(ui),
      texts_(texts),
      definitions_(definitions),
      device_(device),
      program_directory_(platform::ExecutableDirectory()),
      temp_directory_(GetTempDirectory()) {}

void TReceiveDriver::ReceiveFromDevice(int download_format_index) {
  // Said before anything of Syncrona's is touched or any job received.
  if (definitions_.Count() == 0) {
    ui_.ShowError(texts_.GetUserText(kTextNoFormats));
    return;
  }
  try {
    ForcedBackupDataFiles backup;
    Receive(download_format_index);
  } catch (const std::exception& error) {
    ui_.ShowError(error.what());
  }
}

void TReceiveDriver::Receive(int download_format_index) {
  std::optional<std::vector<std::string>> received =
      device_.SelectReceivedFiles(temp_directory_);
  if (!received) return;
  record_counter_ = 0;
  received_jobs_ += static_cast<int>(received->size());
  for (const std::string& path : *received) {
    std::string points_path;
    // A job that cannot be converted is skipped; its files stay.
    if (!device_.ConvertJobToPoints(path, &points_path)) continue;
    bool written = false;
    {
      TTICPointhandler points;
      ScopedWaitCursor wait(ui_);
      platform::Status loaded = points.LoadFromFile(points_path);
      if (!loaded) throw ActionError(loaded.error().message());
      written = ExportDCFile(path, download_format_index, &points);
    }
    if (!debug_ && (written || !keep_unwritten_jobs_)) DeleteReceivedJobFiles(path);
  }
}

bool TReceiveDriver::ExportDCFile(const std::string& dc_path, int download_format_index,
                                  const TTICPointhandler* points) {
  if (!platform::FileExists(dc_path)) return false;
  platform::Expected<platform::FileContent> dc_file = platform::FileContent::Read(dc_path);
  if (!dc_file) throw ActionError(dc_file.error().message());
  return ExportDCText(dc_path, dc_file->bytes(), download_format_index, points);
}

bool TReceiveDriver::ExportDCText(const std::string& dc_path, std::string_view dc_text,
                                  int download_format_index, const TTICPointhandler* points) {
  if (definitions_.Count() == 0) throw ActionError(texts_.GetUserText(kTextNoFormats));
  const TFormatDefinition& definition =
      definitions_[DefinitionIndex(definitions_, /*upload=*/false, download_format_index)];

  ExportContext context;
  context.decimal_separator = platform::LocaleDecimalSeparator();
  context.counter = &record_counter_;
  platform::Expected<ExportLines> output =
      BuildExportLines(definition, dc_text, points, context);
  if (!output) throw ActionError(output.error().message());

  FileDialogRequest request = DefinitionFileDialog(definition);
  request.file_name =
      platform::ReplaceExtension(dc_path.substr(platform::FileNameStart(dc_path)), "." + definition.Extension);
  request.initial_directory = program_directory_;
  std::optional<std::string> chosen = ui_.ChooseSaveFile(request);
  if (chosen) {
    platform::Status written = platform::WriteWholeFile(*chosen, output->lines.text());
    if (!written) throw ActionError(written.error().message());
    ++files_written_;
  }
  // External programs find the file here; a cancelled dialog leaves the
  // proposed name.
  platform::Status stored =
      chosen ? StoreTransferFileName(kDownloadFileValue, *chosen)
             : StoreTransferFileName(kDownloadFileValue, request.file_name, HandOver::kAsGiven);
  if (!stored) throw ActionError(stored.error().message());
  if (!chosen) return false;  // no file: the program would work on one the user never chose

  if (output->measured_without_coordinates > 0) {
    ui_.ShowMessage(MeasuredPointsWithoutCoordinatesText(output->measured_without_coordinates));
  }
  if (definition.ExternalProgram.empty()) return true;
  // The program translates this job's DC file, not whichever is newest.
  ReceivedFileHandOver received;
  if (platform::Status named = received.Store(dc_path); !named) {
    throw ActionError(named.error().message());
  }
  if (!RunExternalProgram(ui_, definition.ExternalProgram)) {
    ui_.ShowError("Error running " + definition.ExternalProgram);
  }
  return true;
}

}  // namespace pelixo
