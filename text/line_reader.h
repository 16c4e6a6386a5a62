// One reader of the lines of a whole text, under the line rules of the part
// that reads it. Lines are views into the text; nothing is copied.
#ifndef TEXT_LINE_READER_H_
#define TEXT_LINE_READER_H_

#include <cstddef>
#include <cstring>
#include <string_view>

namespace text {

struct LineRules {
  // The text ends at the first of these bytes.
  char text_end = '\0';
  // A CR alone ends a line too; otherwise only a CR just before the line
  // feed is dropped and every other one stays in the line.
  bool lone_cr_ends_line = false;
  // A longer line comes as pieces of this many characters (reading a line
  // into a buffer of one more byte does that: a line of exactly this length
  // is followed by an empty one).
  size_t piece = std::string_view::npos;
  // Of each line (or piece) only this many characters are given; the rest
  // is passed over.
  size_t keep = std::string_view::npos;
  // A NUL ends the text of its line (the line still ends at its line feed).
  bool nul_ends_line = false;
};

// Pelixo's: CR LF, LF or a lone CR end a line; a NUL ends the text.
inline constexpr LineRules kPelixoLines{.text_end = '\0', .lone_cr_ends_line = true};

// The library's files in Windows text mode: CR LF or LF end a line, a
// Ctrl-Z ends the text, and every field of a DC record lies within the first
// 256 characters.
inline constexpr LineRules kLibraryLines{.text_end = '\x1a', .keep = 256};

// A coordinate file as the library reads it: text mode, and a line read into
// a buffer of 321 bytes, so that a longer one comes in pieces of 320
// characters; a NUL ends the text of a line.
inline constexpr LineRules kCoordinateFileLines{
    .text_end = '\x1a', .piece = 320, .nul_ends_line = true};

template <const LineRules& kRules>
class LineReader {
 public:
  explicit LineReader(std::string_view text) {
    if (text.empty()) return;  // its data may be null, which memchr must not see
    at_ = text.data();
    end_ = at_ + text.size();
    feed_ = checked_ = at_;
  }

  // The next line, a view into the text without its line end; false after
  // the last one. A final line end does not make an empty last line.
  bool Next(std::string_view* line) {
    if (at_ == end_) return false;
    // The line feed at or after at_ (or end_) is looked for once, however
    // many pieces or lone CRs come before it.
    if (feed_ < at_) feed_ = at_;
    if (feed_ != end_ && *feed_ != '\n') {
      const void* found = std::memchr(feed_, '\n', static_cast<size_t>(end_ - feed_));
      feed_ = found != nullptr ? static_cast<const char*>(found) : end_;
    }
    // The end of the text is looked for line by line, in bytes just read:
    // no pass of its own over a large text.
    if (checked_ < feed_) {
      const char* const from = checked_ > at_ ? checked_ : at_;
      if (const void* stop = std::memchr(from, kRules.text_end, static_cast<size_t>(feed_ - from))) {
        end_ = feed_ = static_cast<const char*>(stop);
        if (at_ == end_) return false;
      }
      checked_ = feed_;
    }
    const char* stop = feed_;  // the end of the line's text
    const char* next = feed_ == end_ ? end_ : feed_ + 1;
    if constexpr (kRules.lone_cr_ends_line) {
      if (const void* cr = std::memchr(at_, '\r', static_cast<size_t>(feed_ - at_))) {
        stop = static_cast<const char*>(cr);
        if (stop + 1 != feed_) next = stop + 1;  // a lone CR
      }
    } else if (feed_ != end_ && stop != at_ && stop[-1] == '\r') {
      --stop;
    }
    size_t length = static_cast<size_t>(stop - at_);
    if (length >= kRules.piece || (feed_ == end_ && kRules.piece != std::string_view::npos)) {
      if (length > kRules.piece) length = kRules.piece;
      next = at_ + length;
    }
    std::string_view found(at_, length < kRules.keep ? length : kRules.keep);
    if constexpr (kRules.nul_ends_line) found = found.substr(0, found.find('\0'));
    *line = found;
    at_ = next;
    return true;
  }

 private:
  const char* at_ = nullptr;
  const char* end_ = nullptr;
  const char* feed_ = nullptr;
  // The text before this holds no text_end byte.
  const char* checked_ = nullptr;
};

}  // namespace text

#endif  // TEXT_LINE_READER_H_
