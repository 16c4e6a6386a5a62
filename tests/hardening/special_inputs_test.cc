// Every input of the programs given as a folder, a FIFO or a device (a link
// to /dev/zero), run as the real programs: each must end at once with the
// message and exit code of an unreadable file. The runs are watched: one
// that takes longer than 10 s or grows beyond 1 GiB is killed and fails
// (a reader that took such a file would wait for ever or read without end).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/registry.h"
#include "tests/support/files.h"
#include "tests/support/scoped_env.h"
#include "tests/support/test_environment.h"

namespace {

namespace fs = std::filesystem;

const std::string kBin = PELIXO_BIN_DIR;
const std::string kData = PELIXO_TEST_DATA;
const std::string kNoFormats = "No file formats specified - Formats.ini file required";

struct RunResult {
  int exit_code = -1;
  std::string out;
  std::string err;
  bool killed = false;  // ran too long or grew too large
};

long ResidentBytes(pid_t pid) {
  std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * ::sysconf(_SC_PAGESIZE);
}

// Runs `args` (the program first) in `work`, watched.
RunResult RunWatched(const std::vector<std::string>& args, const std::string& work) {
  const std::string out = work + "stdout.txt", err = work + "stderr.txt";
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(work.c_str()) != 0 || !std::freopen(out.c_str(), "wb", stdout) ||
        !std::freopen(err.c_str(), "wb", stderr)) {
      ::_exit(126);
    }
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  RunResult result;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline || ResidentBytes(pid) > (1L << 30)) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      result.killed = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = tests_support::ReadFile(out);
  result.err = tests_support::ReadFile(err);
  fs::remove(out);
  fs::remove(err);
  return result;
}

enum class Kind { kFolder, kFifo, kDevice };

std::string KindName(Kind kind) {
  switch (kind) {
    case Kind::kFolder: return "folder";
    case Kind::kFifo: return "fifo";
    case Kind::kDevice: return "device";
  }
  return "";
}

class SpecialInput : public ::testing::TestWithParam<Kind> {
 protected:
  void SetUp() override {
    work_ = kBin + "/special_inputs_work/" + tests_support::TestName() + "/";
    fs::remove_all(work_);
    fs::create_directories(work_ + "tmp");
    tests_support::PrivateSettings(work_);
    tests_support::SetEnvironment("TMPDIR", work_ + "tmp");
    special_ = work_ + "special." + KindName(GetParam());
    switch (GetParam()) {
      case Kind::kFolder:
        fs::create_directory(special_);
        reason_ = "it is a folder";
        break;
      case Kind::kFifo:
        ASSERT_EQ(::mkfifo(special_.c_str(), 0600), 0);
        reason_ = "not a regular file";
        break;
      case Kind::kDevice:
        fs::create_symlink("/dev/zero", special_);
        reason_ = "not a regular file";
        break;
    }
  }

  RunResult Run(const std::string& program, std::vector<std::string> args) {
    args.insert(args.begin(), kBin + "/" + program);
    RunResult r = RunWatched(args, work_);
    EXPECT_FALSE(r.killed) << "still running after 10 s or larger than 1 GiB";
    return r;
  }
  RunResult Pelixo(std::vector<std::string> args) { return Run("pelixo", std::move(args)); }

  std::string work_;
  std::string special_;
  std::string reason_;
};

TEST_P(SpecialInput, FormatsIniOfEveryCommand) {
  const std::string& ini = special_;
  const std::vector<std::vector<std::string>> commands = {
      {"formats", "--ini", ini},
      {"send", "--ini", ini, "--format", "Comma points", "--job", "J", "--out",
       work_ + "out.DC", kData + "/send/comma.csv"},
      {"export", "--ini", ini, "--format", "Comma out", "--out", work_ + "out.csv",
       kData + "/receive/job1.dc"},
      {"receive", "--ini", ini, "--format", "Comma out", "--out", work_ + "out.csv"}};
  for (const std::vector<std::string>& command : commands) {
    RunResult r = Pelixo(command);
    EXPECT_EQ(r.exit_code, 1) << command[0];
    EXPECT_EQ(r.err, "pelixo " + command[0] + ": " + ini + ": " + kNoFormats + "\n");
  }
  EXPECT_FALSE(platform::FileExists(work_ + "out.DC"));
  EXPECT_FALSE(platform::FileExists(work_ + "out.csv"));
}

