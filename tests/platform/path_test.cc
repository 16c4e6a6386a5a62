#include "platform/path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace platform;

TEST(PathTest, FolderFileNameAndStemToFirstDot) {
  const std::string s(1, PathSeparator());
  const std::string download = "C:" + s + "Jobs" + s + "Site1.txt";
  EXPECT_EQ(FolderOf(download), "C:" + s + "Jobs" + s);
  EXPECT_EQ(StemToFirstDot(download), "Site1");
  EXPECT_EQ(FileNameOf(download), "Site1.txt");
  EXPECT_EQ(FileNameOf("D:JOB.dc"), "JOB.dc");
  EXPECT_EQ(FileNameOf("JOB.dc"), "JOB.dc");
  EXPECT_EQ(FileNameStart(download), download.size() - 9);
  // The front end's report of "-QA".
  EXPECT_EQ(FolderOf(download) + StemToFirstDot(download) + ".qa",
            "C:" + s + "Jobs" + s + "Site1.qa");
  // The stem ends at the first "." of the file name only.
  const std::string dotted = s + "a.b" + s + "P.geo.txt";
  EXPECT_EQ(StemToFirstDot(dotted), "P");
  EXPECT_EQ(FolderOf(dotted), s + "a.b" + s);
  EXPECT_EQ(StemToFirstDot(s + "a.b" + s + "NoDot"), "NoDot");
  // Without a folder: a lone separator, and a drive letter is not a name
  // (though it starts no file name either).
  EXPECT_EQ(FolderOf("Site1.txt"), s);
  EXPECT_EQ(StemToFirstDot("Site1.txt"), "Site1");
  EXPECT_EQ(StemToFirstDot("D:P.geo"), "P");
  EXPECT_EQ(FileNameStart("D:P.geo"), 0u);
  EXPECT_EQ(FolderOf(""), s);
  EXPECT_EQ(StemToFirstDot(""), "");
}

TEST(PathTest, ExtensionsFromTheLastDot) {
  EXPECT_EQ(ReplaceExtension("C:\\Data.2024\\site", ".info"), "C:\\Data.2024\\site.info");
  EXPECT_EQ(ReplaceExtension("/tmp/job.DC", ".tic"), "/tmp/job.tic");
  EXPECT_EQ(ReplaceExtension("a.b.c", ".x"), "a.b.x");
  EXPECT_EQ(ReplaceExtension("job.DC", ""), "job");
  EXPECT_EQ(ExtensionOf("a/b.Job"), ".Job");
  EXPECT_EQ(ExtensionOf("a.b/c"), "");
  // Both slashes end the folder on every build.
  EXPECT_EQ(ExtensionOf("a.b\\c"), "");
  // A colon ends the name for Pelixo's files but not for the library's.
  EXPECT_EQ(ReplaceExtension("out.v1:final", ".info"), "out.v1:final.info");
  EXPECT_EQ(ReplaceExtension("out.v1:final", ".info", ExtensionRule::kSlashes),
            "out.info");
  EXPECT_EQ(ExtensionOf("C:job"), "");
  EXPECT_EQ(ExtensionOf("C:job", ExtensionRule::kSlashes), "");
}

}  // namespace
