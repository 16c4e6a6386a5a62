#include "danvora-frontend/frontend.h"

#include <cstdint>
#include <random>
#include <utility>

#include "danvora-frontend/library.h"
#include "danvora/interface.h"
#include "platform/file_output.h"
#include "platform/locale.h"
#include "platform/message_box.h"
#include "platform/path.h"
#include "platform/registry.h"
#include "text/ascii.h"
#include "text/format.h"

namespace danvora_frontend {
namespace {

constexpr char kPelixoKey[] = "Software\\Corvane\\Pelixo";

void Tell(const std::string& text) {
  platform::ShowMessageBox(text, "Danvora", platform::BoxIcon::kNone);
}

bool Contains(std::string_view text, std::string_view option) {
  return text::FindIgnoreCase(text, option) != std::string_view::npos;
}

std::string IniPath() {
  return platform::ExecutableDirectory() + "Formats.ini";
}

// The DC job of this receive: the one Pelixo names in ReceivedFile (with
// several jobs received at once, the newest file would be the last job for
// every one of them); from anything else that starts the front end, the
// newest DC file of the temporary folder.
std::optional<std::string> ReceivedDcFile() {
  const std::string received = ReadPelixoSetting("ReceivedFile");
  if (!received.empty() && platform::FileExists(received)) return received;
  const std::string temp = platform::TempDirectory();
  std::optional<std::string> name =
      NewestDcFile(platform::FindFiles(temp, "*.dc"));
  if (!name) return std::nullopt;
  return temp + *name;
}

// Receive: the DC job Pelixo has just fetched becomes the Danish point file
// at DownloadFile (and the report beside it).
int RunReceive(const CommandLineOptions& options, DanvoraLibrary& library) {
  const std::string download = ReadPelixoSetting("DownloadFile");
  const std::string folder = platform::FolderOf(download);
  const std::string report =
      options.report ? folder + platform::StemToFirstDot(download) + ".qa" : " ";

  std::optional<std::string> dc_file = ReceivedDcFile();
  if (!dc_file) {
    // Without a job there is nothing to translate.
    Tell(platform::OwnWords("Kunne ikke finde Dc filen"));
    return 1;
  }

  if (options.keep_dc) {
    // An earlier copy of the same job is replaced.
    const std::string copy = folder + platform::FileNameOf(*dc_file);
    platform::Expected<std::string> bytes = platform::ReadWholeFile(*dc_file);
    if (!bytes || !platform::WriteWholeFile(copy, *bytes)) {
      Tell(platform::OwnWords("Kunne ikke kopiere ") + *dc_file + platform::OwnWords(" til ") + copy);
      return 1;
    }
  }

  platform::Expected<int16_t> result =
      library.Dctrans(*dc_file, download, report, options.format, " ", IniPath());
  if (!result) {
    Tell(result.error().message());
    return 1;
  }
  return *result == danvora::kRefused ? 1 : 0;
}

// A file of the front end's own, removed again unless it is kept.
class OwnFile {
 public:
  explicit OwnFile(std::string path) : path_(std::move(path)) {}
  ~OwnFile() {
    if (!path_.empty()) (void)platform::RemoveFile(path_);
  }
  OwnFile(const OwnFile&) = delete;
  OwnFile& operator=(const OwnFile&) = delete;

  const std::string& path() const { return path_; }
  void Keep() { path_.clear(); }

 private:
  std::string path_;
};

// A name `stem` + ".<8 hex digits>.csv" that no file has, taken by an empty
// file made without replacing anything, so that nothing else can take it
// before the conversion is written there.
platform::Expected<std::string> TakeFreshCsvName(const std::string& stem) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = stem + text::Format(".%08x.csv", static_cast<unsigned>(random()));
    if (platform::FileExists(path) || platform::DirectoryExists(path)) continue;
    platform::Expected<platform::FileOutput> out =
        platform::FileOutput::Create(path);
    if (!out) return out.error();
    platform::Status made = out->CommitNoReplace();
    if (made) return path;
    // Taken meanwhile: try another name; any other failure is final.
    if (!platform::FileExists(path)) return made.error();
  }
  return platform::Error("No free name for " + stem + ".csv");
}

