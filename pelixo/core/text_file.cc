#include "pelixo/core/text_file.h"

#include <utility>

#include "pelixo/core/text.h"
#include "platform/file_output.h"
#include "platform/files.h"

namespace pelixo {

platform::Expected<TextFile> TextFile::Read(const std::string& path) {
  platform::Expected<std::string> content = platform::ReadWholeFile(path);
  if (!content) return content.error();
  return FromText(std::move(*content));
}

TextFile TextFile::FromText(std::string text) {
  TextFile file;
  file.content_ = std::make_unique<std::string>(std::move(text));
  file.lines_ = SplitLines(*file.content_);
  return file;
}

platform::Status WriteTextLines(const std::string& path, const LineList& lines) {
  return platform::WriteWholeFile(path, lines.text());
}

}  // namespace pelixo
