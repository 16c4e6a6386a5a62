#include "danvora/text_file.h"

#include <cstring>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace danvora {

platform::Expected<TextOutput> TextOutput::Create(const std::string& path) {
  auto out = platform::FileOutput::Create(path);
  if (!out) return out.error();
  return TextOutput(std::move(*out));
}

void TextOutput::Write(std::string_view text) {
  while (!text.empty()) {
    const void* found = std::memchr(text.data(), '\n', text.size());
    if (!found) {
      out_.Write(text);
      return;
    }
    const size_t run =
        static_cast<size_t>(static_cast<const char*>(found) - text.data());
    out_.Write(text.substr(0, run));
    out_.Write("\r\n");
    text.remove_prefix(run + 1);
  }
}

namespace {

// Moves the file at `path` aside, under a name beside it that no file has;
// returns that name, or empty when it cannot be moved.
std::string MoveAside(const std::string& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string aside = path + ".old";
    if (attempt > 0) aside += std::to_string(attempt);
    if (platform::RenameNoReplace(path, aside)) return aside;
    if (!platform::FileExists(aside) && !platform::DirectoryExists(aside)) {
      break;  // not a name taken: the file cannot be moved
    }
  }
  return {};
}

}  // namespace

const TextOutput* CommitTogether(std::initializer_list<TextOutput*> outputs) {
  for (TextOutput* output : outputs) {
    if (output && !output->Prepare()) return output;
  }
  // The targets replaced so far, each with its old content moved aside
  // (empty when there was none): put back when a later target cannot be
  // replaced, dropped when all were.
  struct Replaced {
    const std::string* target;
    std::string old_content;
  };
  std::vector<Replaced> replaced;
  auto put_back = [&replaced] {
    for (auto it = replaced.rbegin(); it != replaced.rend(); ++it) {
      (void)platform::RemoveFile(*it->target);
      if (!it->old_content.empty()) {
        (void)platform::RenameNoReplace(it->old_content, *it->target);
      }
    }
  };
  const TextOutput* last = nullptr;
  for (TextOutput* output : outputs) {
    if (output) last = output;
  }
  for (TextOutput* output : outputs) {
    if (!output) continue;
    const std::string& target = output->path();
    // The last target replaced needs no way back: nothing can fail after it.
    std::string old_content;
    if (output != last && platform::FileExists(target)) {
      old_content = MoveAside(target);
      if (old_content.empty()) {
        put_back();
        return output;
      }
    }
    if (!output->Commit()) {
      if (!old_content.empty()) {
        (void)platform::RenameNoReplace(old_content, target);
      }
      put_back();
      return output;
    }
    replaced.push_back(Replaced{&target, std::move(old_content)});
  }
  for (const Replaced& done : replaced) {
    if (!done.old_content.empty()) (void)platform::RemoveFile(done.old_content);
  }
  return nullptr;
}

}  // namespace danvora
