#include "pelixo/core/format_definitions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/files.h"

namespace pelixo {
namespace {

class FormatDefinitionsTest : public ::testing::Test {
 protected:
  // Writes `text` as the INI file and loads it.
  bool LoadText(const std::string& text) {
    path_ = platform::TempDirectory() + "pelixo_formats_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
    std::ofstream(path_, std::ios::binary) << text;
    return definitions_.Load(path_);
  }
  void TearDown() override { std::remove(path_.c_str()); }

  const TFormatDefinition& At(int index) { return definitions_[index]; }

  std::string path_;
  TFormatDefinitions definitions_;
};

TEST_F(FormatDefinitionsTest, MissingOrEmptyFileLoadsNothing) {
  EXPECT_FALSE(definitions_.Load(platform::TempDirectory() + "no_such_formats.ini"));
  EXPECT_FALSE(LoadText(""));
  EXPECT_FALSE(LoadText("; only a comment\r\n; and another\r\n"));
}

TEST_F(FormatDefinitionsTest, SectionsWithoutEntriesMakeNoDefinition) {
  ASSERT_TRUE(LoadText("[A]\r\n[B]\r\nNAME=Second\r\n[C]\r\n[D]\r\nNAME=Fourth\r\n"));
  ASSERT_EQ(definitions_.Count(), 2);
  EXPECT_EQ(At(0).Section, "B");
  EXPECT_EQ(At(0).Name, "Second");
  EXPECT_EQ(At(1).Name, "Fourth");

}

TEST_F(FormatDefinitionsTest, OnlyEmptySectionsLoadWithoutDefinitions) {
  ASSERT_TRUE(LoadText("[A]\r\n[B]\r\n"));
  EXPECT_EQ(definitions_.Count(), 0);
}

TEST_F(FormatDefinitionsTest, DefaultsOfAbsentKeys) {
  ASSERT_TRUE(LoadText("[Plain]\r\nFOO=bar\r\n"));
  ASSERT_EQ(definitions_.Count(), 1);
  const TFormatDefinition& d = At(0);
  EXPECT_EQ(d.Name, "Plain");
  EXPECT_EQ(d.Description, "Plain");
  EXPECT_EQ(d.Extension, "txt");
  EXPECT_FALSE(d.Upload);
  EXPECT_FALSE(d.CommaSeparated);
  EXPECT_EQ(d.ExternalProgram, "");
  EXPECT_EQ(d.PadCharacter, ' ');
  EXPECT_EQ(d.Fields.Count(), 0);
}

TEST_F(FormatDefinitionsTest, DirectionAndStyle) {
  ASSERT_TRUE(LoadText(
      "[a]\r\nDIRECTION=Upload\r\nSTYLE=comma\r\n"
      "[b]\r\nDIRECTION= uploads \r\nSTYLE=Commas\r\n"
      "[c]\r\nDIRECTION=Download\r\nSTYLE=Fixed\r\n"
      "[d]\r\nDIRECTION=Up\r\n"));
  ASSERT_EQ(definitions_.Count(), 4);
  EXPECT_TRUE(At(0).Upload);
  EXPECT_TRUE(At(0).CommaSeparated);
  EXPECT_TRUE(At(1).Upload);
  EXPECT_FALSE(At(1).CommaSeparated);
  EXPECT_FALSE(At(2).Upload);
  EXPECT_FALSE(At(2).CommaSeparated);
  EXPECT_FALSE(At(3).Upload);
}

TEST_F(FormatDefinitionsTest, PadCharacter) {
  ASSERT_TRUE(LoadText("[a]\r\nPADCHARACTER=0\r\n[b]\r\nPADCHARACTER=*#\r\n"
                       "[c]\r\nPADCHARACTER=\r\n"));
  ASSERT_EQ(definitions_.Count(), 3);
  EXPECT_EQ(At(0).PadCharacter, '0');
  EXPECT_EQ(At(1).PadCharacter, '*');
  EXPECT_EQ(At(2).PadCharacter, ' ');
}

TEST_F(FormatDefinitionsTest, KeysBelongByTheirStart) {
  // NAMES counts as NAME; the first entry of a keyword wins.
  ASSERT_TRUE(LoadText(
      "[s]\r\nNAMES=From names\r\nNAME=Later\r\nEXTENSION= pkt \r\n"
      "EXTERNALPROGRAM= conv.exe -x \"a b\" \r\nDESCRIPTION=Points\r\n"));
  ASSERT_EQ(definitions_.Count(), 1);
  EXPECT_EQ(At(0).Name, "From names");
  EXPECT_EQ(At(0).Extension, "pkt");
  EXPECT_EQ(At(0).ExternalProgram, "conv.exe -x \"a b\"");
  EXPECT_EQ(At(0).Description, "Points");
}

TEST_F(FormatDefinitionsTest, FieldsHeadersAndFootersInFileOrder) {
  ASSERT_TRUE(LoadText(
      "[s]\r\nHEADER1=\"  first  \"\r\nFIELD1=NAME,STRING,10,0,LEFT\r\n"
      "FIELDX=NORTHING,REAL,12,3,RIGHT,0\r\nHEADER2=second\r\n"
      "FIELD3=NAME,STRING,10,0\r\nFIELD4=CODE,STRING,ten,0,LEFT\r\n"
      "FOOTER1=end\r\n"));
  const TFormatDefinition& d = At(0);
  ASSERT_EQ(d.Fields.Count(), 2);
  EXPECT_EQ(d.Fields[0].Token, "NAME");
  EXPECT_FALSE(d.Fields[0].Numeric);
  EXPECT_EQ(d.Fields[0].Width, 10);
  EXPECT_FALSE(d.Fields[0].RightAligned);
  EXPECT_EQ(d.Fields[1].Token, "NORTHING");
  EXPECT_TRUE(d.Fields[1].Numeric);
  EXPECT_EQ(d.Fields[1].Decimals, 3);
  EXPECT_TRUE(d.Fields[1].RightAligned);
  EXPECT_EQ(d.Fields[1].Literal, "0");
  ASSERT_EQ(d.HeaderLines.size(), 2u);
  EXPECT_EQ(d.HeaderLines[0], "  first  ");
  EXPECT_EQ(d.HeaderLines[1], "second");
  ASSERT_EQ(d.FooterLines.size(), 1u);
  EXPECT_EQ(d.FooterLines[0], "end");
}

TEST_F(FormatDefinitionsTest, DuplicateKeysGiveTheFirstValueTwice) {
  ASSERT_TRUE(LoadText("[s]\r\nFIELD=NAME,STRING,4,0,LEFT\r\nFIELD=CODE,STRING,4,0,LEFT\r\n"));
  const TFormatDefinition& d = At(0);
  ASSERT_EQ(d.Fields.Count(), 2);
  EXPECT_EQ(d.Fields[0].Token, "NAME");
  EXPECT_EQ(d.Fields[1].Token, "NAME");
}

TEST(ParseFieldValueTest, ItemsAndLiterals) {
  EXPECT_FALSE(ParseFieldValue("NAME, STRING, 10, 0"));
  EXPECT_FALSE(ParseFieldValue("NAME,STRING,ten,0,LEFT"));
  EXPECT_FALSE(ParseFieldValue("NAME,STRING,10,x,LEFT"));
  EXPECT_FALSE(ParseFieldValue(""));

  std::optional<TField> left = ParseFieldValue("NAME, STRING, 10, 0, LEFT");
  ASSERT_TRUE(left);
  EXPECT_FALSE(left->Numeric);
  EXPECT_EQ(left->Width, 10);
  EXPECT_FALSE(left->RightAligned);
  EXPECT_EQ(left->Literal, "");

  std::optional<TField> empty_items = ParseFieldValue(" Northing ,,$1A,-2,");
  ASSERT_TRUE(empty_items);
  EXPECT_EQ(empty_items->Token, "Northing");
  EXPECT_TRUE(empty_items->Numeric);
  EXPECT_EQ(empty_items->Width, 26);
  EXPECT_EQ(empty_items->Decimals, -2);
  EXPECT_TRUE(empty_items->RightAligned);

  EXPECT_EQ(ParseFieldValue("TEXT,STRING,0,0,LEFT,\"a,b\"")->Literal, "a,b");
  EXPECT_EQ(ParseFieldValue("TEXT,STRING,0,0,LEFT,\"abc")->Literal, "abc");
  EXPECT_EQ(ParseFieldValue("TEXT,STRING,0,0,LEFT,\"")->Literal, "");
  EXPECT_EQ(ParseFieldValue("TEXT,STRING,0,0,left, x, y ")->Literal, "x, y");
  EXPECT_EQ(ParseFieldValue("NAME2,string,3,0,right,-")->Literal, "-");
  EXPECT_TRUE(ParseFieldValue("NAME2,string,3,0,right,-")->RightAligned);
}

TEST(SampleFormatsTest, SampleFileLoads) {
  TFormatDefinitions definitions;
  ASSERT_TRUE(definitions.Load(PELIXO_SOURCE_DIR "/samples/Formats.ini"));
  ASSERT_GE(definitions.Count(), 4);
  const TFormatDefinition& das = definitions[definitions.Count() - 1];
  EXPECT_EQ(das.Name, "DAS4");
  EXPECT_FALSE(das.Upload);
  EXPECT_EQ(das.Fields.Count(), 0);
}

}  // namespace
}  // namespace pelixo
