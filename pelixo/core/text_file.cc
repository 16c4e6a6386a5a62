#include "pelixo/core/text_file.h"

#include <utility>

#include "pelixo/core/text.h"

namespace pelixo {

TextFile::TextFile(platform::FileContent content)
    : content_(std::move(content)), lines_(SplitLines(content_.bytes())) {}

platform::Expected<TextFile> TextFile::Read(const std::string& path) {
  platform::Expected<platform::FileContent> content = platform::FileContent::Read(path);
  if (!content) return content.error();
  return TextFile(std::move(*content));
}

TextFile TextFile::FromText(std::string text) {
  return TextFile(platform::FileContent(std::move(text)));
}

}  // namespace pelixo
