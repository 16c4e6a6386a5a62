#include "pelixo/app/user_texts.h"

#include <gtest/gtest.h>

namespace pelixo {
namespace {

TEST(UserTextsTest, OwnTableWithoutTextLibrary) {
  TUserTexts texts;
  texts.LoadTextLibrary(PELIXO_TEST_DATA "/no_such_folder/");
  EXPECT_FALSE(texts.HasTextLibrary());
  EXPECT_EQ(texts.GetUserText(20000), "A job name must be specified for the converted data");
  EXPECT_EQ(texts.GetUserText(20003), "Terrapad DC Files|*.DC");
  EXPECT_EQ(texts.GetUserText(20044), "No file formats specified - Formats.ini file required");
  EXPECT_EQ(texts.GetUserText(20006), "");
  for (int id = 20000; id <= 20044; ++id) {
    bool unused = id == 20006 || id == 20011 || id == 20020;
    EXPECT_EQ(texts.GetUserText(id).empty(), unused) << id;
  }
}

#ifdef _WIN32
TEST(UserTextsTest, TextLibraryOverridesAndFallsBack) {
  TUserTexts texts;
  texts.LoadTextLibrary(PELIXO_BIN_DIR "/xelidor/");
  ASSERT_TRUE(texts.HasTextLibrary());
  EXPECT_EQ(texts.GetUserText(20007), "Pelixo (stand-in texts)");
  EXPECT_EQ(texts.GetUserText(20016), "Close window");
  // Empty in the library, and absent from it: the program's own texts.
  EXPECT_EQ(texts.GetUserText(20017), "Options...");
  EXPECT_EQ(texts.GetUserText(20018), "Send...");
}
#endif

}  // namespace
}  // namespace pelixo
