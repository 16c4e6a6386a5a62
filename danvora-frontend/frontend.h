// The Danvora front end: one run between Pelixo and the library. The receive
// direction translates the DC file Pelixo has just received (ReceivedFile,
// else the newest DC file of the temporary folder) into Pelixo's
// DownloadFile with dctrans; "-UP" converts Pelixo's UploadFile with
// koordles and puts the comma-separated result in its place.
#ifndef DANVORA_FRONTEND_FRONTEND_H_
#define DANVORA_FRONTEND_FRONTEND_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace danvora_frontend {

struct CommandLineOptions {
  int format = -1;        // -1 without "-Format="
  bool report = false;    // "-QA"
  bool keep_dc = false;   // "-DC"
  bool upload = false;    // "-UP"
};

// The options anywhere in the command line after the program's own name.
CommandLineOptions ParseCommandLine(std::string_view command_line);

// The number the library knows a format name by; 0 for an unknown name.
int FormatNumberForName(std::string_view name);

// Of the "*.dc" entries, the plain file created last (the first of equal
// ones); links, FIFOs and folders are passed over.
std::optional<std::string> NewestDcFile(
    const std::vector<platform::FileEntry>& entries);

// A value of Pelixo's key as text: a string up to its first NUL, binary data
// as the decimal 16-bit number of its first two bytes, anything else empty.
std::string ReadPelixoSetting(const std::string& name);

// Runs the front end; the result is the process exit code: 0 when the work
// was done, 1 when it stopped (the user has been told why).
int RunFrontEnd(std::string_view command_line);

}  // namespace danvora_frontend

#endif  // DANVORA_FRONTEND_FRONTEND_H_