TEST_P(SpecialInput, AsciiFileOfSend) {
  RunResult r = Pelixo({"send", "--ini", kData + "/send/Formats.ini", "--format",
                        "Comma points", "--job", "J", "--out", work_ + "out.DC", special_});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "pelixo send: Cannot open " + special_ + ": " + reason_ + "\n");
  EXPECT_FALSE(platform::FileExists(work_ + "out.DC"));
}

// Unreadable as a missing file: the warning, and a job without the records.
TEST_P(SpecialInput, CoordinateSystemFileOfSend) {
  RunResult r = Pelixo({"send", "--ini", kData + "/send/Formats.ini", "--format",
                        "Comma points", "--job", "J", "--out", work_ + "out.DC", "--coordsys",
                        special_, kData + "/send/comma.csv"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err.rfind("pelixo send: Coordinate system definition file " + special_ +
                            " not found: the job has no coordinate system records\n",
                        0),
            0u)
      << r.err;
  EXPECT_TRUE(platform::FileExists(work_ + "out.DC"));
}

TEST_P(SpecialInput, PointsFileOfExport) {
  RunResult r = Pelixo({"export", "--ini", kData + "/receive/Formats.ini", "--format",
                        "Comma out", "--tic", special_, "--out", work_ + "out.csv",
                        kData + "/receive/job1.dc"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "pelixo export: Cannot open file " + special_ + "\n");
  EXPECT_FALSE(platform::FileExists(work_ + "out.csv"));
}

TEST_P(SpecialInput, DcFileOfExport) {
  RunResult r = Pelixo({"export", "--ini", kData + "/receive/Formats.ini", "--format",
                        "Comma out", "--out", work_ + "out.csv", special_});
  EXPECT_EQ(r.exit_code, 1);
  if (GetParam() == Kind::kFolder) {
    EXPECT_EQ(r.err, "pelixo export: " + special_ + ": no such file\n");
  } else {
    EXPECT_NE(r.err.find("Cannot open " + special_ + ": " + reason_ + "\n"), std::string::npos)
        << r.err;
  }
  EXPECT_FALSE(platform::FileExists(work_ + "out.csv"));
}

TEST_P(SpecialInput, CoordinateFileOfKoordles) {
  RunResult r = Run("danvora-cli", {"koordles", special_, work_ + "out.csv", "0", "1"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Kunne ikke \xe5" "bne " + special_ + "\n");
  EXPECT_EQ(r.out, "koordles returned 255\n");
  EXPECT_FALSE(platform::FileExists(work_ + "out.csv"));
}

// The file chosen for a send, converted by the front end with "-UP".
TEST_P(SpecialInput, UploadFileOfTheFrontEnd) {
  auto key = platform::RegistryKey::Open(platform::RegistryRoot::kCurrentUser,
                                         "Software\\Corvane\\Pelixo", true);
  ASSERT_TRUE(key.ok());
  ASSERT_TRUE(key->SetString("UploadFile", special_).ok());
  RunResult r = Run("danvora-frontend", {"-UP", "-Format=GEOCAD"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Kunne ikke \xe5" "bne " + special_ + "\n");
}

TEST_P(SpecialInput, DcFileOfDctrans) {
  RunResult r = Run("danvora-cli", {"dctrans", special_, work_ + "out.kx77", "", "0", "b",
                                    kData + "/danvora/das.ini"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "dctrans returned 255\n");
  EXPECT_FALSE(platform::FileExists(work_ + "out.kx77"));
}

// The DAS settings of a Formats.ini that cannot be read are the defaults.
TEST_P(SpecialInput, DasSettingsOfDctrans) {
  RunResult r = Run("danvora-cli", {"dctrans", kData + "/danvora/golden_kp2000.dc",
                                    work_ + "out.das", "", "9", "b", special_});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  std::istringstream das(tests_support::ReadFile(work_ + "out.das"));
  std::vector<std::string> lines;
  for (std::string line; lines.size() < 6 && std::getline(das, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "DAS INTERFACE VERSION 4.0\r");
  for (int i = 2; i < 6; ++i) EXPECT_EQ(lines[i], "-\r") << i;
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialInput,
                         ::testing::Values(Kind::kFolder, Kind::kFifo, Kind::kDevice),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                           return KindName(info.param);
                         });

}  // namespace
