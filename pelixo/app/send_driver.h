// The send path behind "Send...": an ASCII file is read through the chosen
// upload definition, converted into a DC job and saved as a DC file or
// handed to the field device. Written against the user-interface
// interface, so that the window, the command line and the tests run the
// same driver. Every outcome is shown to the user; the result only tells
// the caller how the send ended.
#ifndef PELIXO_APP_SEND_DRIVER_H_
#define PELIXO_APP_SEND_DRIVER_H_

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pelixo/app/device_sender.h"
#include "pelixo/app/options_form.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/core/ascii_import.h"
#include "pelixo/core/format_definitions.h"
#include "pelixo/core/line_list.h"
#include "pelixo/core/text_file.h"
#include "platform/error.h"
#include "platform/locale.h"

namespace pelixo {

class UserInterface;

// The main window's controls at the press of the button.
struct SendSelection {
  std::string job_name;                   // JobNameEdit
  int upload_format_index = kNoSelection;  // UploadFormatsCombo
  bool write_to_dc_file = true;           // DCFileRadioBtn (else the device)
};

enum class SendOutcome { kDone, kCancelled, kFailed };

// False for a job name that cannot name the device's temporary file: one
// holding \ / : * ? " < > | or a control character, or whose part before
// the first ".", without its trailing blanks, is a reserved device name
// (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, in any case).
bool IsJobNameUsableAsFileName(std::string_view job_name);

class TSendDriver : private SaveAsHandler {
 public:
  // `options` is the options dialog, whose controls hold the current Send
  // options; `device` may be null when no device binding exists.
  TSendDriver(UserInterface& ui, const TUserTexts& texts,
              const TFormatDefinitions& definitions, const TOptionsForm& options,
              DeviceSender* device);

  SendOutcome SendAsciiFile(const SendSelection& selection);

  // Appends the header, job-name and coordinate-system records of a job for
  // `dc_version` to the output lines. Throws platform errors as ActionError
  // when the coordinate-system file cannot be read.
  void BuildDCJob(int dc_version);
  // Writes the job built last to `path`: its records, then the point
  // records of the input lines, converted as they are written (a million
  // points are never held in memory as records). Adds the points to the
  // counts.
  platform::Status WriteDCJob(const std::string& path);

  const LineList& output_lines() const { return output_lines_; }
  const SendCounts& counts() const { return counts_; }

  // For tests: the clock of the header, the program's folder (for the
  // coordinate-system file) and the temporary directory of device sends.
  void set_clock(std::function<platform::LocalTime()> clock) { clock_ = std::move(clock); }
  void set_program_directory(std::string dir) { program_directory_ = std::move(dir); }
  void set_temp_directory(std::string dir) { temp_directory_ = std::move(dir); }

  // The save-as callback of the device send.
  int32_t SaveAs(const std::string& name, int32_t reserved, int32_t dc_version,
                 std::string* path) override;

 private:
  SendOutcome Send(const SendSelection& selection);
  SendOutcome SaveToDCFile();
  SendOutcome SendToDevice();
  std::string DeviceFilePath() const;

  UserInterface& ui_;
  const TUserTexts& texts_;
  const TFormatDefinitions& definitions_;
  const TOptionsForm& options_;
  DeviceSender* device_;

  std::function<platform::LocalTime()> clock_;
  std::string program_directory_;
  std::string temp_directory_;

  // State of one send.
  SendSelection selection_;
  std::optional<TextFile> input_lines_;
  LineList output_lines_;
  SendCounts counts_;
  std::optional<std::string> save_as_error_;
};

}  // namespace pelixo

#endif  // PELIXO_APP_SEND_DRIVER_H_
