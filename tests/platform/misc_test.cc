#include <gtest/gtest.h>

#include <string>

#include "platform/dynamic_library.h"
#include "platform/locale.h"
#include "platform/message_box.h"
#include "tests/platform/test_support.h"

namespace {

using namespace platform;

TEST(MessageBoxTest, PrintsOnStderrInAutomatedRuns) {
  tests_support::ScopedEnv boxes("PELIXO_BOXES", "stderr");
  EXPECT_TRUE(BoxesPrintToStderr());
  ::testing::internal::CaptureStderr();
  ShowMessageBox("Corvane Syncrona has not been registered correctly.", "Pelixo",
                 BoxIcon::kInformation);
  ShowMessageBox("Error running front.exe -UP", "Error", BoxIcon::kError);
  std::string printed = ::testing::internal::GetCapturedStderr();
#ifdef _WIN32
  // stderr is a text stream there: its line feeds become CR LF.
  for (size_t at; (at = printed.find("\r\n")) != std::string::npos;) printed.erase(at, 1);
#endif
  EXPECT_EQ(printed,
            "Corvane Syncrona has not been registered correctly.\n"
            "Error running front.exe -UP\n");
}

#ifdef _WIN32
TEST(MessageBoxTest, LibraryAlertsSwitchToo) {
  tests_support::ScopedEnv boxes("PELIXO_BOXES", "");
  tests_support::ScopedEnv alerts("DANVORA_ALERTS", "stderr");
  EXPECT_TRUE(BoxesPrintToStderr());
}
#endif

TEST(LocaleTest, SeparatorOverrideAndMonthNames) {
  {
    tests_support::ScopedEnv comma("PELIXO_DECIMAL_SEPARATOR", ",");
    EXPECT_EQ(LocaleDecimalSeparator(), ',');
  }
  {
    tests_support::ScopedEnv none("PELIXO_DECIMAL_SEPARATOR", "");
    char separator = LocaleDecimalSeparator();
    EXPECT_TRUE(separator == '.' || separator == ',') << separator;
  }
  for (int month = 1; month <= 12; ++month) {
    EXPECT_FALSE(LocaleShortMonthName(month).empty()) << month;
  }
  EXPECT_EQ(LocaleShortMonthName(0), "");
  EXPECT_EQ(LocaleShortMonthName(13), "");
#ifndef _WIN32
  // Without a locale in the environment: the C locale's names.
  tests_support::ScopedEnv all("LC_ALL", "C");
  EXPECT_EQ(LocaleDecimalSeparator(), '.');
  EXPECT_EQ(LocaleShortMonthName(1), "Jan");
  EXPECT_EQ(LocaleShortMonthName(12), "Dec");
#endif
}

TEST(LocaleTest, OwnWordsFollowTheLocalesEncoding) {
  const std::string words = "Kunne ikke \xE5" "bne \x80 \xC6\xD8\xC5";
#ifdef _WIN32
  EXPECT_EQ(OwnWords(words), words);  // the ANSI code page's bytes
#else
  {
    tests_support::ScopedEnv all("LC_ALL", "C.UTF-8");
    EXPECT_EQ(OwnWords(words), "Kunne ikke \xC3\xA5" "bne \xE2\x82\xAC \xC3\x86\xC3\x98\xC3\x85");
  }
  {
    tests_support::ScopedEnv all("LC_ALL", "C");  // as always
    EXPECT_EQ(OwnWords(words), words);
  }
  {
    tests_support::ScopedEnv all("LC_ALL", "no_such_locale.UTF-8");
    EXPECT_EQ(OwnWords(words), words);
  }
#endif
}

TEST(LocaleTest, LocalTimeIsPlausible) {
  LocalTime t = CurrentLocalTime();
  EXPECT_GE(t.year, 2020);
  EXPECT_GE(t.month, 1);
  EXPECT_LE(t.month, 12);
  EXPECT_GE(t.day, 1);
  EXPECT_LE(t.day, 31);
  EXPECT_LE(t.hour, 23);
  EXPECT_LE(t.minute, 59);
  EXPECT_LE(t.second, 60);
}

TEST(DynamicLibraryTest, LoadsEntriesByName) {
  Expected<DynamicLibrary> missing = DynamicLibrary::Load("no-such-library-here.dll");
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.error().message().find("no-such-library-here.dll"), std::string::npos);
  EXPECT_FALSE(DynamicLibrary::LoadResourcesOnly("no-such-library-here.dll"));

#ifdef _WIN32
  Expected<DynamicLibrary> library = DynamicLibrary::Load("kernel32.dll");
  const char* entry = "GetTickCount";
#else
  Expected<DynamicLibrary> library = DynamicLibrary::Load("libc.so.6");
  const char* entry = "strlen";
#endif
  ASSERT_TRUE(library) << library.error().message();
  EXPECT_TRUE(library->loaded());
  EXPECT_NE(library->Symbol(entry), nullptr);
  EXPECT_EQ(library->Symbol("NoSuchEntryAnywhere"), nullptr);
  EXPECT_EQ(library->LoadString(65000, 100), "");

  DynamicLibrary moved = std::move(*library);
  EXPECT_TRUE(moved.loaded());
  EXPECT_FALSE(library->loaded());
  DynamicLibrary empty;
  EXPECT_FALSE(empty.loaded());
  EXPECT_EQ(empty.Symbol(entry), nullptr);
  EXPECT_EQ(empty.LoadString(1, 10), "");

  EXPECT_EQ(LibraryFileName("Danvora.dll", "libdanvora.so"),
#ifdef _WIN32
            "Danvora.dll");
#else
            "libdanvora.so");
#endif
}

}  // namespace
