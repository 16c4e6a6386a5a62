// A list of text lines kept in one block of memory, each followed by CR LF:
// a job of a million records costs a few allocations instead of a million,
// and the whole list is written to a file in one piece.
#ifndef PELIXO_CORE_LINE_LIST_H_
#define PELIXO_CORE_LINE_LIST_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/memory.h"

namespace pelixo {

class LineList {
 public:
  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }

  // The line without its line end.
  std::string_view operator[](size_t index) const {
    size_t begin = index == 0 ? 0 : ends_[index - 1] + 2;
    return std::string_view(text_).substr(begin, ends_[index] - begin);
  }

  void push_back(std::string_view line) {
    text_.append(line);
    EndLine();
  }
  // Builds a line in place: `build(text)` appends the line's characters to
  // the end of `text` (and must not touch what is before).
  template <typename Build>
  void AppendBuilt(Build&& build) {
    build(text_);
    EndLine();
  }

  void reserve(size_t lines, size_t characters) {
    platform::ReserveLarge(ends_, lines);
    platform::ReserveLarge(text_, characters);
  }
  void clear() {
    text_.clear();
    ends_.clear();
  }

  // Every line with its CR LF, ready for a file.
  std::string_view text() const { return text_; }
  std::vector<std::string> ToVector() const {
    std::vector<std::string> lines;
    lines.reserve(size());
    for (std::string_view line : *this) lines.emplace_back(line);
    return lines;
  }

  class Iterator {
   public:
    Iterator(const LineList& list, size_t index) : list_(&list), index_(index) {}
    std::string_view operator*() const { return (*list_)[index_]; }
    Iterator& operator++() {
      ++index_;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return index_ != other.index_; }

   private:
    const LineList* list_;
    size_t index_;
  };
  Iterator begin() const { return Iterator(*this, 0); }
  Iterator end() const { return Iterator(*this, size()); }

 private:
  void EndLine() {
    ends_.push_back(text_.size());
    text_ += "\r\n";
  }

  std::string text_;
  std::vector<size_t> ends_;  // where each line's CR LF starts
};

}  // namespace pelixo

#endif  // PELIXO_CORE_LINE_LIST_H_
