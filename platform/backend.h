// What the shared code of the platform layer asks of each backend. Only the
// files of platform/ include this header.
#ifndef PLATFORM_BACKEND_H_
#define PLATFORM_BACKEND_H_

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/error.h"

namespace platform::backend {

// Creates `path` for binary writing; fails when it exists already.
std::FILE* CreateNewFile(const std::string& path);

// Creates `path` for binary writing (failing when it exists already) as a
// file the system removes by itself should the process end before KeepFile:
// on Linux an unnamed file in the folder of `path`, on Windows a file marked
// for deletion. nullptr where the system or the file system cannot; then the
// writer falls back to CreateNewFile.
std::FILE* CreateSelfRemovingFile(const std::string& path);

// Makes a file of CreateSelfRemovingFile permanent under `path`, after its
// last write and before it is closed. On Linux `path` must be new:
// `*name_taken` tells that another file took it meanwhile.
Status KeepFile(std::FILE* file, const std::string& path, bool* name_taken);

// Removes the temporary files of the interrupt table (interrupt.cc); only
// the interrupt handler calls it.
void RemoveTableFiles();
// Removes one file; safe in an interrupt handler.
void RemoveFileFromHandler(const char* path);

// The system's descriptor of `file`, for SyncWritten.
int FileDescriptor(std::FILE* file);
// Pushes what was written so far to the file of `descriptor` to the disk:
// before the rename, so that it never exposes a half-written file after a
// crash, and on another thread while a large file is still being written
// (the stream and its buffer are not touched), so that the last sync has
// little left to wait for. An empty text, or why it failed.
std::string SyncWritten(int descriptor);

// Creates the one folder `path` below an existing one; a folder that is
// there already, or a drive or share root, is no failure.
Status MakeDirectory(const std::string& path);

// Moves `from` over `to`, replacing `to` in one step.
Status MoveOver(const std::string& from, const std::string& to);

// The text of the last system error (errno or GetLastError).
std::string LastErrorText();

// The value of an environment variable; empty when unset.
std::string GetEnv(const char* name);

// What a profile lookup gives for an absent value: `default_value` as the
// profile functions return it.
std::string ProfileDefault(const std::string& default_value);

// The decimal separator of the user's locale.
char SystemDecimalSeparator();
// The user's locale's short name of `month` (1 to 12); empty when it has none.
std::string SystemShortMonthName(int month);

// The current folder; empty when it cannot be had.
std::string CurrentDirectory();

// Prints the text of a message box on stderr, followed by a line feed.
void PrintBox(const std::string& text);

}  // namespace platform::backend

#endif  // PLATFORM_BACKEND_H_
