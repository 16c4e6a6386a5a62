// The world of one end-to-end run: folders of its own for the simulated
// field device, the temporary directory, the exports and the user's files;
// the Formats.ini of the runs with the built front end as external program;
// natively a private registry store with the stand-in component registered
// in it. The programs are run as a user runs them, their stderr kept.
#ifndef TESTS_E2E_E2E_WORLD_H_
#define TESTS_E2E_E2E_WORLD_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/files.h"

namespace e2e {

using tests_support::FilesIn;
using tests_support::ReadFile;
using tests_support::WriteFile;

#if defined(_WIN32)
inline constexpr char kPelixo[] = "pelixo-cli.exe";
inline constexpr char kFrontEnd[] = "DanvoraFrontend.exe";
inline constexpr char kMakeJob[] = "make-job.exe";
#else
inline constexpr char kPelixo[] = "pelixo";
inline constexpr char kFrontEnd[] = "danvora-frontend";
inline constexpr char kMakeJob[] = "make-job";
#endif

// `path` with the platform's own separators.
std::string NativePath(std::string path);

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the built program `program` with `arguments` and returns its exit
  // code; what it (and the programs it starts) wrote to stderr is in
  // `stderr_`.
  int Run(const std::string& program, const std::vector<std::string>& arguments);
  int Pelixo(const std::vector<std::string>& arguments) { return Run(kPelixo, arguments); }

  // Places the job `name` on the simulated device: the DC file `dc` and a
  // job file that make-job builds from the point list of the test data.
  void PutJobOnDevice(const std::string& name, const std::string& dc,
                      const std::string& points_file);
  void ChooseJobs(const std::string& jobs);

  // The command line of the front end as a definition names it.
  std::string FrontEndCommand(const std::string& options) const;

  std::string Data(const std::string& name) const;  // a file of the test data
  void RemoveFilesIn(const std::string& folder) const;

  std::string root_;    // the run's own folder, with a trailing separator
  std::string device_;  // the simulated device, with a trailing separator
  std::string temp_;    // the temporary directory, with a trailing separator
  std::string out_;     // where received jobs are exported, likewise
  std::string user_;    // the user's coordinate files, likewise
  std::string ini_;     // the Formats.ini of the runs
  std::string stderr_;
};

}  // namespace e2e

#endif  // TESTS_E2E_E2E_WORLD_H_
