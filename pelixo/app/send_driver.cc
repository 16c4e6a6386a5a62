#include "pelixo/app/send_driver.h"

#include <exception>
#include <utility>

#include "pelixo/app/action_error.h"
#include "pelixo/app/external_program.h"
#include "pelixo/app/options_form.h"
#include "pelixo/app/transfer_common.h"
#include "pelixo/app/user_interface.h"
#include "pelixo/core/ascii_import.h"
#include "pelixo/core/dc_writer.h"
#include "pelixo/core/text.h"
#include "text/ascii.h"
#include "text/format.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/path.h"

namespace pelixo {
namespace {

constexpr size_t kRecordField = kPelixoFieldWidth;

bool IsReservedDeviceName(std::string_view stem) {
  static constexpr std::string_view kNames[] = {"CON", "PRN", "AUX", "NUL"};
  for (std::string_view name : kNames) {
    if (text::EqualsIgnoreCase(stem, name)) return true;
  }
  if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9' &&
      (text::StartsWithIgnoreCase(stem, "COM") || text::StartsWithIgnoreCase(stem, "LPT"))) {
    return true;
  }
  return false;
}

}  // namespace

bool IsJobNameUsableAsFileName(std::string_view job_name) {
  for (char c : job_name) {
    if (static_cast<unsigned char>(c) < 32) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
      return false;
    }
  }
  // Windows resolves "CON " and "COM1 .A" to the device too: the part before
  // the first "." counts without its trailing blanks.
  std::string_view stem = job_name.substr(0, job_name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  return !IsReservedDeviceName(stem);
}

TSendDriver::TSendDriver(UserInterface& ui, const TUserTexts& texts,
                         const TFormatDefinitions& definitions,
                         const TOptionsForm& options, DeviceSender* device)
    : ui_(ui),
      texts_(texts),
      definitions_(definitions),
      options_(options),
      device_(device),
      clock_(platform::CurrentLocalTime),
      program_directory_(platform::ExecutableDirectory()),
      temp_directory_(GetTempDirectory()) {}

SendOutcome TSendDriver::SendAsciiFile(const SendSelection& selection) {
  SendOutcome outcome = SendOutcome::kFailed;
  try {
    outcome = Send(selection);
  } catch (const std::exception& error) {
    ui_.ShowError(error.what());
    outcome = SendOutcome::kFailed;
  }
  // The input lines live only for the send, also when it failed.
  input_lines_.reset();
  return outcome;
}

SendOutcome TSendDriver::Send(const SendSelection& selection) {
  output_lines_.clear();
  counts_ = SendCounts();
  save_as_error_.reset();
  selection_ = selection;

  if (selection.job_name.empty()) {
    ui_.ShowError(texts_.GetUserText(kTextJobNameRequired));
    ui_.FocusJobName();
    return SendOutcome::kFailed;
  }
  // The device's file is the temporary directory + job name + ".DC": a
  // name that is no plain file name would write elsewhere or open a device.
  if (!selection.write_to_dc_file &&
      !IsJobNameUsableAsFileName(selection.job_name)) {
    ui_.ShowError(text::Format("The job name %s cannot be used as a file name",
                         selection.job_name));
    ui_.FocusJobName();
    return SendOutcome::kFailed;
  }
  if (definitions_.Count() == 0) {
    ui_.ShowError(texts_.GetUserText(kTextNoFormats));
    return SendOutcome::kFailed;
  }
  const TFormatDefinition& definition = definitions_[DefinitionIndex(
      definitions_, /*upload=*/true, selection.upload_format_index)];

  std::optional<std::string> path = ui_.ChooseOpenFile(DefinitionFileDialog(definition));
  if (!path) return SendOutcome::kCancelled;

  // External programs work on the file named there: a value that could not
  // be stored would hand them the last send's file.
  if (platform::Status stored = StoreTransferFileName(kUploadFileValue, *path); !stored) {
    ui_.ShowError(stored.error().message());
    return SendOutcome::kFailed;
  }

  const std::string& program = definition.ExternalProgram;
  if (!program.empty()) {
    std::optional<int> exit_code = RunExternalProgram(ui_, program);
    if (!exit_code) {
      ui_.ShowError("Error running " + program);
      return SendOutcome::kFailed;
    }
    // A converter that failed leaves a file that is not the points.
    if (*exit_code != 0) {
      std::string text = text::Format("%s ended with exit code ", program);
      text += std::to_string(*exit_code);
      ui_.ShowError(text);
      return SendOutcome::kFailed;
    }
  }

  platform::Expected<TextFile> input = TextFile::Read(*path);
  if (!input) {
    ui_.ShowError(input.error().message());
    return SendOutcome::kFailed;
  }
  input_lines_ = std::move(*input);
  if (input_lines_->size() == 0) {
    ui_.ShowError(texts_.GetUserText(kTextAsciiFileEmpty));
    return SendOutcome::kFailed;
  }

  if (selection.write_to_dc_file) return SaveToDCFile();
  return SendToDevice();
}

