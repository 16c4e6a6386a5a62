// What the send and the receive path share: the mapping of a format list
// position to a definition, the registry hand-over of the transfer's file
// names to external programs, and the temporary directory.
#ifndef PELIXO_APP_TRANSFER_COMMON_H_
#define PELIXO_APP_TRANSFER_COMMON_H_

#include <string>

#include "pelixo/core/format_definitions.h"

namespace pelixo {

// Each format list shows the definitions of one direction in file order.
// Gives the index in the file of the one at `combo_index` of the list for
// `upload`; 0 (the file's first definition, whatever its direction) when
// there is none there (no selection, or beyond the list).
int DefinitionIndex(const TFormatDefinitions& definitions, bool upload,
                    int combo_index);

// Writes `path` to UploadFile (upload) or DownloadFile under Pelixo's key,
// creating the key if needed. Nothing is reported when that fails.
void StoreTransferFileName(bool upload, const std::string& path);

// The system's temporary directory, with a trailing separator.
std::string GetTempDirectory();

}  // namespace pelixo

#endif  // PELIXO_APP_TRANSFER_COMMON_H_
