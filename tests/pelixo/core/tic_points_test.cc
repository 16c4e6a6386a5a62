// The points file of a received job: which lines are points, how items are
// taken, and that the first point of a name wins in a large file too.
#include "pelixo/core/tic_points.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace pelixo {
namespace {

PointRecord Parse(const std::string& line) {
  PointRecord record;
  EXPECT_TRUE(TTICPointhandler::ParsePointLine(line, &record)) << line;
  return record;
}

// Name, code, north, east and height of a point, compared at once.
using Point = std::tuple<std::string, std::string, double, double, double>;
Point Fields(const PointRecord& r) { return {r.Name, r.Code, r.North, r.East, r.Height}; }

TEST(TicPointLineTest, ItemsAreTakenBetweenCommas) {
  EXPECT_EQ(Fields(Parse("NEZ,\"P7\",\"FENCE\",100.5,200.25,10.0,X")),
            (Point{"P7", "FENCE", 100.5, 200.25, 10.0}));

  // The last item of a line, not followed by a comma, reads as empty.
  EXPECT_EQ(Parse("NEZ,\"P7\",\"FENCE\",100.5,200.25,10.0").Height, 1e308);

  EXPECT_EQ(Fields(Parse("STN,S1,,x,1,2,3,")), (Point{"S1", "", 1, 2, 3}));
  EXPECT_EQ(Parse("PLR STN,S2,,x,4,5,6,").Height, 6);

  PointRecord base = Parse("BASE,B1,,a,b,c,1,2,3,");
  EXPECT_EQ(base.North, 1);
  EXPECT_EQ(base.Height, 3);
  EXPECT_EQ(Parse("RTK,R1,,a,b,c,7,8,9,").East, 8);
}

TEST(TicPointLineTest, NamesKeepBlanksAndLoseQuotes) {
  // Leading blanks of a number are allowed.
  EXPECT_EQ(Fields(Parse("NEZ, \"A\"\"B\" ,C\"D,  1.5,+2,-3e1,")),
            (Point{" AB ", "CD", 1.5, 2, -30}));
}

TEST(TicPointLineTest, BrokenValuesAreMissing) {
  // Nothing may follow the number.
  EXPECT_EQ(Fields(Parse("NEZ,P,C,1.5 ,nan,,")), (Point{"P", "C", 1e308, 1e308, 1e308}));
  // Cut short anywhere: what is missing is missing.
  PointRecord short_line = Parse("RTK,R");
  EXPECT_EQ(short_line.Name, "");
  EXPECT_EQ(short_line.North, 1e308);
}

TEST(TicPointLineTest, OnlyPointTypesAtTheStartCount) {
  PointRecord record;
  EXPECT_FALSE(TTICPointhandler::ParsePointLine("nez,P7,,1,2,3,", &record));
  EXPECT_FALSE(TTICPointhandler::ParsePointLine(" NEZ,P7,,1,2,3,", &record));
  EXPECT_FALSE(TTICPointhandler::ParsePointLine("JOB,\"A\",1070", &record));
  EXPECT_FALSE(TTICPointhandler::ParsePointLine("", &record));
}

TEST(TicPointHandlerTest, LoadsTheFileAndFindsTheFirstPointOfAName) {
  TTICPointhandler points;
  ASSERT_TRUE(points.LoadFromFile(PELIXO_TEST_DATA "/receive/job1.tic"));
  ASSERT_EQ(points.Points().size(), 3u);
  std::string code = "untouched";
  double north = 0, east = 0, height = 0;
  ASSERT_TRUE(points.FindPoint("M1", &code, &north, &east, &height));
  EXPECT_EQ(code, "FENCE");
  EXPECT_EQ(north, 5000.126);
  EXPECT_EQ(east, 6000.5);
  EXPECT_EQ(height, 70.26);

  code = "untouched";
  EXPECT_FALSE(points.FindPoint("m1", &code, &north, &east, &height));
  EXPECT_FALSE(points.FindPoint("M2", &code, &north, &east, &height));  // "nez" line
  EXPECT_EQ(code, "untouched");
}

TEST(TicPointHandlerTest, AMissingFileNamesItself) {
  TTICPointhandler points;
  platform::Status loaded = points.LoadFromFile(PELIXO_TEST_DATA "/receive/none.tic");
  ASSERT_FALSE(loaded);
  EXPECT_EQ(loaded.error().message(),
            "Cannot open file " PELIXO_TEST_DATA "/receive/none.tic");
}

TEST(TicPointHandlerTest, ALargeJobKeepsFileOrder) {
  std::string text = "JOB,\"BIG\",1070\r\n";
  const int kPoints = 100000;
  for (int i = 0; i < kPoints; ++i) {
    const std::string number = std::to_string(i);
    text.append("NEZ,\"P").append(number).append("\",\"C\",").append(number).append(",1,2,\n");
  }
  // Later points of an existing name, in another line-end style.
  text += "NEZ,\"P5\",\"LATE\",-1,-1,-1,\rRTK,\"P7\",\"LATE\",a,b,c,-1,-1,-1,\r\n";
  TTICPointhandler points;
  points.LoadFromText(text);
  ASSERT_EQ(points.Points().size(), static_cast<size_t>(kPoints + 2));
  std::string code;
  double north = 0, east = 0, height = 0;
  for (int i : {0, 5, 7, kPoints - 1}) {
    std::string name = "P";
    name += std::to_string(i);
    ASSERT_TRUE(points.FindPoint(name, &code, &north, &east, &height));
    EXPECT_EQ(code, "C");
    EXPECT_EQ(north, i);
  }
  EXPECT_EQ(points.Points().back().Code, "LATE");
}

// Lookups in file order go quickly, but a later point of a name that the
// order would reach next is still never the one found.
TEST(TicPointHandlerTest, LookupsInFileOrderStillFindTheFirstOfAName) {
  TTICPointhandler points;
  points.LoadFromText("NEZ,A,C1,1,1,1,\nNEZ,B,C2,2,2,2,\nNEZ,A,C3,3,3,3,\n");
  points.LoadFromText("NEZ,B,C4,4,4,4,\nNEZ,D,C5,5,5,5,\n");
  std::string code;
  double north = 0, east = 0, height = 0;
  for (const char* name : {"A", "B", "A", "B", "D", "A"}) {
    ASSERT_TRUE(points.FindPoint(name, &code, &north, &east, &height)) << name;
    EXPECT_EQ(code, std::string(name) == "A" ? "C1" : std::string(name) == "B" ? "C2" : "C5");
  }
  EXPECT_FALSE(points.FindPoint("C", &code, &north, &east, &height));
}

TEST(TicPointHandlerTest, ABinaryFileLoadsWhatItCan) {
  std::string bytes = "NEZ,\"OK\",,1,2,3,\n";
  for (int i = 1; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 7919) % 256));
  TTICPointhandler points;
  points.LoadFromText(bytes);  // a NUL ends the text
  std::string code;
  double north = 0, east = 0, height = 0;
  EXPECT_TRUE(points.FindPoint("OK", &code, &north, &east, &height));
  EXPECT_EQ(height, 3);
}

}  // namespace
}  // namespace pelixo
