// The field device of the stand-in Syncrona: a folder holding one "<job>.DC"
// and, for a job taken in the field, one "<job>.JOB" file per job.
//
// Settings, each an environment variable or else a value under HKCU
// "Software\Corvane Syncrona Simulator" (outside Syncrona's own tree, whose
// device families the host renames around the dialog):
//   SYNCRONA_DEVICE_FOLDER   / "Device Folder"   the device folder
//   SYNCRONA_CHOSEN_JOBS     / "Chosen Jobs"     the jobs a receive picks,
//                            names separated by ";", "*" for every job;
//                            empty or absent: the user picks nothing
//   SYNCRONA_SEND_VERSION    / "Send Version"    the DC version asked of the
//                            host on a send (default 1070)
#ifndef STANDINS_SYNCRONA_SIMULATED_DEVICE_H_
#define STANDINS_SYNCRONA_SIMULATED_DEVICE_H_

#include <string>
#include <vector>

#include "platform/error.h"

namespace standins {

inline constexpr char kSimulatorKey[] = "Software\\Corvane Syncrona Simulator";

std::string DeviceFolder();
std::vector<std::string> ChosenJobs();
int SendVersion();
// Syncrona's "Backup Data Files" setting.
bool BackupDataFiles();

// Copies the chosen jobs' DC files (and, with the backup setting on, their
// JOB files) into `destination` and returns the paths of the DC files.
// Jobs missing on the device are passed over.
platform::Expected<std::vector<std::string>> ReceiveJobs(const std::string& destination);

// A job name the device can hold: not empty, no path parts.
bool IsStorableJobName(const std::string& job_name);

// Stores the DC file at `dc_path` on the device as the job `job_name`.
platform::Status StoreJob(const std::string& job_name, const std::string& dc_path);

}  // namespace standins

#endif  // STANDINS_SYNCRONA_SIMULATED_DEVICE_H_
