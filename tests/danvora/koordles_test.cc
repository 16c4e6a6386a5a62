// koordles end to end: coordinate files of each readable format against
// comma-separated files written by hand, and the refusals that must leave
// the output file as it was.
#include "danvora/koordles.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gtest/gtest.h"
#include "tests/support/files.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scoped_temp_dir.h"
#include "tests/support/test_environment.h"

namespace {

using tests_support::TestData;
using tests_support::ReadFile;
using tests_support::WriteFile;

struct Conversion {
  const char* input;
  int format;
  int sign;
  const char* expected;
};

class KoordlesConversion : public testing::TestWithParam<Conversion> {};

TEST_P(KoordlesConversion, MatchesHandWrittenCsv) {
  const Conversion& c = GetParam();
  const tests_support::ScopedTempDir dir;
  const std::string& work = dir.path();
  tests_support::PrivateSettings(work);
  const std::string out = work + "out.csv";
  // An earlier file at the target is replaced.
  WriteFile(out, "old\r\n");
  const std::string in = TestData(std::string("frontend/koordles/") + c.input);
  ASSERT_EQ(danvora::Koordles(in.c_str(), out.c_str(),
                                danvora::ToExportFormat(c.format), c.sign), 0);
  EXPECT_EQ(ReadFile(out), ReadFile(TestData(std::string("frontend/koordles/") +
                                             c.expected)));
}

INSTANTIATE_TEST_SUITE_P(
    EachFormat, KoordlesConversion,
    testing::Values(Conversion{"kx77.txt", 0, 1, "kx77.csv"},
                    Conversion{"sdl.txt", 1, 1, "sdl.csv"},
                    Conversion{"landcad.txt", 2, 1, "landcad.csv"},
                    Conversion{"geocad.txt", 3, 1, "geocad.csv"},
                    Conversion{"alt.txt", 4, 1, "alt.csv"},
                    Conversion{"argus.txt", 5, 1, "argus.csv"},
                    Conversion{"cowi.txt", 6, 1, "cowi.csv"},
                    Conversion{"komma.txt", 7, 1, "komma.csv"},
                    Conversion{"komma.txt", 7, -1, "komma_sign.csv"}));

// Every refusal: 255, the user told why, the output file byte for byte as it
// was and no other file written.
class KoordlesRefusal : public testing::Test {
 protected:
  void SetUp() override {
    work_ = dir_.path();
    tests_support::PrivateSettings(work_);
    out_ = work_ + "user.csv";
    WriteFile(out_, kUserBytes);
  }

  // Runs koordles and returns what it told the user.
  std::string Refused(const std::string& in, int format) {
    testing::internal::CaptureStderr();
    int16_t result = danvora::Koordles(in.c_str(), out_.c_str(),
                                       danvora::ToExportFormat(format), 1);
    std::string told = testing::internal::GetCapturedStderr();
    // Windows' text-mode stderr writes CR LF.
    for (size_t at; (at = told.find("\r\n")) != std::string::npos;) {
      told.erase(at, 1);
    }
    EXPECT_EQ(result, 255);
    EXPECT_EQ(ReadFile(out_), kUserBytes);
    EXPECT_EQ(tests_support::FilesIn(work_).size(), 1u) << "only the user's file";
    return told;
  }

