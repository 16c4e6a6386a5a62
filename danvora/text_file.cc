#include "danvora/text_file.h"

#include <algorithm>
#include <utility>

namespace danvora {

std::optional<TextFileReader> TextFileReader::Open(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  return TextFileReader(file);
}

TextFileReader::TextFileReader(TextFileReader&& other) noexcept {
  *this = std::move(other);
}

TextFileReader& TextFileReader::operator=(TextFileReader&& other) noexcept {
  if (this != &other) {
    if (file_) std::fclose(file_);
    file_ = std::exchange(other.file_, nullptr);
    size_ = std::exchange(other.size_, 0);
    pos_ = std::exchange(other.pos_, 0);
    std::copy(other.buffer_ + pos_, other.buffer_ + size_, buffer_ + pos_);
    ended_ = other.ended_;
    failed_ = other.failed_;
  }
  return *this;
}

TextFileReader::~TextFileReader() {
  if (file_) std::fclose(file_);
}

int TextFileReader::Raw() {
  if (ended_) return -1;
  if (pos_ == size_) {
    size_ = file_ ? std::fread(buffer_, 1, sizeof buffer_, file_) : 0;
    pos_ = 0;
    if (size_ == 0) {
      if (file_ && std::ferror(file_)) failed_ = true;
      ended_ = true;
      return -1;
    }
  }
  const int c = static_cast<unsigned char>(buffer_[pos_++]);
  // Ctrl-Z ends a file read in text mode.
  if (c == 0x1A) {
    ended_ = true;
    return -1;
  }
  return c;
}

int TextFileReader::Get() {
  const int c = Raw();
  if (c != '\r') return c;
  if (ended_) return c;
  // Peek: a CR before LF is dropped, any other CR stays.
  if (pos_ == size_) {
    const int next = Raw();
    if (next == '\n') return '\n';
    if (next >= 0) {
      // Raw() refilled the buffer and took its first byte: give it back.
      --pos_;
    }
    return '\r';
  }
  if (buffer_[pos_] == '\n') {
    ++pos_;
    return '\n';
  }
  return '\r';
}

bool TextFileReader::ReadLine(std::string* line, size_t keep) {
  line->clear();
  int c = Get();
  if (c < 0) return false;
  while (c >= 0 && c != '\n') {
    if (line->size() < keep) line->push_back(static_cast<char>(c));
    c = Get();
  }
  return true;
}

platform::Expected<TextOutput> TextOutput::Create(const std::string& path) {
  auto out = platform::FileOutput::Create(path);
  if (!out) return out.error();
  return TextOutput(std::move(*out));
}

void TextOutput::Write(std::string_view text) {
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    out_.Write(text.substr(start, i - start));
    out_.Write("\r\n");
    start = i + 1;
  }
  out_.Write(text.substr(start));
}

}  // namespace danvora
