// DanvoraFrontend.exe: a Windows program without a window of its own, so
// that Pelixo can start it around a transfer without a console appearing.
// Its command line is the text after the program's own name.
#include <string>

#include "danvora-frontend/frontend.h"
#include "danvora/interface.h"
#include "platform/calling_convention.h"
#include "platform/interrupt.h"
#include "platform/switches.h"

#if defined(_WIN32)

// The runtime hands WinMain the command line without the program's name.
extern "C" int PLATFORM_STDCALL WinMain(void* /*instance*/, void* /*previous*/,
                                 char* command_line, int /*show*/) {
  platform::SetSwitches(danvora::DanvoraSwitches());
  platform::RemoveTemporaryFilesOnInterrupt();
  return danvora_frontend::RunFrontEnd(command_line != nullptr ? command_line
                                                               : "");
}

#else

int main(int argc, char** argv) {
  platform::SetSwitches(danvora::DanvoraSwitches());
  platform::RemoveTemporaryFilesOnInterrupt();
  // The arguments joined as the one command line the program works on.
  std::string command_line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_line += ' ';
    command_line += argv[i];
  }
  size_t start = 0;
  while (start < command_line.size() &&
         static_cast<unsigned char>(command_line[start]) <= ' ') {
    ++start;
  }
  return danvora_frontend::RunFrontEnd(
      std::string_view(command_line).substr(start));
}

#endif
