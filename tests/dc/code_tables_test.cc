#include "dc/code_tables.h"

#include <gtest/gtest.h>

namespace dc {
namespace {

TEST(CodeTablesTest, PointClasses) {
  EXPECT_EQ(PointClassName(0), "Offset");
  EXPECT_EQ(PointClassName(1), "Normal");
  EXPECT_EQ(PointClassName(5), "Reference");
  EXPECT_EQ(PointClassName(7), "Slettet Control");
  EXPECT_EQ(PointClassName(10), "Slettet Reference");
  EXPECT_EQ(PointClassName(11), "");
  EXPECT_EQ(PointClassName(-16), "");
  EXPECT_TRUE(IsDeletedClass(7));
  EXPECT_TRUE(IsDeletedClass(6));
  EXPECT_FALSE(IsDeletedClass(5));
}

TEST(CodeTablesTest, Methods) {
  EXPECT_EQ(MethodName(0), "");
  EXPECT_EQ(MethodName(1), "Indtastet");
  EXPECT_EQ(MethodName(5), "Kopieret");
  EXPECT_EQ(MethodName(8), "Egnos/WAAS");
  EXPECT_EQ(MethodName(10), "GPSnet fixed");
  EXPECT_EQ(MethodName(62), "");
}

TEST(CodeTablesTest, InitialisationBytes) {
  EXPECT_EQ(InitialisationResultName(0), "");
  EXPECT_EQ(InitialisationResultName(1), "opn\xE5" "et.");
  EXPECT_EQ(InitialisationResultName(4), "d\xE5rlig.");
  EXPECT_EQ(InitialisationResultName(5), "h\xF8j RMS.");
  EXPECT_EQ(InitialisationResultName(7), "brugerstop.");
  EXPECT_EQ(InitialisationResultName(8), "");
  EXPECT_EQ(InitialisationMethodName(0), "");
  EXPECT_EQ(InitialisationMethodName(1), "Initialiseringsplade");
  EXPECT_EQ(InitialisationMethodName(4), "On the fly");
  EXPECT_EQ(InitialisationMethodName(5), "");
}

}  // namespace
}  // namespace dc
