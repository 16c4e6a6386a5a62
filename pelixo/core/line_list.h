// Text lines kept as one text, each followed by CR LF: a job of a million
// records costs a few allocations instead of a million, and the whole text
// is written to a file in one piece.
#ifndef PELIXO_CORE_LINE_LIST_H_
#define PELIXO_CORE_LINE_LIST_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/memory.h"

namespace pelixo {

class LineList {
 public:
  void push_back(std::string_view line) {
    text_.append(line);
    text_ += "\r\n";
  }
  // Builds a line in place: `build(text)` appends the line's characters to
  // the end of `text` (and must not touch what is before).
  template <typename Build>
  void AppendBuilt(Build&& build) {
    build(text_);
    text_ += "\r\n";
  }

  void reserve(size_t characters) { platform::ReserveLarge(text_, characters); }
  void clear() { text_.clear(); }

  // Every line with its CR LF, ready for a file.
  std::string_view text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace pelixo

#endif  // PELIXO_CORE_LINE_LIST_H_