  static constexpr char kUserBytes[] = "1,2.0000,3.0000,4.0000,K\r\n";
  tests_support::ScopedTempDir dir_;
  std::string work_;
  std::string out_;
};

TEST_F(KoordlesRefusal, FormatsItCannotReadBeforeAnyFileIsOpened) {
  // The input does not even exist: the format is refused first.
  const std::string in = work_ + "missing.txt";
  EXPECT_EQ(Refused(in, 8), "Format SVK kan ikke indl\xe6ses\n");
  EXPECT_EQ(Refused(in, 9), "Format DAS kan ikke indl\xe6ses\n");
  EXPECT_EQ(Refused(in, 10), "Format DDH kan ikke indl\xe6ses\n");
  EXPECT_EQ(Refused(in, 11), "Format 11 kan ikke indl\xe6ses\n");
  // What the front end passes without "-Format=".
  EXPECT_EQ(Refused(in, -1), "Format -1 kan ikke indl\xe6ses\n");
  EXPECT_EQ(Refused(TestData("frontend/koordles/komma.txt"), 100),
            "Format 100 kan ikke indl\xe6ses\n");
}

TEST_F(KoordlesRefusal, InputThatCannotBeOpened) {
  const std::string in = work_ + "missing.txt";
  EXPECT_EQ(Refused(in, 7), "Kunne ikke \xe5" "bne " + in + "\n");
  EXPECT_EQ(Refused("", 7), "Kunne ikke \xe5" "bne \n");
}

TEST_F(KoordlesRefusal, OutputThatCannotBeWritten) {
  tests_support::SetEnvironment("PELIXO_FAIL_WRITES", "user.csv");
  std::string told = Refused(TestData("frontend/koordles/komma.txt"), 7);
  tests_support::ClearEnvironment("PELIXO_FAIL_WRITES");
  // Either the file could not be started or not be finished.
  EXPECT_TRUE(told == "Kunne ikke \xe5" "bne " + out_ + "\n" ||
              told == "Kunne ikke skrive " + out_ + "\n")
      << told;
}

TEST(KoordlesText, TextModeReadingOfTheInput) {
  using namespace std::string_literals;
  // CR LF and LF read alike; Ctrl-Z ends the file; a NUL ends its line.
  EXPECT_EQ(danvora::ConvertCoordinateText(
                "1,1.0,2.0,3.0,A\r\n2,1.5,2.5,3.5,B\n3,0.1\0,9.9,C\n"
                "\x1a" "4,1.0,1.0,1.0,D\n"s,
                danvora::ExportFormat::kKomma, 1),
            "1,1.0000,2.0000,3.0000,A\r\n2,1.5000,2.5000,3.5000,B\r\n"
            "3,0.1000,0.0000,0.0000,\r\n");
  // A line longer than 320 characters is read in pieces of 320.
  const std::string code(320 - 15, 'x');
  EXPECT_EQ(danvora::ConvertCoordinateText(
                "5,1.0,2.0,3.0,A" + code + "6,4.0,5.0,6.0,B\n",
                danvora::ExportFormat::kKomma, 1),
            "5,1.0000,2.0000,3.0000,A" + code +
                "\r\n6,4.0000,5.0000,6.0000,B\r\n");
}

// Numbers are written with four decimals as the C library rounds them:
// exact halves to even, long and tiny numbers and exponents alike.
TEST(KoordlesText, FourDecimalsRoundAsPrintfDoes) {
  for (const char* number : {"1.03125", "0.09375", "-0.09375", "2.00005", "-0.0", "-0.00001",
                             "123456789012.34567", "1234567890123456789.0", "0.000049999",
                             "6100000.12345", "1.5e3", "99999.99995", "0.1", "-7.77777"}) {
    char expected[256];
    std::snprintf(expected, sizeof expected, "p,%.4f,0.0000,0.0000,K\r\n",
                  std::strtod(number, nullptr));
    EXPECT_EQ(danvora::ConvertCoordinateText(
                  std::string("p,") + number + ",0,0,K\n",
                  danvora::ExportFormat::kKomma, 1),
              expected)
        << number;
  }
}

TEST(KoordlesText, NumbersAreReadAsDecimalsOnly) {
  // No hexadecimal, infinity or not-a-number from a token; an exponent and
  // a leading sign are fine; a token without digits is 0.
  EXPECT_EQ(danvora::ConvertCoordinateText(
                "a,0x10.5,inf.0,nan.0,K\nb,+1.5e2,-2.5E-1,.5,K\nc,-.,x1.0,"
                "1e999.,K\n",
                danvora::ExportFormat::kKomma, 1),
            "a,0.0000,0.0000,0.0000,K\r\nb,150.0000,-0.2500,0.5000,K\r\n"
            "c,0.0000,0.0000,inf,K\r\n");
}

TEST(KoordlesText, AnyBytesInAnyFormat) {
  // Pseudo-random bytes with many line ends, tabs and markers: never a crash,
  // and every output line has the five fields.
  uint32_t state = 12345;
  std::string bytes;
  const char alphabet[] = "\t\n\r ,./*'&_#CE0123456789.-\x86\x9b\x1a";
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245u + 12345u;
    uint32_t pick = (state >> 16) % 64;
    bytes += pick < sizeof alphabet - 1 ? alphabet[pick]
                                        : static_cast<char>(state >> 8);
  }
  for (int format = -2; format <= 12; ++format) {
    std::string out = danvora::ConvertCoordinateText(
        bytes, danvora::ToExportFormat(format), -1);
    if (format < 0 || format > 7) {
      EXPECT_TRUE(out.empty());
    }
  }
}

}  // namespace
