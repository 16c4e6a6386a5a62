// A text file read whole and split into lines (CR LF, LF or a lone CR; a NUL
// ends the text). The lines are views into the file's content, which the
// object owns, so a file of a million lines costs one allocation for the
// text and one for the list.
#ifndef PELIXO_CORE_TEXT_FILE_H_
#define PELIXO_CORE_TEXT_FILE_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"
#include "platform/file_content.h"

namespace pelixo {

class TextFile {
 public:
  static platform::Expected<TextFile> Read(const std::string& path);
  static TextFile FromText(std::string text);

  const std::vector<std::string_view>& lines() const { return lines_; }
  size_t size() const { return lines_.size(); }

 private:
  explicit TextFile(platform::FileContent content);

  platform::FileContent content_;
  std::vector<std::string_view> lines_;
};

}  // namespace pelixo

#endif  // PELIXO_CORE_TEXT_FILE_H_