// Send: the chosen coordinate file is converted under a fresh name beside
// it, kept as ".org", and the converted points take its name. No step
// replaces a file, and when one fails every file is as it was: a user's
// own file named like the conversion ("P.csv" beside "P.kor") included.
int RunSend(const CommandLineOptions& options, DanvoraLibrary& library) {
  const std::string upload = ReadPelixoSetting("UploadFile");
  const int sign =
      ReadPelixoSetting("CoordSysFile").find("-XY") != std::string::npos ? -1
                                                                         : 1;
  platform::Expected<std::string> fresh =
      TakeFreshCsvName(platform::FolderOf(upload) + platform::StemToFirstDot(upload));
  if (!fresh) {
    Tell(platform::OwnWords("Kunne ikke skrive i ") + platform::FolderOf(upload));
    return 1;
  }
  OwnFile converted(*fresh);

  platform::Expected<int16_t> result =
      library.Koordles(upload, converted.path(), options.format, sign);
  if (!result) {
    Tell(result.error().message());
    return 1;
  }
  if (*result == danvora::kRefused) return 1;  // the library has told why

  const std::string backup = upload + ".org";
  if (!platform::RenameNoReplace(upload, backup)) {
    Tell(platform::OwnWords("Kunne ikke omd\xf8" "be ") + upload + platform::OwnWords(" til ") + backup);
    return 1;
  }
  if (!platform::RenameNoReplace(converted.path(), upload)) {
    std::string text =
        platform::OwnWords("Kunne ikke omd\xf8" "be ") + converted.path() +
        platform::OwnWords(" til ") + upload;
    if (!platform::RenameNoReplace(backup, upload)) {
      text += "\n" + upload + " ligger som " + backup;
    }
    Tell(text);
    return 1;
  }
  converted.Keep();
  return 0;
}

}  // namespace

CommandLineOptions ParseCommandLine(std::string_view command_line) {
  CommandLineOptions options;
  constexpr std::string_view kFormatOption = "-Format=";
  size_t at = text::FindIgnoreCase(command_line, kFormatOption);
  if (at != std::string_view::npos) {
    // To the next blank, or to the end when none follows (npos - start).
    const size_t start = at + kFormatOption.size();
    options.format = FormatNumberForName(
        command_line.substr(start, command_line.find(' ', start) - start));
  }
  options.report = Contains(command_line, "-QA");
  options.keep_dc = Contains(command_line, "-DC");
  options.upload = Contains(command_line, "-UP");
  return options;
}

int FormatNumberForName(std::string_view name) {
  static constexpr std::string_view kNames[] = {
      "KX77", "SDL", "LANDCAD", "GEOCAD", "ALT", "ARGUS",
      "COWI", "CSV", "SVK",     "DAS4",   "DDH"};
  for (size_t i = 0; i < std::size(kNames); ++i) {
    if (name == kNames[i]) return static_cast<int>(i);
  }
  return 0;
}

std::optional<std::string> NewestDcFile(
    const std::vector<platform::FileEntry>& entries) {
  const platform::FileEntry* taken = nullptr;
  for (const platform::FileEntry& entry : entries) {
    // A link, FIFO or folder named like a job is none: a link could bring
    // in a file from anywhere, a FIFO would block the read.
    if (!entry.is_regular || entry.name == "." || entry.name == "..") continue;
    if (taken == nullptr || entry.created_ns > taken->created_ns) taken = &entry;
  }
  if (taken == nullptr) return std::nullopt;
  return taken->name;
}

std::string ReadPelixoSetting(const std::string& name) {
  platform::Expected<platform::RegistryKey> key = platform::RegistryKey::Open(
      platform::RegistryRoot::kCurrentUser, kPelixoKey, /*create=*/false);
  if (!key) return "";
  std::optional<platform::RegistryValue> value = key->GetValue(name);
  if (!value) return "";
  const std::vector<uint8_t>& data = value->data;
  switch (value->type) {
    case platform::RegistryType::kString: {
      std::string text(data.begin(), data.end());
      return text.substr(0, text.find('\0'));
    }
    case platform::RegistryType::kBinary: {
      uint16_t low = data.size() > 0 ? data[0] : 0;
      uint16_t high = data.size() > 1 ? data[1] : 0;
      return std::to_string(static_cast<int16_t>(low | (high << 8)));
    }
    default:
      return "";
  }
}

int RunFrontEnd(std::string_view command_line) {
  if (command_line.empty()) {
    Tell(platform::OwnWords("Ingen kommandolinie Sn\xf8" "ft!"));
    return 1;
  }
  const CommandLineOptions options = ParseCommandLine(command_line);
  DanvoraLibrary library;
  return options.upload ? RunSend(options, library)
                        : RunReceive(options, library);
}

}  // namespace danvora_frontend
