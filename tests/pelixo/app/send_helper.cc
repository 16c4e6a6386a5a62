// A stand-in for a definition's external program in the send and receive
// tests.
//   send_helper convert [WORDS...]  reads UploadFile from Pelixo's settings,
//       turns every ";" of that file into ",", and leaves the arguments it
//       got in UploadFile + ".args", one a line. It takes a moment before it
//       writes, so that a caller that did not wait would read the old file.
//   send_helper fail CODE           ends at once with exit code CODE.
//   send_helper record OUT NAME...  writes the text values NAME of Pelixo's
//       settings, as the program sees them, to OUT: "NAME=value" a line
//       ("NAME" alone when there is none).
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "pelixo/app/switches.h"
#include "platform/file_output.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/switches.h"

int main(int argc, char** argv) {
  platform::SetSwitches(pelixo::PelixoSwitches());
  if (argc >= 3 && std::strcmp(argv[1], "fail") == 0) return std::atoi(argv[2]);
  if (argc < 2) return 100;
  platform::Expected<platform::RegistryKey> key = platform::RegistryKey::Open(
      platform::RegistryRoot::kCurrentUser, "Software\\Corvane\\Pelixo", false);
  if (!key) return 101;
  if (argc >= 3 && std::strcmp(argv[1], "record") == 0) {
    std::string seen;
    for (int i = 3; i < argc; ++i) {
      std::optional<std::string> value = key->GetString(argv[i]);
      seen += std::string(argv[i]) + (value ? "=" + *value : std::string()) + "\n";
    }
    return platform::WriteWholeFile(argv[2], seen) ? 0 : 104;
  }
  if (std::strcmp(argv[1], "convert") != 0) return 100;
  std::optional<std::string> upload = key->GetString("UploadFile");
  if (!upload) return 102;
  platform::Expected<std::string> content = platform::ReadWholeFile(*upload);
  if (!content) return 103;
  std::string converted = *content;
  for (char& c : converted) {
    if (c == ';') c = ',';
  }
  std::string args;
  for (int i = 2; i < argc; ++i) args += std::string(argv[i]) + "\n";
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  if (!platform::WriteWholeFile(*upload + ".args", args)) return 104;
  if (!platform::WriteWholeFile(*upload, converted)) return 105;
  return 0;
}
