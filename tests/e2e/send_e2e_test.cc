// A send whose upload definition runs the front end with "-UP": the chosen
// GEOCAD file is converted through koordles, kept as ".org", and Pelixo sends
// the converted points, into a DC file or onto the simulated device. A
// converter that fails stops the send before anything is sent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_world.h"

namespace e2e {
namespace {

using Names = std::vector<std::string>;

// The job's records after the header record 00, whose date is the time of
// the send.
std::string AfterHeaderRecord(const std::string& job) {
  size_t end = job.find("\r\n");
  EXPECT_EQ(job.substr(0, 4), "00NM") << job;
  return end == std::string::npos ? std::string() : job.substr(end + 2);
}

// The device's file has no line end after its last record.
std::string WithFinalLineEnd(std::string text) {
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) text += "\r\n";
  return text;
}

TEST_F(EndToEnd, GeocadSendConvertsTheChosenFileIntoTheDCFile) {
  const std::string chosen = user_ + "havn7.geo";
  WriteFile(chosen, Data("havn7.geo"));
  ASSERT_EQ(Pelixo({"send", "--ini", ini_, "--format", "GEOCAD coordinate file", "--job", "HAVN7",
                    "--dc-version", "10.7", "--out", user_ + "HAVN7.DC", chosen}),
            0)
      << stderr_;
  EXPECT_EQ(stderr_,
            "pelixo send: 3 points written, 0 input lines skipped, 0 values cut to 16 "
            "characters\n");
  EXPECT_EQ(AfterHeaderRecord(ReadFile(user_ + "HAVN7.DC")), Data("havn7_geo_job.dc"));
  // The user's file is kept as ".org"; the converted points took its name.
  EXPECT_EQ(ReadFile(chosen + ".org"), Data("havn7.geo"));
  EXPECT_EQ(ReadFile(chosen), Data("havn7_geo.csv"));
  EXPECT_EQ(FilesIn(user_), (Names{"HAVN7.DC", "havn7.geo", "havn7.geo.org"}));
}

TEST_F(EndToEnd, GeocadSendPutsTheConvertedPointsOnTheDevice) {
  const std::string chosen = user_ + "havn7.geo";
  WriteFile(chosen, Data("havn7.geo"));
  ASSERT_EQ(Pelixo({"send", "--ini", ini_, "--format", "GEOCAD coordinate file", "--job", "HAVN7",
                    "--device", chosen}),
            0)
      << stderr_;
  ASSERT_EQ(FilesIn(device_), Names{"HAVN7.DC"});
  EXPECT_EQ(WithFinalLineEnd(AfterHeaderRecord(ReadFile(device_ + "HAVN7.DC"))),
            Data("havn7_geo_job.dc"));
  EXPECT_EQ(ReadFile(chosen + ".org"), Data("havn7.geo"));
  EXPECT_EQ(FilesIn(user_), (Names{"havn7.geo", "havn7.geo.org"}));
  // The job written for the device is removed after the transfer.
  EXPECT_EQ(FilesIn(temp_), Names{});
}

struct FailingConversion {
  const char* format;    // the upload definition
  const char* options;   // its front-end options
  const char* file;      // the user's file, created unless `missing`
  bool missing;
  bool earlier_backup;   // a ".org" file of an earlier send is there
  const char* message;   // what the front end says, "%s" the user's file
};

TEST_F(EndToEnd, FailingConverterStopsTheSend) {
  const FailingConversion cases[] = {
      {"DDH coordinate file", "-UP -Format=DDH", "havn7.ddh", false, false,
       "Format DDH kan ikke indl\xe6ses"},
      {"Coordinate file without format", "-UP", "havn7.txt", false, false,
       "Format -1 kan ikke indl\xe6ses"},
      {"GEOCAD coordinate file", "-UP -Format=GEOCAD", "none.geo", true, false,
       "Kunne ikke \xe5" "bne %s"},
      {"GEOCAD coordinate file", "-UP -Format=GEOCAD", "havn7.geo", false, true,
       "Kunne ikke omd\xf8" "be %s til %s.org"},
  };
  for (const FailingConversion& c : cases) {
    for (bool to_device : {false, true}) {
      SCOPED_TRACE(std::string(c.options) + (to_device ? " --device" : " --out"));
      const std::string chosen = user_ + c.file;
      if (!c.missing) WriteFile(chosen, Data("havn7.geo"));
      if (c.earlier_backup) WriteFile(chosen + ".org", "earlier backup\r\n");
      const Names before = FilesIn(user_);

      std::vector<std::string> arguments = {"send", "--ini", ini_, "--format", c.format,
                                            "--job", "FAIL"};
      if (to_device) {
        arguments.push_back("--device");
      } else {
        arguments.insert(arguments.end(), {"--out", out_ + "FAIL.DC"});
      }
      arguments.push_back(chosen);
      EXPECT_EQ(Pelixo(arguments), 1) << stderr_;

      std::string message = c.message;
      for (size_t at = message.find("%s"); at != std::string::npos; at = message.find("%s", at)) {
        message.replace(at, 2, chosen);
        at += chosen.size();
      }
      // The front end's message, then Pelixo's, and no summary of a send.
      EXPECT_EQ(stderr_,
                message + "\npelixo send: " + FrontEndCommand(c.options) +
                    " ended with exit code 1\n");

      // Nothing sent, nothing of the user's lost.
      EXPECT_EQ(FilesIn(out_), Names{});
      EXPECT_EQ(FilesIn(device_), Names{});
      EXPECT_EQ(FilesIn(temp_), Names{});
      if (c.missing) {
        EXPECT_EQ(FilesIn(user_), Names{});
      } else if (c.earlier_backup) {
        // Both as they were; no conversion left behind.
        EXPECT_EQ(FilesIn(user_), (Names{"havn7.geo", "havn7.geo.org"}));
        EXPECT_EQ(ReadFile(chosen + ".org"), "earlier backup\r\n");
      } else {
        EXPECT_EQ(FilesIn(user_), before);
      }
      if (!c.missing) {
        EXPECT_EQ(ReadFile(chosen), Data("havn7.geo"));
      }
      RemoveFilesIn(user_);
    }
  }
}

}  // namespace
}  // namespace e2e
