#include "platform/process.h"

namespace platform {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  size_t i = 0;
  // Blanks before the program name are skipped, as the system does when it
  // starts a program from the line.
  while (i < line.size() && IsSpace(line[i])) ++i;
  if (i == line.size()) return args;

  // The program name: up to the next quote when it starts with one, else up
  // to the next blank; backslashes are plain characters in it.
  std::string program;
  if (line[i] == '"') {
    ++i;
    while (i < line.size() && line[i] != '"') program += line[i++];
    if (i < line.size()) ++i;  // the closing quote
  } else {
    while (i < line.size() && !IsSpace(line[i])) program += line[i++];
  }
  args.push_back(std::move(program));
  while (i < line.size() && IsSpace(line[i])) ++i;

  // The arguments: 2n backslashes before a quote give n backslashes and the
  // quote toggles quoting; 2n+1 give n backslashes and a literal quote.
  // Inside quotes, a doubled quote is a literal quote.
  std::string arg;
  bool have_arg = false;
  int quotes = 0;  // quote state as the system counts it: 0 outside
  size_t backslashes = 0;
  while (i < line.size()) {
    char c = line[i];
    if (IsSpace(c) && quotes == 0) {
      args.push_back(std::move(arg));
      arg.clear();
      have_arg = false;
      while (i < line.size() && IsSpace(line[i])) ++i;
      backslashes = 0;
      continue;
    }
    have_arg = true;
    if (c == '\\') {
      arg += c;
      ++backslashes;
      ++i;
    } else if (c == '"') {
      if (backslashes % 2 == 0) {
        arg.resize(arg.size() - backslashes / 2);
        ++quotes;
      } else {
        arg.resize(arg.size() - backslashes / 2 - 1);
        arg += '"';
      }
      ++i;
      backslashes = 0;
      while (i < line.size() && line[i] == '"') {
        if (++quotes == 3) {
          arg += '"';
          quotes = 0;
        }
        ++i;
      }
      if (quotes == 2) quotes = 0;
    } else {
      arg += c;
      backslashes = 0;
      ++i;
    }
  }
  if (have_arg) args.push_back(std::move(arg));
  return args;
}

}  // namespace platform
