#pragma once
// Whole-file reading and writing for configuration files. A file is replaced only when
// its new contents were completely written and flushed to disk: the contents go to a
// temporary file ("." + name + "." + six characters) in the same folder, which is then
// renamed over the old one, so a full disk or a crash mid-save leaves the old file as it
// was, never a partial one.
//
// What a name points to is respected: a symbolic link stays a link and the file it names
// gets the new contents; a device, pipe, socket or folder is refused before anything is
// written; the file keeps its permissions. A file with more than one hard link, or owned
// by another user, is rewritten in place (after the temporary copy was complete on
// disk), so every name of it sees the new contents and its owner stays; only that case
// gives up the all-or-nothing replacement, and if it fails midway the new contents are
// kept beside it as name + ".unsaved". Temporary files left by a save that was killed
// are removed by the next save of the same file.
//
// The system calls behind these live in platform/Files (POSIX and Windows); on Windows a
// reparse point (symbolic link, junction) at the name is refused instead of followed, and
// the file keeps its attributes.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace q5::config {

// The low-level write the saver uses (the system's write() by default); tests put a
// failing one in.
using WriteFunction = platform::WriteFunction;

// Writes contents to path atomically. On failure returns false, error holds a sentence
// naming the file and the system's reason, and any old file at path is untouched.
bool WriteFileAtomically(const std::string& path, std::string_view contents, std::string& error,
                         const WriteFunction& writeFn = {});

// Removes the temporary files of earlier saves of target that were killed mid-save
// (ones no running save holds a lock on).
void RemoveStaleTemporaries(const std::string& target);

// Reads the whole file; anything but a regular file is refused. On failure returns false with error naming the file and reason.
// A file larger than maxBytes is refused (a configuration file is a few kilobytes; a
// wrong choice in the file dialog must not fill the memory).
bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error,
                   std::size_t maxBytes = 4u << 20);

// Creates the folder when it does not exist. False with error on failure.
bool EnsureFolder(const std::string& path, std::string& error);

// Creates the folder and every missing folder above it. False with error on failure.
bool EnsureFolderPath(const std::string& path, std::string& error);

}  // namespace q5::config
