#include "danvora/known_points.h"

#include <string>

#include <gtest/gtest.h>

#include "danvora/library_state.h"
#include "dc/fields.h"
#include "tests/danvora/test_util.h"
#include "tests/support/special_files.h"

namespace danvora {
namespace {

class KnownPointsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::FreshLibrary(); }

  KnownPointsLoad Load(const std::string& bytes) {
    const std::string path = testing::FolderOfTest("known_") + "points.csv";
    testing::WriteFile(path, bytes);
    return load_known_points(path);
  }
  const std::vector<KnownPoint>& Entries() {
    return library_state().known_point_table.entries;
  }
};

TEST_F(KnownPointsTest, StoresAbsoluteSecondFirstThird) {
  ASSERT_EQ(Load("P7,100.5,-200.25,12,code,extra\r\n"),
            KnownPointsLoad::kLoaded);
  ASSERT_EQ(Entries().size(), 1u);
  EXPECT_EQ(Entries()[0].name, "P7");
  EXPECT_EQ(Entries()[0].coordinates.x, 200.25);
  EXPECT_EQ(Entries()[0].coordinates.y, 100.5);
  EXPECT_EQ(Entries()[0].coordinates.z, 12.0);
}

TEST_F(KnownPointsTest, MissingFileIsAnEmptyTable) {
  Load("A,1,2,3\n");
  EXPECT_EQ(load_known_points(testing::TestFolder("known_none") + "no.csv"),
            KnownPointsLoad::kLoaded);
  EXPECT_TRUE(Entries().empty());
}

#ifndef _WIN32
// A folder, FIFO or device where the known points are looked for is read
// as no file: an empty table, without a wait.
TEST_F(KnownPointsTest, NoRegularFileIsAnEmptyTable) {
  const std::string folder = testing::TestFolder("known_special");
  const std::string fifo = folder + "points.csv";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {folder, fifo, std::string("/dev/null")}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(tests_support::ExitCodeWithin(10, [this, &path] {
                Load("A,1,2,3\n");
                return load_known_points(path) == KnownPointsLoad::kLoaded &&
                               Entries().empty()
                           ? 0
                           : 1;
              }),
              0);
  }
}
#endif

TEST_F(KnownPointsTest, SkipsShortLinesAndKeepsLongNamesWhole) {
  const std::string long_a = std::string(30, 'N') + "A";
  const std::string long_b = std::string(30, 'N') + "B";
  ASSERT_EQ(Load("only,two,commas\n" + long_a + ",1,2,3\n" + long_b +
                 ",4,5,6\n\n,7,8,9\r\nx,1,2\n"),
            KnownPointsLoad::kLoaded);
  ASSERT_EQ(Entries().size(), 3u);
  Triple t;
  EXPECT_EQ(find_known_point(long_b, &t, 0), 1);
  EXPECT_EQ(t.y, 4.0);
  EXPECT_EQ(find_known_point(std::string(30, 'N'), &t, 0), 0);  // not found
  EXPECT_EQ(t.y, 4.0);
  EXPECT_EQ(find_known_point("", &t, 0), 2);  // an empty name is a name
}

TEST_F(KnownPointsTest, LongLinesAreOneEntry) {
  // A long code after the numbers: the tail of the line is no point.
  ASSERT_EQ(Load("P1,1,2,3," + std::string(200, 'c') +
                 ",X9,4,5,6\r\nP2,7,8,9\r\n"),
            KnownPointsLoad::kLoaded);
  ASSERT_EQ(Entries().size(), 2u);
  EXPECT_EQ(Entries()[0].name, "P1");
  EXPECT_EQ(Entries()[1].name, "P2");
}

TEST_F(KnownPointsTest, EmptyNumbersAreMissing) {
  // Pelixo's own export leaves the height of a point without one empty.
  ASSERT_EQ(Load("P1,100.5,200.25,\r\nP2, ,,0\r\n"), KnownPointsLoad::kLoaded);
  ASSERT_EQ(Entries().size(), 2u);
  EXPECT_EQ(Entries()[0].coordinates.y, 100.5);
  EXPECT_EQ(Entries()[0].coordinates.z, dc::kMissing);
  EXPECT_EQ(Entries()[1].coordinates.y, dc::kMissing);
  EXPECT_EQ(Entries()[1].coordinates.x, dc::kMissing);
  EXPECT_EQ(Entries()[1].coordinates.z, 0.0);
}

TEST_F(KnownPointsTest, AtMostFiveThousandWithOneMessage) {
  std::string bytes;
  for (int i = 0; i < 5003; ++i) {
    bytes += 'P';
    bytes += std::to_string(i);
    bytes += ",1,2,3\n";
  }
  ::testing::internal::CaptureStderr();
  ASSERT_EQ(Load(bytes), KnownPointsLoad::kLoaded);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Entries().size(), 5000u);
  EXPECT_EQ(err, "Max. antal kendte punkter 5000 n\xE5" "et!\n");
  ::testing::internal::CaptureStderr();
  Load(bytes.substr(0, bytes.find("P5000")));  // exactly 5000: no message
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(Entries().size(), 5000u);
}

TEST_F(KnownPointsTest, ForwardSearchWrapsWithoutMovingThePosition) {
  Load("A1,1,10,100\nA2,2,20,200\nA3,3,30,300\n");
  Triple t{-1, -1, -1};
  int position = 0;
  position = find_known_point("A2", &t, position);
  EXPECT_EQ(position, 1);
  EXPECT_EQ(t.y, 2.0);
  // "A1" stands before the position: found, the position stays.
  position = find_known_point("A1", &t, position);
  EXPECT_EQ(position, 1);
  EXPECT_EQ(t.y, 1.0);
  EXPECT_EQ(t.x, 10.0);
  position = find_known_point("A3", &t, position);
  EXPECT_EQ(position, 2);
  t = Triple{-1, -1, -1};
  EXPECT_EQ(find_known_point("ZZ", &t, position), 2);
  EXPECT_EQ(t.y, -1.0);
  EXPECT_EQ(find_known_point("a1", &t, 0), 0);  // case matters
  EXPECT_EQ(t.y, -1.0);
  EXPECT_EQ(find_known_point("A1", &t, 99), 99);  // past the end
  EXPECT_EQ(t.y, 1.0);
}

TEST_F(KnownPointsTest, BackwardSearch) {
  Load("A1,1,10,100\nA2,2,20,200\nA3,3,30,300\n");
  Triple t;
  EXPECT_EQ(find_known_point("A1", &t, -2), 0);
  EXPECT_EQ(find_known_point("A3", &t, -1), -1);  // from index 1 down
  EXPECT_EQ(find_known_point("A3", &t, -50), 2);  // held to the table
  clear_known_points();
  EXPECT_EQ(find_known_point("A3", &t, -2), -1);
  EXPECT_EQ(find_known_point("A3", &t, 3), 3);
}

}  // namespace
}  // namespace danvora
