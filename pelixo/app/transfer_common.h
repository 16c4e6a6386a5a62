// What the send and the receive path share: the mapping of a format list
// position to a definition, the file dialog of a definition, the registry hand-over of the transfer's file
// names to external programs, and the temporary directory.
#ifndef PELIXO_APP_TRANSFER_COMMON_H_
#define PELIXO_APP_TRANSFER_COMMON_H_

#include <string>

#include "pelixo/app/user_interface.h"
#include "pelixo/core/format_definitions.h"
#include "platform/error.h"

namespace pelixo {

// Each format list shows the definitions of one direction in file order.
// Gives the index in the file of the one at `combo_index` of the list for
// `upload`; 0 (the file's first definition, whatever its direction) when
// there is none there (no selection, or beyond the list).
int DefinitionIndex(const TFormatDefinitions& definitions, bool upload,
                    int combo_index);

// The file dialog for the files of `definition`: its description as the
// title and the filter's name, its extension as the filter's and the default.
FileDialogRequest DefinitionFileDialog(const TFormatDefinition& definition);

// How a file name is handed over: a path the user chose (or gave on the
// command line) as a full path, the proposed name of a cancelled save
// dialog as it stands.
enum class HandOver { kFullPath, kAsGiven };

// Writes `path` to the value `name` (UploadFile, DownloadFile, ReceivedFile)
// under Pelixo's key, creating the key if needed. An external program must
// not run on a value that could not be stored: the error says "Cannot store
// <name> in the settings: <why>".
platform::Status StoreTransferFileName(const char* name, const std::string& path,
                                       HandOver how = HandOver::kFullPath);

// ReceivedFile names the DC file of the export for the life of the object,
// while its external program runs, and is the empty text again afterwards,
// however that run ends.
class ReceivedFileHandOver {
 public:
  ReceivedFileHandOver() = default;
  ~ReceivedFileHandOver();
  ReceivedFileHandOver(const ReceivedFileHandOver&) = delete;
  ReceivedFileHandOver& operator=(const ReceivedFileHandOver&) = delete;

  platform::Status Store(const std::string& dc_path);

 private:
  bool stored_ = false;
};

// The system's temporary directory, with a trailing separator.
std::string GetTempDirectory();

}  // namespace pelixo

#endif  // PELIXO_APP_TRANSFER_COMMON_H_
