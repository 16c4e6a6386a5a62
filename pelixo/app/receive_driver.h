// The receive path behind "Receive...": the user picks jobs on the field
// device through Syncrona, each received job is turned into a points file by
// its job reader, and its DC file is exported to an ASCII file through the
// chosen download definition, whose external program may then translate it
// while the received files are still in the temporary directory. Written
// against the user-interface interface, so that the window, the command
// line and the tests run the same driver.
#ifndef PELIXO_APP_RECEIVE_DRIVER_H_
#define PELIXO_APP_RECEIVE_DRIVER_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "pelixo/app/device_transfer.h"
#include "pelixo/app/user_texts.h"
#include "pelixo/core/format_definitions.h"
#include "pelixo/core/tic_points.h"

namespace pelixo {

class UserInterface;

// "1 measured point has no co-ordinates in the points file and was not
// written", or the plural text for any other `count`.
std::string MeasuredPointsWithoutCoordinatesText(int count);

// The four files a received job leaves in the temporary directory: the DC
// file with the extensions ".DCO", ".DC", ".TIC" and ".JOB", each found
// whatever the case of its extension. Errors are ignored.
void DeleteReceivedJobFiles(const std::string& received_path);

class TReceiveDriver {
 public:
  TReceiveDriver(UserInterface& ui, const TUserTexts& texts,
                 const TFormatDefinitions& definitions, TDeviceTransfer& device);

  // The whole receive with the download definition at position
  // `download_format_index` of the download list. Every outcome is shown
  // to the user; Syncrona's backup setting is switched back off on every way
  // out when it had been off.
  void ReceiveFromDevice(int download_format_index);

  // Exports the DC file at `dc_path` through the download definition at
  // `download_format_index`, taking measured points from `points` (may be
  // null): save dialog, DownloadFile, external program. Nothing when the
  // file does not exist. Throws ActionError when a file cannot be read or
  // written and for an empty DC file. True when the ASCII file was written.
  bool ExportDCFile(const std::string& dc_path, int download_format_index,
                    const TTICPointhandler* points);
  // The same for `dc_text`, the DC file at `dc_path` as read already.
  bool ExportDCText(const std::string& dc_path, std::string_view dc_text,
                    int download_format_index, const TTICPointhandler* points);

  void set_record_counter(int32_t value) { record_counter_ = value; }
  // The Debug flag: the received files stay in the temporary directory.
  bool debug() const { return debug_; }
  void set_debug(bool debug) { debug_ = debug; }
  // The received files of a job whose ASCII file was not written stay in
  // the temporary directory (the command line, whose --out may not take a
  // job, keeps them for another try; the window removes them).
  void set_keep_unwritten_jobs(bool keep) { keep_unwritten_jobs_ = keep; }
  // What the receives so far came to: jobs received from the device, and
  // ASCII files really written.
  int received_jobs() const { return received_jobs_; }
  int files_written() const { return files_written_; }
  // For tests: the folder the save dialog starts in and the temporary
  // directory jobs are received into.
  void set_program_directory(std::string dir) { program_directory_ = std::move(dir); }
  void set_temp_directory(std::string dir) { temp_directory_ = std::move(dir); }

 private:
  void Receive(int download_format_index);

  UserInterface& ui_;
  const TUserTexts& texts_;
  const TFormatDefinitions& definitions_;
  TDeviceTransfer& device_;
  int32_t record_counter_ = 0;
  bool debug_ = false;
  bool keep_unwritten_jobs_ = false;
  int received_jobs_ = 0;
  int files_written_ = 0;
  std::string program_directory_;
  std::string temp_directory_;
};

}  // namespace pelixo

#endif  // PELIXO_APP_RECEIVE_DRIVER_H_
