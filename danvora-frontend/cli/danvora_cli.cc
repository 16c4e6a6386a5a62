// danvora-cli: runs one of the library's two entries from a console, with
// the arguments as they are, for users and tests. The library is loaded
// exactly as the front end loads it; its messages go to stderr, one line
// feed after each, and the last line on stdout tells the entry's result.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "danvora-frontend/library.h"
#include "danvora/interface.h"
#include "platform/interrupt.h"
#include "platform/switches.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr char kUsage[] =
    "usage: danvora-cli dctrans DCFILE OUTFILE REPORTFILE FORMAT SEPARATORS "
    "INIFILE\n"
    "       danvora-cli koordles INFILE OUTFILE FORMAT SIGN\n"
    "FORMAT and SIGN are whole numbers from -32768 to 32767.\n";

// The library's message boxes print instead of waiting for a click; the
// library reads this when it shows a message.
void MessagesToStderr() {
#if defined(_WIN32)
  _putenv("PELIXO_BOXES=stderr");
  // Line feeds as the library writes them, not CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#else
  setenv("PELIXO_BOXES", "stderr", 1);
#endif
}

// FORMAT and SIGN as the library takes them: 16-bit numbers. A larger one
// would reach the library cut to 16 bits as another number (65536 as
// format 0), so it is refused before the library is loaded.
bool ParseLibraryNumber(const char* text, int& value) {
  errno = 0;
  char* end = nullptr;
  const long long number = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || number < INT16_MIN ||
      number > INT16_MAX) {
    return false;
  }
  value = static_cast<int>(number);
  return true;
}

int Finish(const char* entry, int16_t result) {
  std::printf("%s returned %d\n", entry, result);
  std::fflush(stdout);
  const bool translated = result == danvora::kTranslated ||
                          result == danvora::kTranslatedWithCalibration;
  return translated ? 0 : 1;
}

int Fail(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  platform::SetSwitches(danvora::DanvoraSwitches());
  platform::RemoveTemporaryFilesOnInterrupt();
  MessagesToStderr();
  const std::string entry = argc > 1 ? argv[1] : "";
  danvora_frontend::DanvoraLibrary library;
  int format = 0;
  if (entry == "dctrans" && argc == 8) {
    if (!ParseLibraryNumber(argv[5], format)) return Fail(kUsage);
    platform::Expected<int16_t> result = library.Dctrans(
        argv[2], argv[3], argv[4], format, argv[6], argv[7]);
    if (!result) return Fail(result.error().message());
    return Finish("dctrans", *result);
  }
  if (entry == "koordles" && argc == 6) {
    int sign = 0;
    if (!ParseLibraryNumber(argv[4], format) ||
        !ParseLibraryNumber(argv[5], sign)) {
      return Fail(kUsage);
    }
    platform::Expected<int16_t> result =
        library.Koordles(argv[2], argv[3], format, sign);
    if (!result) return Fail(result.error().message());
    return Finish("koordles", *result);
  }
  std::fputs(kUsage, stderr);
  return 2;
}
