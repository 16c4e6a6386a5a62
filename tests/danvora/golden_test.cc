// Whole translations of small hand-written jobs, compared byte for byte with
// the expected files worked out from the format tables.
#include <string>

#include <gtest/gtest.h>

#include "danvora/dctrans.h"
#include "danvora/library_state.h"
#include "tests/danvora/test_util.h"
#include "tests/support/scoped_env.h"

namespace danvora {
namespace {

using testing::Exists;
using testing::ReadFile;

const std::string kData = PELIXO_TEST_DATA "/danvora/";

struct Golden {
  const char* job;        // golden_<job>.dc
  int format;
  const char* extension;  // of the expected files
  const char* locale = "C";  // LC_ALL of the run: files never follow it
};

std::string Replace(std::string text, const std::string& from,
                    const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos;
       at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

class GoldenTest : public ::testing::TestWithParam<Golden> {};

TEST_P(GoldenTest, MatchesExpectedFiles) {
  const Golden& g = GetParam();
  testing::FreshLibrary();
  const std::string name = std::string(g.job) + "_" + g.extension;
  const std::string dir = testing::TestFolder(name);
  const std::string out = dir + "points." + g.extension;
  const std::string report = dir + "report.txt";
  const std::string base = kData + "golden_" + g.job;
  if (Exists(base + ".known")) {
    testing::WriteFile(out, ReadFile(base + ".known"));
  }
  const bool with_report = Exists(base + ".report");
  tests_support::ScopedEnv locale("LC_ALL", g.locale);
  ::testing::internal::CaptureStderr();
  const int16_t result =
      Dctrans((base + ".dc").c_str(), out.c_str(),
              with_report ? report.c_str() : " ", ToExportFormat(g.format), "b",
              (kData + "das.ini").c_str());
  ::testing::internal::GetCapturedStderr();
  ASSERT_EQ(result, 0);

  const std::string expected = base + "." + g.extension;
  EXPECT_EQ(ReadFile(out), Replace(ReadFile(expected), "@OUT@", out))
      << expected;
  const std::string info = dir + "points.info";
  if (Exists(expected + ".info")) {
    EXPECT_EQ(ReadFile(info), ReadFile(expected + ".info")) << info;
  } else {
    EXPECT_FALSE(Exists(info)) << info;
  }
  if (with_report) {
    EXPECT_EQ(ReadFile(report), ReadFile(base + ".report")) << report;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, GoldenTest,
    ::testing::Values(Golden{"kp2000", 0, "kx77"}, Golden{"kp2000", 1, "sdl"},
                      Golden{"kp2000", 2, "landcad"},
                      Golden{"kp2000", 3, "geocad"},
                      Golden{"kp2000", 4, "alt"},
                      Golden{"kp2000", 5, "argus"},
                      Golden{"kp2000", 6, "cowi"},
                      Golden{"kp2000", 7, "komma"},
                      Golden{"kp2000", 8, "svk"}, Golden{"kp2000", 9, "das"},
                      Golden{"kp2000", 10, "ddh"},
                      Golden{"wells", 0, "kx77"}, Golden{"wells", 8, "svk"},
                      Golden{"wells", 9, "das"},
                      Golden{"system34", 0, "kx77"},
                      Golden{"system34", 3, "geocad"}),
    [](const ::testing::TestParamInfo<Golden>& info) {
      return std::string(info.param.job) + "_" + info.param.extension;
    });

// A UTF-8 terminal changes the messages' words, never a byte of the files:
// the reports hold Danish letters and the System 34 warning box.
INSTANTIATE_TEST_SUITE_P(
    Utf8Locale, GoldenTest,
    ::testing::Values(Golden{"kp2000", 0, "kx77", "C.UTF-8"},
                      Golden{"wells", 9, "das", "C.UTF-8"},
                      Golden{"system34", 0, "kx77", "C.UTF-8"}),
    [](const ::testing::TestParamInfo<Golden>& info) {
      return std::string(info.param.job) + "_" + info.param.extension;
    });

}  // namespace
}  // namespace danvora