SendOutcome TSendDriver::SaveToDCFile() {
  {
    ScopedWaitCursor wait(ui_);
    BuildDCJob(options_.DCVersion());
  }
  FileDialogRequest save;
  save.file_name = platform::ReplaceExtension(selection_.job_name, ".DC");
  save.default_extension = "DC";
  save.filter = texts_.GetUserText(kTextDcFileFilter);
  save.title = texts_.GetUserText(kTextSaveDcTitle);
  std::optional<std::string> path = ui_.ChooseSaveFile(save);
  if (!path) return SendOutcome::kCancelled;
  platform::Status written = WriteDCJob(*path);
  if (!written) {
    ui_.ShowError(written.error().message());
    return SendOutcome::kFailed;
  }
  return SendOutcome::kDone;
}

std::string TSendDriver::DeviceFilePath() const {
  return temp_directory_ + selection_.job_name + ".DC";
}

SendOutcome TSendDriver::SendToDevice() {
  if (device_ == nullptr) {
    ui_.ShowMessage("Corvane Syncrona has not been registered correctly.");
    return SendOutcome::kFailed;
  }
  bool sent = device_->SendJobToDevice(selection_.job_name, *this);
  if (save_as_error_) {
    ui_.ShowError(*save_as_error_);
    return SendOutcome::kFailed;
  }
  if (!sent) return SendOutcome::kFailed;  // the component told the user
  (void)platform::RemoveFile(DeviceFilePath());
  return SendOutcome::kDone;
}

int32_t TSendDriver::SaveAs(const std::string& /*name*/, int32_t /*reserved*/,
                            int32_t dc_version, std::string* path) {
  try {
    // One job per file, however often the component asks.
    output_lines_.clear();
    BuildDCJob(dc_version);
    std::string target = DeviceFilePath();
    platform::Status written = WriteDCJob(target);
    if (!written) {
      save_as_error_ = written.error().message();
      return kSaveAsFailed;
    }
    if (path != nullptr) *path = target;
    return 0;
  } catch (const std::exception& error) {
    // Nothing may be thrown into the component.
    save_as_error_ = error.what();
    return kSaveAsFailed;
  }
}

void TSendDriver::BuildDCJob(int dc_version) {
  counts_ = SendCounts();
  const SendOptions& options = options_.options();
  DCJobSettings settings = JobSettingsFromOptions(options);
  WriteJobHeader(output_lines_, dc_version, settings, selection_.job_name,
                 clock_());
  if (selection_.job_name.size() > kRecordField) ++counts_.values_cut;

  platform::Expected<CoordinateSystemCopy> copy = CopyCoordinateSystemRecords(
      output_lines_, dc_version, settings, program_directory_);
  if (!copy) throw ActionError(copy.error().message());
  if (*copy == CoordinateSystemCopy::kNotFound) {
    ui_.ShowMessage(text::Format(
        "Coordinate system definition file %s not found: the job has no "
        "coordinate system records",
        options.coord_sys_file));
  }
}

platform::Status TSendDriver::WriteDCJob(const std::string& path) {
  platform::Expected<platform::FileOutput> out = platform::FileOutput::Create(path);
  if (!out) return out.error();
  out->Write(output_lines_.text());
  if (input_lines_ && definitions_.Count() > 0) {
    const TFormatDefinition& definition = definitions_[DefinitionIndex(
        definitions_, /*upload=*/true, selection_.upload_format_index)];
    ConvertPointRecordsOfFile(definition, input_lines_->lines(),
                              platform::LocaleDecimalSeparator(), counts_,
                              [&out](std::string_view records) { out->Write(records); });
  }
  return out->Commit();
}

}  // namespace pelixo
